// Start-up, page 1 for an ordinary picture, and page 8's colour mapping.

#include <QComboBox>

#include "colour_swatch.h"
#include "colours.h"
#include "core_page_work.h"
#include "form1.h"
#include "game_text.h"
#include "page_work_common.h"
#include "picture_box.h"
#include "picture_loader.h"
#include "preview_binding.h"
#include "settings_keys.h"

namespace orv {

using namespace work;

void CorePageWork::startUp(Form1& form)
{
    const rom::CharTable& table = rom::GameCharTable();
    for (size_t i = 0; i < form.state().CharTable.size(); ++i)
        form.state().CharTable[i] = table.text(static_cast<uint8_t>(i));
    PreviewBinding::of(form);
}

namespace {

// A colour list with its swatch: enabled with `index` chosen when it has
// that many items, else disabled with a button-face swatch.
void preselect(Form1& form, QComboBox* list, PictureBox* swatch, int index)
{
    const bool available = list->count() > index;
    list->setEnabled(available);
    if (available)
        form.selectItem(list, index);
    else
        swatch->setButtonFace();
}

std::optional<Colour> selectedColour(const QComboBox* list)
{
    const int i = list->currentIndex();
    if (i < 0)
        return std::nullopt;
    return static_cast<Colour>(list->itemData(i).toLongLong()) & 0xFFFFFF;
}

} // namespace

PageResult CorePageWork::loadSourcePicture(Form1& form)
{
    WizardState& s = form.state();
    auto loaded = LoadSourcePicture(toPath(s.SourcePath));
    if (!loaded)
        return refuse(form, loaded.error().message);

    // The wizard keeps its own palette across pictures.
    s.Picture.width = loaded->picture.width;
    s.Picture.height = loaded->picture.height;
    s.Picture.pixels = loaded->picture.pixels;
    s.LoadedPixels = std::move(loaded->picture.pixels);
    paintPicture1(form);

    std::vector<Form1::ListItem> items;
    items.reserve(loaded->colours.size());
    for (Colour c : loaded->colours)
        items.push_back({qt(ColourItemText(c)), qlonglong{c}});
    const Form1Controls& c = form.ui();
    form.replaceItems(c.Combo3, items);
    form.replaceItems(c.Combo4, items);
    ShowColourSwatches(c.Combo3);
    ShowColourSwatches(c.Combo4);
    preselect(form, c.Combo3, c.Picture3, kPreselectedColour1);
    preselect(form, c.Combo4, c.Picture4, kPreselectedColour2);
    form.selectItem(c.Combo5, ColourOverrideIndex(readSettingNumber(form.settings(), key::ColorOverride)));
    return {};
}

PageResult CorePageWork::applyColourMapping(Form1& form)
{
    WizardState& s = form.state();
    const Form1Controls& c = form.ui();
    const ColourMapping mapping = ApplyColourMapping({s.Picture.palette, selectedColour(c.Combo3),
                                                      selectedColour(c.Combo4), selectedColour(c.Combo5),
                                                      s.Picture.width, s.Picture.height});
    s.Picture.palette = mapping.palette;
    s.RawLength = mapping.rawLength;
    s.PaletteText = mapping.paletteText;
    return {};
}

} // namespace orv
