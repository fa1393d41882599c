// Page 2: a picture taken out of a ROM (pages 10 and 2) or read from an own
// picture file, handed on to page 11 as compressed and decompressed data.

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include "core_page_work.h"
#include "extraction.h"
#include "form1.h"
#include "option_group.h"
#include "orv_file.h"
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
// chosen slot uses are refused when out of range.
std::expected<rom::ExtractRequest, QString> extractRequest(Form1& form)
{
    const Form1Controls& c = form.ui();
    rom::ExtractRequest r;
    r.romPath = toPath(form.state().SourcePath);
    r.bySlot = c.Check12->isChecked();
    if (!r.bySlot) {
        r.offsetText = c.Text12->text().toStdString();
        r.specifySize = c.Check13->isChecked();
        r.widthText = c.Text13->text().toStdString();
        r.heightText = c.Text14->text().toStdString();
        return r;
    }
    const auto number = storedNumber(c.UpDown1, rom::NumberField::PokemonNumber);
    const auto unownIndex = storedNumber(c.UpDown2, rom::NumberField::UnownIndex);
    const auto trainerNumber = storedNumber(c.UpDown6, rom::NumberField::TrainerNumber);
    r.trainer = c.Check7->isChecked();
    r.unown = c.Check1->isChecked();
    r.back = c.OptionButton2->isChecked();
    r.shiny = c.Check2->isChecked();
    if (r.trainer) {
        if (!trainerNumber)
            return std::unexpected(trainerNumber.error());
        r.trainerNumber = *trainerNumber;
        return r;
    }
    if (!r.unown && !number)
        return std::unexpected(number.error());
    r.pokemonNumber = r.unown ? rom::kUnownNumber : *number;
    if (r.pokemonNumber == rom::kUnownNumber) {
        if (!unownIndex)
            return std::unexpected(unownIndex.error());
        r.unownIndex = *unownIndex;
    }
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
    paintPicture1(form);
}

} // namespace

PageResult CorePageWork::checkRomSource(Form1& form)
{
    auto rom = rom::RomFile::open(toPath(form.state().SourcePath));
    if (!rom)
        return refuse(form, rom.error());
    if (auto source = rom::CheckRomSource(*rom); !source)
        return refuse(form, source.error());
    return {};
}

PageResult CorePageWork::extractPicture(Form1& form)
{
    WizardState& s = form.state();
    if (s.SourceKind == FileKind::Orv) {
        auto orv = ReadOrvFile(toPath(s.SourcePath));
        if (!orv)
            return refuse(form, orv.error().message);
        const Form1Controls& c = form.ui();
        c.TileOrder->choose(orv->order == TileOrder::Horizontal ? c.OptionButton11 : c.OptionButton10);
        takeSource(form, {std::move(orv->stream), std::move(orv->tileData), orv->colours,
                          std::move(orv->paletteText), orv->width, orv->height});
        return {};
    }

    auto request = extractRequest(form);
    if (!request)
        return refuse(form, request.error());
    auto picture = rom::ExtractFromRom(*request);
    if (!picture)
        return refuse(form, picture.error());
    takeSource(form, {std::move(picture->stream), std::move(picture->tileData), picture->palette.colours,
                      std::move(picture->palette.text), picture->width, picture->height});
    return {};
}

} // namespace orv
