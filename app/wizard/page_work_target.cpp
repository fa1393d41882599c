// Page 4: a ROM target checked and searched for free space; an own picture
// file or a bitmap written. And the free-space search of Command6.

#include <QLineEdit>
#include <QRadioButton>

#include "core_page_work.h"
#include "file_identity.h"
#include "form1.h"
#include "free_space.h"
#include "messages_de.h"
#include "game_check.h"
#include "page_work_common.h"
#include "picture_io.h"
#include "rom_io.h"
#include "target_check.h"
#include "up_down.h"

namespace orv {

using namespace work;

PageResult CorePageWork::prepareTarget(Form1& form)
{
    WizardState& s = form.state();
    const Form1Controls& c = form.ui();
    const std::filesystem::path path = ToPath(s.TargetPath);
    // A bitmap or own file written over the source would destroy it (a link
    // to the ROM, another name of the picture).
    const std::filesystem::path source = ToPath(s.SourcePath);
    if (s.TargetKind != FileKind::Rom && InputAtOutput(path, {&source, 1}))
        return Refuse(form, de::TargetIsSourceText(s.TargetPath, s.SourcePath));
    switch (s.TargetKind) {
    case FileKind::Rom: {
        auto length = CheckRomTarget(s.TargetPath, s.EncodedLength);
        if (!length)
            return Refuse(form, length.error(), s.TargetPath);
        // A file that holds no game is told so before a search in it.
        auto rom = ReadRomFile(path);
        if (!rom)
            return Refuse(form, rom.error(), s.TargetPath);
        if (auto mismatch = rom::FindGameMismatch(*rom))
            return Refuse(form, *mismatch, s.TargetPath);
        c.UpDown4->setRange(0, *length - s.EncodedLength - 1);
        c.UpDown4->setValue(0);
        c.Text4->setText(QStringLiteral("0"));
        searchNextOffset(form);
        return {};
    }
    case FileKind::Orv: {
        const TileOrder order = c.OptionButton10->isChecked() ? TileOrder::Vertical : TileOrder::Horizontal;
        auto written = WriteOrvFile(path, s.EncodedData, s.Picture.palette[1], s.Picture.palette[2],
                                    s.Picture.width, s.Picture.height, order);
        if (!written)
            return Refuse(form, written.error(), s.TargetPath);
        return {};
    }
    case FileKind::Picture: {
        auto written = WriteBitmapFile(path, s.Picture);
        if (!written)
            return Refuse(form, written.error(), s.TargetPath);
        return {};
    }
    }
    return {};
}

void CorePageWork::searchNextOffset(Form1& form)
{
    const WizardState& s = form.state();
    const Form1Controls& c = form.ui();
    auto start = StoredNumber(c.UpDown4, NumberField::Offset);
    if (!start) {
        (void)Refuse(form, start.error());
        return;
    }
    auto rom = ReadRomFile(ToPath(s.TargetPath));
    if (!rom) {
        (void)Refuse(form, rom.error(), s.TargetPath);
        return;
    }
    const auto found = rom::SearchNextOffset(rom->bytes(), *start, s.EncodedLength, rom->size() - s.EncodedLength - 1);
    if (!found) {
        // Without this the offset field would silently keep a place that may
        // hold other data.
        Inform(form, QtText(de::NoFreePlaceText(s.EncodedLength, *start)));
        return;
    }
    c.UpDown4->setValue(*found);
}

} // namespace orv
