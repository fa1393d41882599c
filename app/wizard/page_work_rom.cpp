// Pages 6 and 9: the names offered for the Pokemon, and the insertion into
// the target ROM as one checked list of byte patches.

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>

#include "cartridge_header.h"
#include "core_page_work.h"
#include "form1.h"
#include "game_text.h"
#include "insertion.h"
#include "message_sink.h"
#include "number_text.h"
#include "rom_change.h"
#include "page_work_common.h"
#include "rom_layout.h"
#include "up_down.h"

namespace orv {

using namespace work;

namespace {

// The slot number of page 6: 201 with "Unown's List:   ".
std::expected<int64_t, QString> targetPokemonNumber(const Form1Controls& c)
{
    auto number = storedNumber(c.UpDown3, rom::NumberField::PokemonNumber);
    if (c.Check5->isChecked())
        return rom::kUnownNumber;
    return number;
}

QString overwriteQuestion(const rom::InsertionPlan& plan)
{
    return QStringLiteral("Die Bilddaten würden ab Offset %1 %2 Bytes überschreiben, die nicht 0 sind und zu nichts "
                          "gehören, was Orvista kennt (Programmcode, Text oder andere Daten). Das erste liegt an "
                          "Offset %3.\n\nTrotzdem schreiben?")
        .arg(qt(rom::HexText(plan.dataOffset)))
        .arg(plan.overwrite.bytes)
        .arg(qt(rom::HexText(plan.overwrite.first)));
}

QString chosenName(const Form1Controls& c)
{
    if (c.OptionButton9->isChecked())
        return c.Text8->text();
    if (c.OptionButton7->isChecked())
        return c.Text9->text();
    return c.Text10->text();
}

QString shapeQuestion(const rom::RomError& refusal, bool unownFront)
{
    return qt(refusal.message) +
           QStringLiteral("\n\nNur wenn der Programmcode des Roms geändert wurde, um andere Größen zu zeichnen, "
                          "zeigt das Spiel das Bild dort richtig.") +
           (unownFront ? QStringLiteral(" Die Größenangabe, die alle 26 Unown teilen, wird dabei mit geändert.")
                       : QString()) +
           QStringLiteral("\n\nTrotzdem schreiben?");
}

// Page 6's slot and the picture's size. The numbers are stored into their
// spin controls; only those the chosen slot uses are refused.
std::expected<rom::InsertRequest, QString> slotRequest(Form1& form)
{
    const WizardState& s = form.state();
    const Form1Controls& c = form.ui();
    rom::InsertRequest r;
    r.romPath = toPath(s.TargetPath);
    r.replaceSlot = c.Check4->isChecked();
    r.width = s.Picture.width;
    r.height = s.Picture.height;

    const auto unownIndex = storedNumber(c.UpDown5, rom::NumberField::UnownIndex);
    const auto number = targetPokemonNumber(c);
    const auto trainerNumber = storedNumber(c.UpDown7, rom::NumberField::TrainerNumber);
    const auto nameLength = storedNumber(c.UpDown8, rom::NumberField::NameLength);
    if (!r.replaceSlot)
        return r;
    r.trainer = c.Check8->isChecked();
    r.back = c.OptionButton4->isChecked();
    r.shiny = c.OptionButton6->isChecked();
    r.deleteOriginal = c.Check6->isChecked();
    if (r.trainer) {
        if (!trainerNumber)
            return std::unexpected(trainerNumber.error());
        r.trainerNumber = *trainerNumber;
        return r;
    }
    if (!number)
        return std::unexpected(number.error());
    r.pokemonNumber = *number;
    r.unown = c.Check5->isChecked();
    if (r.pokemonNumber == rom::kUnownNumber) {
        if (!unownIndex)
            return std::unexpected(unownIndex.error());
        r.unownIndex = *unownIndex;
    }
    r.changeName = c.Check11->isChecked();
    if (r.changeName) {
        if (!nameLength)
            return std::unexpected(nameLength.error());
        r.nameLength = *nameLength;
    }
    return r;
}

// Pages 5, 6 and 9 as an insertion request.
std::expected<rom::InsertRequest, QString> insertRequest(Form1& form)
{
    const WizardState& s = form.state();
    const Form1Controls& c = form.ui();
    auto offset = storedNumber(c.UpDown4, rom::NumberField::Offset);
    if (!offset)
        return std::unexpected(offset.error());
    auto r = slotRequest(form);
    if (!r)
        return r;
    r->encoded.assign(s.EncodedData.begin(),
                      s.EncodedData.begin() + std::min<size_t>(s.EncodedData.size(), std::max(s.EncodedLength, 0)));
    r->offsetText = c.Text4->text().toStdString();
    r->colour1 = s.Picture.palette[1];
    r->colour2 = s.Picture.palette[2];
    r->anyShape = r->replaceSlot && s.AnyShape;
    if (r->changeName)
        r->newName = chosenName(c).toStdString();
    return r;
}

} // namespace

PageResult CorePageWork::prepareNames(Form1& form)
{
    const WizardState& s = form.state();
    const Form1Controls& c = form.ui();
    auto length = storedNumber(c.UpDown8, rom::NumberField::NameLength);
    if (!length)
        return refuse(form, length.error());
    const int nameLength = static_cast<int>(*length);

    std::string sourceName;
    if (s.SourceKind == FileKind::Rom && !c.Check7->isChecked()) {
        auto number = storedNumber(c.UpDown1, rom::NumberField::PokemonNumber);
        if (!number)
            return refuse(form, number.error());
        auto name = rom::ReadPokemonName(toPath(s.SourcePath), static_cast<int>(*number), nameLength);
        if (!name)
            return refuse(form, name.error());
        sourceName = std::move(name->text);
    } else {
        sourceName = rom::SourceNameFromPath(s.SourcePath);
    }

    auto number = targetPokemonNumber(c);
    if (!number)
        return refuse(form, number.error());
    auto targetName = rom::ReadPokemonName(toPath(s.TargetPath), static_cast<int>(*number), nameLength);
    if (!targetName)
        return refuse(form, targetName.error());

    c.Text8->setText(qt(sourceName));
    c.Text9->setText(qt(targetName->text));
    form.state().NameOffset = static_cast<int32_t>(targetName->offset);
    return {};
}

PageResult CorePageWork::checkSlotShape(Form1& form)
{
    form.state().AnyShape = false;
    auto request = slotRequest(form);
    if (!request)
        return refuse(form, request.error());
    if (!request->replaceSlot)
        return {};
    auto rom = rom::RomFile::open(request->romPath);
    if (!rom)
        return refuse(form, rom.error());
    // What no answer lets pass first: a front picture beyond the size byte.
    request->anyShape = true;
    if (auto possible = rom::CheckSlotShape(*rom, *request); !possible)
        return refuse(form, possible.error());
    request->anyShape = false;
    auto shown = rom::CheckSlotShape(*rom, *request);
    if (shown)
        return {};
    if (shown.error().kind != rom::RomError::Kind::BadShape)
        return refuse(form, shown.error());
    const bool unownFront = !request->trainer && !request->back && request->pokemonNumber == rom::kUnownNumber;
    if (!form.messages().ask(
            {shapeQuestion(shown.error(), unownFront), QStringLiteral("Orvista"), MessageIcon::Warning}))
        return pageFailed();
    form.state().AnyShape = true;
    return {};
}

std::vector<QString> CorePageWork::pokemonNames(Form1& form, const std::string& romPath)
{
    // The length as typed, without storing it: a label must not change a box.
    const long long length = parseNumber(form.ui().Text11->text().toStdString());
    if (length < 1 || length > rom::kMaxNameLength)
        return {};
    auto rom = rom::RomFile::open(toPath(romPath));
    if (!rom)
        return {};
    auto names = rom::ReadPokemonNames(*rom, static_cast<int>(length));
    if (!names)
        return {};
    std::vector<QString> shown;
    shown.reserve(names->size());
    for (const std::string& name : *names)
        shown.push_back(qt(name));
    return shown;
}

PageResult CorePageWork::insertIntoRom(Form1& form)
{
    auto request = insertRequest(form);
    if (!request)
        return refuse(form, request.error());
    // Locked from the read for planning to the commit; the ROM is replaced
    // as a whole or stays as it was.
    auto change = rom::RomChange::Begin(request->romPath);
    if (!change)
        return refuse(form, change.error());
    if (auto replaceable = change->CheckReplaceable(); !replaceable)
        return refuse(form, replaceable.error());
    auto plan = rom::PlanInsertion(change->rom(), *request);
    if (!plan)
        return refuse(form, plan.error());
    if (plan->overwrite.bytes > 0 && !form.messages().ask({overwriteQuestion(*plan), QStringLiteral("Orvista"),
                                                           MessageIcon::Warning}))
        return pageFailed();
    // Emulators check the global checksum; it is rewritten as one more patch.
    if (auto checksum = rom::GlobalChecksumPatch(change->rom(), plan->patches))
        plan->patches.push_back(std::move(*checksum));
    auto bytes = rom::ApplyPatches(change->rom(), plan->patches);
    if (!bytes)
        return refuse(form, bytes.error());
    if (auto committed = change->Commit(*bytes); !committed)
        return refuse(form, committed.error());
    // What was deliberately left alone (e.g. the size byte) is told once
    // the data is in; page 7's sentence stays as it is.
    if (!plan->notes.empty()) {
        QStringList notes;
        for (const rom::PlanNote& note : plan->notes)
            notes << qt(note.german);
        inform(form, notes.join(QLatin1Char('\n')));
    }
    return {};
}

} // namespace orv
