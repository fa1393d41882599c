#include <gtest/gtest.h>

#include <functional>

#include "english_texts.h"
#include "extraction.h"
#include "free_space.h"
#include "game_text.h"
#include "insertion.h"
#include "synthetic_rom.h"

namespace orv::rom {
namespace {

using Bytes = std::vector<uint8_t>;
using Change = std::function<void(InsertRequest&)>;
using Changes = std::vector<std::pair<int64_t, Bytes>>;
using K = RomError::Kind;

const Bytes kData = test::MakeTiles(36, 99); // the encoded picture; insertion copies it as is
const Bytes kPointer{0x7C, 0x00, 0x40};      // to 0x1F0000
const Bytes kYellowBlue{0xFF, 0x03, 0x00, 0x7C};

class Insertion : public ::testing::Test {
protected:
    // Writes rom; the request puts kData 48 x 48 at 0x1F0000 into Pokemon 1's front slot.
    InsertRequest request(const test::SyntheticRom& rom, const Change& change = {})
    {
        rom.write(path());
        original_ = rom.bytes;
        InsertRequest r;
        r.romPath = path();
        r.encoded = kData;
        r.offsetText = "&H1F0000";
        r.colour1 = 0xFFFF00;
        r.colour2 = 0x0000FF;
        r.width = r.height = 48;
        if (change)
            change(r);
        return r;
    }

    // Plans, then writes when the plan stands, as the wizard does.
    static std::expected<InsertionPlan, RomError> insert(const InsertRequest& r)
    {
        auto plan = PlanInsertion(r);
        if (!plan)
            return plan;
        if (auto written = ApplyInsertion(r.romPath, *plan); !written)
            return std::unexpected(written.error());
        return plan;
    }

    // The file is the original with exactly these bytes put in, in this order.
    void expectFile(const Changes& changes, const std::string& what)
    {
        Bytes wanted = original_;
        for (const auto& [offset, bytes] : changes)
            std::copy(bytes.begin(), bytes.end(), wanted.begin() + offset);
        const auto changed = test::ChangedOffsets(wanted, test::ReadFileBytes(path()));
        EXPECT_TRUE(changed.empty()) << what << ": " << changed.size() << " bytes differ, first at 0x"
                                     << std::hex << (changed.empty() ? 0 : changed.front());
    }

    std::filesystem::path path() const { return dir_ / "rom.gbc"; }

    test::TempDir dir_;
    Bytes original_;
};

TEST_F(Insertion, WritesExactlyTheSlotsBytes)
{
    const auto english = test::SyntheticRom::Standard('E');
    const auto german = test::SyntheticRom::Standard('D');
    const auto unknown = test::SyntheticRom::Standard('X');
    auto germanNoSpecies = german;
    germanNoSpecies.bytes[german.recordLocation(1)] = 0;
    const auto& oldUnown = english.picture("unown3front"); // bank 0x2E, stored as 0x1F
    const Bytes small = test::MakeTiles(4, 5);
    const Changes front{{0x1F0000, kData}, {0x48000, kPointer}, {0xAD45, kYellowBlue}};
    auto size56 = [](auto& r) { r.width = r.height = 56; };
    // What, ROM, request, the bytes written, why the size byte was left alone.
    const std::tuple<const char*, const test::SyntheticRom&, Change, Changes, const char*> cases[] = {
        {"Pokemon 25 back shiny", english, [](auto& r) { r.pokemonNumber = 25; r.back = r.shiny = true; },
         {{0x1F0000, kData}, {0x48093, kPointer}, {0xAE09, kYellowBlue}}, nullptr},
        {"Pokemon 1 front, English", english, size56,
         {{0x1F0000, kData}, {0x48000, kPointer}, {0xAD45, kYellowBlue}, {0x51B1C, {0x77}}}, nullptr},
        {"Pokemon 1 front, German", german, size56,
         {{0x1F0000, kData}, {0x48000, kPointer}, {0xAD45, kYellowBlue}, {0x51B11, {0x77}}}, nullptr},
        {"Unown 3 by the box, deleting the original", english,
         [](auto& r) { r.pokemonNumber = 12; r.unown = r.deleteOriginal = true; r.unownIndex = 3; },
         {{oldUnown.offset, Bytes(oldUnown.stream.size(), 0)}, {0x1F0000, kData}, {0x7C00C, kPointer},
          {0xB385, kYellowBlue}, {0x5341C, {0x66}}}, nullptr},
        {"trainer 2 ignores the Pokemon choices", english,
         [](auto& r) { r.trainer = r.back = r.shiny = r.changeName = true; r.trainerNumber = 2; },
         {{0x1F0000, kData}, {0x80003, kPointer}, {0xB545, kYellowBlue}}, nullptr},
        {"bare offset, read as decimal up to the F", unknown,
         [](auto& r) {
             r.offsetText = "1F0000"; r.replaceSlot = false;
             r.deleteOriginal = r.changeName = true; r.newName = "#";
         },
         {{1, kData}}, nullptr},
        {"deleting the original at the same offset", english,
         [&](auto& r) {
             r.offsetText = "&H100000"; r.encoded = small; r.width = r.height = 16;
             r.deleteOriginal = r.changeName = true; r.newName = "NEU";
         },
         {{0x100000, Bytes(english.picture("poke1front").stream.size(), 0)}, {0x100000, small},
          {0xAD45, kYellowBlue}, {test::kNameTable, test::NameBytes("NEU")},
          {0x48000, {0x40, 0x00, 0x40}}, {0x51B1C, {0x22}}}, nullptr},
        {"unknown language", unknown, size56, front, "Die Sprache des Roms konnte nicht erkannt werden."},
        {"German record without the number", germanNoSpecies, size56, front,
         "Der Datensatz an Offset &H51B00 gehört nicht zu Pokemon 1 (gefunden: 0)."},
        {"ten tiles wide", english, [](auto& r) { r.width = 80; r.height = 56; }, front,
         "Das Bild passt mit 10 x 7 Kacheln nicht in die Größenangabe (1 bis 9 Kacheln je Richtung)."},
    };
    for (const auto& [what, rom, change, changes, note] : cases) {
        auto plan = insert(request(rom, change));
        ASSERT_TRUE(plan) << what << ": " << plan.error().message;
        std::vector<std::string> notes, german;
        if (note)
            notes.push_back(std::string("Die Größenangabe des Bildes wurde nicht geschrieben: ") + note);
        for (const PlanNote& planned : plan->notes)
            german.push_back(planned.german);
        EXPECT_EQ(german, notes) << what;
        expectFile(changes, what);
    }
}

TEST_F(Insertion, RefusedWithTheFileUntouched)
{
    auto english = test::SyntheticRom::Standard('E');
    // An old picture that runs into the end of the file without an end marker.
    english.put(test::kRomSize - 3, Bytes{0x1F, 0x01, 0x02});
    english.setPicturePointer(0x48012, test::kRomSize - 3); // Pokemon 4 front
    const test::SyntheticRom unknown('X'), shortTable('E', 0x48050), shortRecord('E', 0x51B30);
    const test::SyntheticRom huge('E', 0x400400);
    const auto first = std::to_string(test::kRomSize - kData.size()); // one after the last place
    const std::tuple<const test::SyntheticRom&, Change, K, std::string> cases[] = {
        {english, [&](auto& r) { r.offsetText = first; }, K::OutOfRange,
         "Der Offset " + first + " liegt außerhalb des erlaubten Bereichs von 0 bis " +
             std::to_string(test::kRomSize - kData.size() - 1) + "."},
        {english, [](auto& r) { r.offsetText = "-1"; }, K::OutOfRange, "Der Offset -1"},
        {english, [](auto& r) { r.offsetText = "&H4C100"; }, K::OutOfRange, "&H4C100 kann von keinem"},
        {huge, [](auto& r) { r.offsetText = "&H400000"; }, K::OutOfRange, "&H400000 kann von keinem"},
        {english, [](auto& r) { r.pokemonNumber = 0; }, K::OutOfRange, "Pokemonnummer 0"},
        {english, [](auto& r) { r.pokemonNumber = 252; }, K::OutOfRange, "Pokemonnummer 252"},
        {english, [](auto& r) { r.unown = true; r.unownIndex = 27; }, K::OutOfRange,
         "Der Unown-Index 27 liegt außerhalb des erlaubten Bereichs von 1 bis 26."},
        {english, [](auto& r) { r.trainer = true; r.trainerNumber = 67; }, K::OutOfRange, "Trainernummer 67"},
        {english, [](auto& r) { r.changeName = true; r.newName = "MEW#"; }, K::BadName,
         "Der Name \"MEW#\" enthält das Zeichen \"#\", das im Spiel nicht darstellbar ist."},
        {unknown, [](auto& r) { r.changeName = true; r.newName = "MEW"; }, K::LanguageUnknown,
         "Fehler: Sprache des Roms konnte nicht erkannt werden."},
        {english, [](auto& r) { r.pokemonNumber = 4; r.deleteOriginal = true; }, K::NoPicture,
         "Das alte Bild an Offset &H1FFFFD kann nicht gelöscht werden"},
        {english, [](auto& r) { r.encoded.clear(); }, K::NoPicture, "keine Bilddaten"},
        {english, [&](auto& r) { r.romPath = dir_ / "missing.gbc"; }, K::OpenFailed, "Error: 2"},
        {shortTable, [](auto& r) { r.offsetText = "0"; r.pokemonNumber = 25; }, K::TooShort,
         "zu kurz für die Zeigertabelle"},
        {shortRecord, [](auto& r) { r.offsetText = "0"; r.pokemonNumber = 2; }, K::TooShort,
         "zu kurz für die Größenangabe"},
    };
    for (const auto& [rom, change, kind, text] : cases) {
        auto result = insert(request(rom, change));
        ASSERT_FALSE(result) << text;
        EXPECT_EQ(result.error().kind, kind) << result.error().message;
        EXPECT_NE(result.error().message.find(text), std::string::npos) << result.error().message;
        expectFile({}, text);
    }
    // The data alone may go from 4 MB on.
    ASSERT_TRUE(insert(request(huge, [](auto& r) { r.offsetText = "&H400000"; r.replaceSlot = false; })));
    expectFile({{0x400000, kData}}, "data alone");
}

TEST_F(Insertion, ApplyChecksTheFileAgain)
{
    auto rom = test::SyntheticRom::Standard('E');
    auto plan = PlanInsertion(request(rom));
    ASSERT_TRUE(plan);
    expectFile({}, "after planning");
    rom.bytes.push_back(1);
    rom.write(path());
    EXPECT_EQ(ApplyInsertion(path(), *plan).error().kind, K::FileChanged);
    EXPECT_EQ(test::ReadFileBytes(path()), rom.bytes);
    EXPECT_EQ(ApplyInsertion(dir_ / "missing.gbc", *plan).error().message, "Error: 2");
    // A patch past the end is refused before anything is written.
    rom.bytes.pop_back();
    rom.write(path());
    plan->patches.push_back({PatchKind::Name, plan->fileSize - 1, {1, 2}});
    EXPECT_EQ(ApplyInsertion(path(), *plan).error().kind, K::FileChanged);
    expectFile({}, "patch past the end");
}

TEST_F(Insertion, FailuresAndNotesAlsoInEnglish)
{
    auto rom = test::SyntheticRom::Standard('E');
    rom.put(test::kRomSize - 3, Bytes{0x1F, 0x01, 0x02}); // no end marker
    rom.setPicturePointer(0x48012, test::kRomSize - 3);   // Pokemon 4 front
    const InsertRequest base = request(rom);              // writes rom.gbc
    auto german = test::SyntheticRom::Standard('D');
    german.bytes[german.recordLocation(1)] = 0;
    german.write(dir_ / "german.gbc");
    test::SyntheticRom('E', 0x48004).write(dir_ / "short.gbc");
    test::SyntheticRom('E', 0x100).write(dir_ / "tiny.gbc");
    test::SyntheticRom('X').write(dir_ / "unknown.gbc");
    const auto missing = dir_ / "missing.gbc";
    InsertionPlan stale;
    stale.fileSize = 1;

    const auto extract = [&](const std::function<void(ExtractRequest&)>& change) {
        ExtractRequest r;
        r.romPath = path();
        change(r);
        return test::Texts(ExtractFromRom(r));
    };
    const auto atOffset = [](const char* width, const char* height) {
        return [=](ExtractRequest& r) {
            r.bySlot = false;
            r.offsetText = "&H100000";
            r.specifySize = true;
            r.widthText = width;
            r.heightText = height;
        };
    };
    const auto plan = [&](const Change& change) {
        InsertRequest r = base;
        change(r);
        return test::Texts(PlanInsertion(r));
    };
    const auto note = [&](const Change& change) -> std::pair<std::string, std::string> {
        InsertRequest r = base;
        change(r);
        const auto planned = PlanInsertion(r);
        if (!planned || planned->notes.size() != 1)
            return {"(no note)", ""};
        return {planned->notes[0].german, planned->notes[0].english};
    };
    const std::pair<const char*, std::pair<std::string, std::string>> cases[] = {
        {"Pokemon number", extract([](auto& r) { r.pokemonNumber = 300; })},
        {"offset", extract([](auto& r) { r.bySlot = false; r.offsetText = "-5"; })},
        {"Unown index", plan([](auto& r) { r.unown = true; r.unownIndex = 27; })},
        {"trainer number", plan([](auto& r) { r.trainer = true; r.trainerNumber = 67; })},
        {"name length", test::Texts(NameFieldBytes("A", 21))},
        {"missing ROM", extract([&](auto& r) { r.romPath = missing; })},
        {"missing ROM to insert into", plan([&](auto& r) { r.romPath = missing; })},
        {"missing ROM to search", test::Texts(SearchNextOffset(missing, 0, 10))},
        {"short ROM", extract([&](auto& r) { r.romPath = dir_ / "short.gbc"; r.pokemonNumber = 2; })},
        {"ROM without header", test::Texts(ReadPokemonName(dir_ / "tiny.gbc", 1, 10))},
        {"unknown language", test::Texts(ReadPokemonName(dir_ / "unknown.gbc", 1, 10))},
        {"no end marker", extract([](auto& r) { r.pokemonNumber = 4; })},
        {"narrow", extract(atOffset("4", ""))},
        {"too large", extract(atOffset("256", "256"))},
        {"character", test::Texts(NameFieldBytes("GRÜN#", 10))},
        {"long name", test::Texts(NameFieldBytes("ABCDEFGHIJK", 10))},
        {"unreachable offset", plan([](auto& r) { r.offsetText = "&H4C100"; })},
        {"broken old picture", plan([](auto& r) { r.pokemonNumber = 4; r.deleteOriginal = true; })},
        {"no data", plan([](auto& r) { r.encoded.clear(); })},
        {"changed file", test::Texts(ApplyInsertion(path(), stale))},
        {"note: too wide", note([](auto& r) { r.width = 80; })},
        {"note: record", note([&](auto& r) { r.romPath = dir_ / "german.gbc"; })},
    };
    for (const auto& [what, texts] : cases)
        EXPECT_EQ(test::EnglishMismatch(texts.first, texts.second), "") << what;
}

} // namespace
} // namespace orv::rom
