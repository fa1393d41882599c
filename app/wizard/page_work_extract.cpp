// Page 2: a picture taken out of a ROM (pages 10 and 2) or read from an own
// picture file, handed on to page 11 as compressed and decompressed data.

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include "core_page_work.h"
#include "extraction.h"
#include "form1.h"
#include "number_text.h"
#include "option_group.h"
#include "picture_io.h"
#include "rom_io.h"
#include "page_work_common.h"
#include "picture_box.h"
#include "up_down.h"

namespace orv {

using namespace work;

namespace {

struct SourcePicture {
    std::vector<uint8_t> stream;
    std::vector<uint8_t> tileData;
    std::array<Colour, 2> colours{};
    std::string paletteText;
    int width = 0;
    int height = 0;
};

// Page 2's numbers are all stored into their spin controls; only those the
// chosen slot uses are refused when out of range. The offset and the sizes
// are read as typed.
std::expected<rom::ExtractRequest, QString> extractRequest(Form1& form)
{
    const Form1Controls& c = form.ui();
    rom::ExtractRequest r;
    if (!c.Check12->isChecked()) {
        r.offset = ParseTypedNumber(c.Text12->text().toStdString());
        if (c.Check13->isChecked()) {
            r.width = ParseTypedNumber(c.Text13->text().toStdString());
            r.height = ParseTypedNumber(c.Text14->text().toStdString());
        }
        return r;
    }
    const auto number = StoredNumber(c.UpDown1, NumberField::PokemonNumber);
    const auto unownIndex = StoredNumber(c.UpDown2, NumberField::UnownIndex);
    const auto trainerNumber = StoredNumber(c.UpDown6, NumberField::TrainerNumber);
    using K = rom::Slot::Kind;
    rom::Slot slot{K::Pokemon, 1, c.OptionButton2->isChecked(), c.Check2->isChecked()};
    if (c.Check7->isChecked()) {
        if (!trainerNumber)
            return std::unexpected(trainerNumber.error());
        slot.kind = K::Trainer;
        slot.number = *trainerNumber;
    } else {
        const bool unown = c.Check1->isChecked();
        if (!unown && !number)
            return std::unexpected(number.error());
        slot.number = unown ? rom::kUnownNumber : *number;
        if (slot.number == rom::kUnownNumber) {
            if (!unownIndex)
                return std::unexpected(unownIndex.error());
            slot.kind = K::Unown;
            slot.number = *unownIndex;
        }
    }
    r.slot = slot;
    return r;
}

// The picture as page 11 takes it: white, the two colours, black; tile data
// for the picture's size, and a blank surface of that size.
void takeSource(Form1& form, SourcePicture source)
{
    WizardState& s = form.state();
    s.SourceStreamLength = static_cast<int32_t>(source.stream.size());
    s.SourceStream = std::move(source.stream);
    s.RawLength = static_cast<int32_t>(source.tileData.size());
    s.SourceTileData = std::move(source.tileData);
    s.Picture.palette[0] = kWhite;
    s.Picture.palette[1] = source.colours[0];
    s.Picture.palette[2] = source.colours[1];
    s.Picture.palette[3] = kBlack;
    s.PaletteText = std::move(source.paletteText);
    s.Picture.resize(source.width, source.height);
    s.TileData.assign(static_cast<size_t>(source.width) * source.height / 4, 0);
    s.LoadedPixels.clear();
    PaintPicture1(form);
}

} // namespace

PageResult CorePageWork::checkRomSource(Form1& form)
{
    const std::string& path = form.state().SourcePath;
    auto rom = ReadRomFile(ToPath(path));
    if (!rom)
        return Refuse(form, rom.error(), path);
    if (auto source = rom::CheckRomSource(*rom); !source)
        return Refuse(form, source.error(), path);
    return {};
}

PageResult CorePageWork::extractPicture(Form1& form)
{
    WizardState& s = form.state();
    if (s.SourceKind == FileKind::Orv) {
        auto orv = ReadOrvFile(ToPath(s.SourcePath));
        if (!orv)
            return Refuse(form, orv.error(), s.SourcePath);
        const Form1Controls& c = form.ui();
        c.TileOrder->choose(orv->order == TileOrder::Horizontal ? c.OptionButton11 : c.OptionButton10);
        takeSource(form, {std::move(orv->stream), std::move(orv->tileData), orv->colours,
                          std::move(orv->paletteText), orv->width, orv->height});
        return {};
    }

    auto request = extractRequest(form);
    if (!request)
        return Refuse(form, request.error());
    // The slot's numbers are refused before the ROM is read.
    if (request->slot)
        if (auto slot = rom::CheckedSlot(*request->slot); !slot)
            return Refuse(form, slot.error(), s.SourcePath);
    auto rom = ReadRomFile(ToPath(s.SourcePath));
    if (!rom)
        return Refuse(form, rom.error(), s.SourcePath);
    auto picture = rom::ExtractFromRom(*rom, *request);
    if (!picture)
        return Refuse(form, picture.error(), s.SourcePath);
    takeSource(form, {std::move(picture->stream), std::move(picture->tileData), picture->palette.colours,
                      std::move(picture->palette.text), picture->width, picture->height});
    return {};
}

} // namespace orv
