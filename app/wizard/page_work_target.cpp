// Page 4: a ROM target checked and searched for free space; an own picture
// file or a bitmap written. And the free-space search of Command6.

#include <QLineEdit>
#include <QRadioButton>

#include "bitmap_file.h"
#include "core_page_work.h"
#include "file_identity.h"
#include "form1.h"
#include "free_space.h"
#include "game_check.h"
#include "orv_file.h"
#include "page_work_common.h"
#include "target_check.h"
#include "up_down.h"

namespace orv {

using namespace work;

PageResult CorePageWork::prepareTarget(Form1& form)
{
    WizardState& s = form.state();
    const Form1Controls& c = form.ui();
    const std::filesystem::path path = toPath(s.TargetPath);
    // A bitmap or own file written over the source would destroy it (a link
    // to the ROM, another name of the picture).
    const std::filesystem::path source = toPath(s.SourcePath);
    if (s.TargetKind != FileKind::Rom && inputAtOutput(path, {&source, 1}))
        return refuse(form, QStringLiteral("Die Zieldatei \"%1\" ist die Quelldatei \"%2\" selbst (über einen Link "
                                           "oder einen anderen Namen); sie würde beim Schreiben zerstört. Es wurde "
                                           "nichts geschrieben.")
                                .arg(qt(s.TargetPath), qt(s.SourcePath)));
    switch (s.TargetKind) {
    case FileKind::Rom: {
        auto length = rom::CheckRomTarget(s.TargetPath, s.EncodedLength);
        if (!length)
            return refuse(form, length.error());
        // A file that holds no game is told so before a search in it.
        auto rom = rom::RomFile::open(path);
        if (!rom)
            return refuse(form, rom.error());
        if (auto mismatch = rom::FindGameMismatch(*rom))
            return refuse(form, rom::NotThisGame(path, *mismatch));
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
            return refuse(form, written.error().message);
        return {};
    }
    case FileKind::Picture: {
        auto written = WriteBitmapFile(path, s.Picture);
        if (!written)
            return refuse(form, written.error().message);
        return {};
    }
    }
    return {};
}

void CorePageWork::searchNextOffset(Form1& form)
{
    const WizardState& s = form.state();
    const Form1Controls& c = form.ui();
    auto start = storedNumber(c.UpDown4, rom::NumberField::Offset);
    if (!start) {
        (void)refuse(form, start.error());
        return;
    }
    auto found = rom::SearchNextOffset(toPath(s.TargetPath), *start, s.EncodedLength);
    if (!found) {
        (void)refuse(form, found.error());
        return;
    }
    if (!*found) {
        // Without this the offset field would silently keep a place that may
        // hold other data.
        inform(form, QStringLiteral("Kein freier Platz für %1 Bytes hinter Offset %2 gefunden. "
                                    "Der Offset bleibt unverändert.")
                         .arg(s.EncodedLength)
                         .arg(*start));
        return;
    }
    c.UpDown4->setValue(**found);
}

} // namespace orv
