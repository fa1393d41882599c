#pragma once
// The page work on the core libraries. Each hook reads its page's controls
// into a request, calls the core and writes the result back; a refusal of
// the core is shown as it comes and the wizard stays where it is.

#include "page_work.h"

namespace orv {

class CorePageWork final : public PageWork {
public:
    void startUp(Form1& form) override;
    PageResult loadSourcePicture(Form1& form) override;
    PageResult checkRomSource(Form1& form) override;
    PageResult extractPicture(Form1& form) override;
    PageResult prepareTarget(Form1& form) override;
    PageResult checkSlotShape(Form1& form) override;
    PageResult prepareNames(Form1& form) override;
    PageResult applyColourMapping(Form1& form) override;
    PageResult insertIntoRom(Form1& form) override;
    PageResult compressPicture(Form1& form) override;
    std::vector<QString> pokemonNames(Form1& form, const std::string& romPath) override;
    void searchNextOffset(Form1& form) override;
    void layoutPreview(Form1& form) override;
};

} // namespace orv
