#pragma once
// The work behind the wizard's pages. Form1 calls one hook per page branch of
// its Next dispatcher (and a few for single controls); the hook reads the
// page's controls and WizardState through Form1 (ui(), state(), settings(),
// messages()), does the work through the core libraries and writes its results
// back. A hook that fails has already shown its own message; Form1 then makes
// no transition. The transitions, the settings of the key table, the recent
// lists and the control rules are Form1's own business.

#include <QString>
#include <expected>
#include <string>
#include <vector>

namespace orv {

class Form1;

struct StayOnPage {};
using PageResult = std::expected<void, StayOnPage>;

inline PageResult pageFailed()
{
    return std::unexpected(StayOnPage{});
}

class PageWork {
public:
    virtual ~PageWork() = default;

    // Start-up, first step: fill CharTable of the state.
    virtual void startUp(Form1& form) = 0;
    // Page 1, ordinary picture (SourceKind 0): SourcePath exists, Picture1 is
    // cleared. Load it, fill Combo3/Combo4, preselect them and Combo5 (from
    // "ColorOverride") with Form1::selectItem.
    virtual PageResult loadSourcePicture(Form1& form) = 0;
    // Page 1, ROM source (SourceKind 1): refuse a file that is no ROM of these
    // games before page 10 is shown and the file remembered.
    virtual PageResult checkRomSource(Form1& form) = 0;
    // Page 2 (also run unseen from pages 1 and 10): read the picture from the
    // ROM (SourceKind 1) or own file (SourceKind 2) into the state; for an own
    // file also choose the tile order on page 11. Form1 then enables
    // OptionButton12 and, with Check12 ticked, copies and stores page 2's choices.
    virtual PageResult extractPicture(Form1& form) = 0;
    // Page 4: TargetPath and TargetKind are set. ROM: check it, set UpDown4's
    // range and run the free-space search. Bitmap or own file: write it.
    virtual PageResult prepareTarget(Form1& form) = 0;
    // Page 6: the picture's shape for the chosen slot. A shape the game does
    // not draw whole goes on only after a Yes, which sets AnyShape; one the
    // size byte cannot describe is refused.
    virtual PageResult checkSlotShape(Form1& form) = 0;
    // Page 6 with Check11 ticked and Check8 not: fill Text8, Text9 and NameOffset.
    virtual PageResult prepareNames(Form1& form) = 0;
    // Page 8: set Palette, RawLength and PaletteText from the three lists.
    // Form1 then stores "ColorOverride" and sets the page-11 choices.
    virtual PageResult applyColourMapping(Form1& form) = 0;
    // Page 9 (also run unseen from pages 5 and 6): write into the target ROM;
    // only the data when Check4 is not ticked.
    virtual PageResult insertIntoRom(Form1& form) = 0;
    // Page 11: code the tiles, compress or wrap, decode into Picture1. Form1
    // then sets the size bits of PreviewFlags and stores the page's settings.
    virtual PageResult compressPicture(Form1& form) = 0;

    // Pages 2 and 6 on show: the names of Pokemon 1 .. 251 in the ROM at
    // romPath (with the name length of Text11), empty when it cannot be read.
    virtual std::vector<QString> pokemonNames(Form1& form, const std::string& romPath) = 0;
    // Command6, "&Search Next Offset    ".
    virtual void searchNextOffset(Form1& form) = 0;
    // Page 3 on show and each click on Picture7: show Picture1 or Picture8.
    virtual void layoutPreview(Form1& form) = 0;
};

// Until the cores are bound: every hook does the least and succeeds.
class DefaultPageWork : public PageWork {
public:
    void startUp(Form1&) override {}
    PageResult loadSourcePicture(Form1&) override { return {}; }
    PageResult checkRomSource(Form1&) override { return {}; }
    PageResult extractPicture(Form1&) override { return {}; }
    PageResult prepareTarget(Form1&) override { return {}; }
    PageResult checkSlotShape(Form1&) override { return {}; }
    PageResult prepareNames(Form1&) override { return {}; }
    PageResult applyColourMapping(Form1&) override { return {}; }
    PageResult insertIntoRom(Form1&) override { return {}; }
    PageResult compressPicture(Form1&) override { return {}; }
    std::vector<QString> pokemonNames(Form1&, const std::string&) override { return {}; }
    void searchNextOffset(Form1&) override {}
    // Shows the picture surface as it is.
    void layoutPreview(Form1& form) override;
};

} // namespace orv
