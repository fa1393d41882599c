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
#include "messages_de.h"
#include "picture_shape.h"
#include "number_text.h"
#include "page_work_common.h"
#include "rom_change.h"
#include "rom_io.h"
#include "rom_layout.h"
#include "up_down.h"

namespace orv {

using namespace work;

namespace {

// The slot number of page 6: 201 with "Unown's List:   ".
std::expected<int64_t, QString> targetPokemonNumber(const Form1Controls& c)
{
    auto number = StoredNumber(c.UpDown3, NumberField::PokemonNumber);
    if (c.Check5->isChecked())
        return rom::kUnownNumber;
    return number;
}

QString chosenName(const Form1Controls& c)
{
    if (c.OptionButton9->isChecked())
        return c.Text8->text();
    if (c.OptionButton7->isChecked())
        return c.Text9->text();
    return c.Text10->text();
}

// Page 6's slot and the picture's size. The numbers are stored into their
// spin controls; only those the chosen slot uses are refused.
std::expected<rom::InsertRequest, QString> slotRequest(Form1& form)
{
    const WizardState& s = form.state();
    const Form1Controls& c = form.ui();
    rom::InsertRequest r;
    r.width = s.Picture.width;
    r.height = s.Picture.height;

    const auto unownIndex = StoredNumber(c.UpDown5, NumberField::UnownIndex);
    const auto number = targetPokemonNumber(c);
    const auto trainerNumber = StoredNumber(c.UpDown7, NumberField::TrainerNumber);
    const auto nameLength = StoredNumber(c.UpDown8, NumberField::NameLength);
    if (!c.Check4->isChecked())
        return r;
    using K = rom::Slot::Kind;
    rom::Slot slot{K::Pokemon, 1, c.OptionButton4->isChecked(), c.OptionButton6->isChecked()};
    r.deleteOriginal = c.Check6->isChecked();
    if (c.Check8->isChecked()) {
        if (!trainerNumber)
            return std::unexpected(trainerNumber.error());
        slot.kind = K::Trainer;
        slot.number = *trainerNumber;
        r.slot = slot;
        return r;
    }
    if (!number)
        return std::unexpected(number.error());
    slot.number = *number;
    if (slot.number == rom::kUnownNumber) {
        if (!unownIndex)
            return std::unexpected(unownIndex.error());
        slot.kind = K::Unown;
        slot.number = *unownIndex;
    }
    r.slot = slot;
    if (c.Check11->isChecked()) {
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
    auto offset = StoredNumber(c.UpDown4, NumberField::Offset);
    if (!offset)
        return std::unexpected(offset.error());
    auto r = slotRequest(form);
    if (!r)
        return r;
    r->encoded.assign(s.EncodedData.begin(),
                      s.EncodedData.begin() + std::min<size_t>(s.EncodedData.size(), std::max(s.EncodedLength, 0)));
    r->offset = *offset;
    r->colour1 = s.Picture.palette[1];
    r->colour2 = s.Picture.palette[2];
    r->anyShape = r->slot && s.AnyShape;
    if (r->slot && !rom::IsTrainer(*r->slot) && c.Check11->isChecked())
        r->newName = chosenName(c).toStdString();
    return r;
}

} // namespace

PageResult CorePageWork::prepareNames(Form1& form)
{
    const WizardState& s = form.state();
    const Form1Controls& c = form.ui();
    auto length = StoredNumber(c.UpDown8, NumberField::NameLength);
    if (!length)
        return Refuse(form, length.error());
    const int nameLength = static_cast<int>(*length);

    std::string sourceName;
    if (s.SourceKind == FileKind::Rom && !c.Check7->isChecked()) {
        auto number = StoredNumber(c.UpDown1, NumberField::PokemonNumber);
        if (!number)
            return Refuse(form, number.error());
        auto source = ReadRomFile(ToPath(s.SourcePath));
        if (!source)
            return Refuse(form, source.error(), s.SourcePath);
        auto name = rom::ReadPokemonName(*source, static_cast<int>(*number), nameLength);
        if (!name)
            return Refuse(form, name.error(), s.SourcePath);
        sourceName = std::move(name->text);
    } else {
        sourceName = rom::SourceNameFromPath(s.SourcePath);
    }

    auto number = targetPokemonNumber(c);
    if (!number)
        return Refuse(form, number.error());
    auto target = ReadRomFile(ToPath(s.TargetPath));
    if (!target)
        return Refuse(form, target.error(), s.TargetPath);
    auto targetName = rom::ReadPokemonName(*target, static_cast<int>(*number), nameLength);
    if (!targetName)
        return Refuse(form, targetName.error(), s.TargetPath);

    c.Text8->setText(QtText(sourceName));
    c.Text9->setText(QtText(targetName->text));
    form.state().NameOffset = static_cast<int32_t>(targetName->offset);
    return {};
}

PageResult CorePageWork::checkSlotShape(Form1& form)
{
    form.state().AnyShape = false;
    auto request = slotRequest(form);
    if (!request)
        return Refuse(form, request.error());
    if (!request->slot)
        return {};
    const std::string& path = form.state().TargetPath;
    auto rom = ReadRomFile(ToPath(path));
    if (!rom)
        return Refuse(form, rom.error(), path);
    // What no answer lets pass first: a front picture beyond the size byte.
    request->anyShape = true;
    if (auto possible = rom::CheckSlotShape(*rom, *request); !possible)
        return Refuse(form, possible.error(), path);
    request->anyShape = false;
    auto shown = rom::CheckSlotShape(*rom, *request);
    if (shown)
        return {};
    if (shown.error().kind != ErrorKind::BadShape)
        return Refuse(form, shown.error(), path);
    const bool unownFront = rom::KindOf(*request->slot) == rom::SlotKind::UnownFront;
    const QString question = QtText(de::ShapeQuestion(shown.error(), unownFront));
    if (!form.messages().ask({question, QStringLiteral("Orvista"), MessageIcon::Warning}))
        return PageFailed();
    form.state().AnyShape = true;
    return {};
}

std::vector<QString> CorePageWork::pokemonNames(Form1& form, const std::string& romPath)
{
    // The length as typed, without storing it: a label must not change a box.
    const long long length = ParseTypedNumber(form.ui().Text11->text().toStdString());
    if (length < 1 || length > rom::kMaxNameLength)
        return {};
    auto rom = ReadRomFile(ToPath(romPath));
    if (!rom)
        return {};
    auto names = rom::ReadPokemonNames(*rom, static_cast<int>(length));
    if (!names)
        return {};
    std::vector<QString> shown;
    shown.reserve(names->size());
    for (const std::string& name : *names)
        shown.push_back(QtText(name));
    return shown;
}

PageResult CorePageWork::insertIntoRom(Form1& form)
{
    auto request = insertRequest(form);
    if (!request)
        return Refuse(form, request.error());
    // Locked from the read for planning to the commit; the ROM is replaced
    // as a whole or stays as it was.
    const std::string& path = form.state().TargetPath;
    auto change = RomChange::begin(ToPath(path));
    if (!change)
        return Refuse(form, change.error(), path);
    if (auto replaceable = change->checkReplaceable(); !replaceable)
        return Refuse(form, replaceable.error(), path);
    auto plan = rom::PlanInsertion(change->rom(), *request);
    if (!plan)
        return Refuse(form, plan.error(), path);
    const QString question = QtText(de::OverwriteQuestion(plan->dataOffset, plan->overwrite.bytes, plan->overwrite.first));
    if (plan->overwrite.bytes > 0 &&
        !form.messages().ask({question, QStringLiteral("Orvista"), MessageIcon::Warning}))
        return PageFailed();
    // Emulators check the global checksum; it is rewritten as one more patch.
    if (auto checksum = rom::GlobalChecksumPatch(change->rom(), plan->patches))
        plan->patches.push_back(std::move(*checksum));
    auto bytes = rom::ApplyPatches(change->rom(), plan->patches);
    if (!bytes)
        return Refuse(form, bytes.error(), path);
    if (auto committed = change->commit(*bytes); !committed)
        return Refuse(form, committed.error(), path);
    // What was deliberately left alone (e.g. the size byte) is told once
    // the data is in; page 7's sentence stays as it is.
    if (!plan->notes.empty()) {
        QStringList notes;
        for (const Note& note : plan->notes)
            notes << QtText(de::Text(note));
        Inform(form, notes.join(QLatin1Char('\n')));
    }
    return {};
}

} // namespace orv
