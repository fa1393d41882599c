#include <gtest/gtest.h>

#include <functional>
#include <csignal>
#include <sys/file.h>
#include <sys/resource.h>

#include "codec_library.h"
#include "english_texts.h"
#include "extraction.h"
#include "file_commit.h"
#include "free_space.h"
#include "game_text.h"
#include "insertion.h"
#include "rom_change.h"
#include "synthetic_rom.h"

namespace orv::rom {
namespace {

using Bytes = std::vector<uint8_t>;
using Change = std::function<void(InsertRequest&)>;
using Changes = std::vector<std::pair<int64_t, Bytes>>;
using K = RomError::Kind;

Bytes Encoded(int tiles, uint32_t seed) { return codec::encode(test::MakeTiles(tiles, seed)).value(); }

const Bytes kData = Encoded(49, 99); // a 56 x 56 picture
const Bytes kData40 = Encoded(25, 98); // a 40 x 40 picture
const Bytes kData48 = Encoded(36, 97); // a 48 x 48 picture
const Bytes kPointer{0x7C, 0x00, 0x40}; // to 0x1F0000
const Bytes kYellowBlue{0xFF, 0x03, 0x00, 0x7C};

class Insertion : public ::testing::Test {
protected:
    // Writes rom; the request puts kData 56 x 56 at 0x1F0000 into Pokemon 1's front slot.
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
        r.width = r.height = 56;
        if (change)
            change(r);
        return r;
    }

    // Locks, plans and commits, as the wizard and the command line do.
    static std::expected<InsertionPlan, RomError> insert(const InsertRequest& r)
    {
        auto change = RomChange::Begin(r.romPath);
        if (!change)
            return std::unexpected(change.error());
        auto plan = PlanInsertion(change->rom(), r);
        if (!plan)
            return plan;
        auto bytes = ApplyPatches(change->rom(), plan->patches);
        if (!bytes)
            return std::unexpected(bytes.error());
        if (auto committed = change->Commit(*bytes); !committed)
            return std::unexpected(committed.error());
        return plan;
    }

    static std::expected<InsertionPlan, RomError> plan(const InsertRequest& r)
    {
        auto rom = RomFile::open(r.romPath);
        if (!rom)
            return std::unexpected(rom.error());
        return PlanInsertion(*rom, r);
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
    const Bytes small = Encoded(25, 5);
    const Changes front{{0x1F0000, kData}, {0x48000, kPointer}, {0xAD45, kYellowBlue}};
    auto size56 = [](auto&) {};
    // What, ROM, request, the bytes written, why the size byte was left alone.
    const std::tuple<const char*, const test::SyntheticRom&, Change, Changes, const char*> cases[] = {
        {"Pokemon 25 back shiny", english,
         [](auto& r) { r.pokemonNumber = 25; r.back = r.shiny = true; r.encoded = kData48; r.width = r.height = 48; },
         {{0x1F0000, kData48}, {0x48093, kPointer}, {0xAE09, kYellowBlue}}, nullptr},
        {"Pokemon 1 front, English", english, size56,
         {{0x1F0000, kData}, {0x48000, kPointer}, {0xAD45, kYellowBlue}, {0x51B1C, {0x77}}}, nullptr},
        {"Pokemon 1 front, German", german, size56,
         {{0x1F0000, kData}, {0x48000, kPointer}, {0xAD45, kYellowBlue}, {0x51B11, {0x77}}}, nullptr},
        {"Unown 3 by the box, deleting the original", english,
         [](auto& r) {
             r.pokemonNumber = 12; r.unown = r.deleteOriginal = true; r.unownIndex = 3;
             r.encoded = kData40; r.width = r.height = 40;
         },
         {{oldUnown.offset, Bytes(oldUnown.stream.size(), 0)}, {0x1F0000, kData40}, {0x7C00C, kPointer},
          {0xB385, kYellowBlue}, {0x5341C, {0x55}}}, nullptr},
        {"Unown 3 in a new size, all fronts together", english,
         [](auto& r) { r.unown = r.allUnownFronts = true; r.unownIndex = 3; },
         {{0x1F0000, kData}, {0x7C00C, kPointer}, {0xB385, kYellowBlue}, {0x5341C, {0x77}}}, nullptr},
        {"any shape: 40 x 48 for a front", english,
         [](auto& r) { r.encoded = Encoded(30, 4); r.width = 40; r.height = 48; r.anyShape = true; },
         {{0x1F0000, Encoded(30, 4)}, {0x48000, kPointer}, {0xAD45, kYellowBlue}, {0x51B1C, {0x56}}}, nullptr},
        {"any shape: 72 x 72 for a front, the largest the size byte holds", english,
         [](auto& r) { r.encoded = Encoded(81, 4); r.width = r.height = 72; r.anyShape = true; },
         {{0x1F0000, Encoded(81, 4)}, {0x48000, kPointer}, {0xAD45, kYellowBlue}, {0x51B1C, {0x99}}}, nullptr},
        {"trainer 2 ignores the Pokemon choices", english,
         [](auto& r) { r.trainer = r.back = r.shiny = r.changeName = true; r.trainerNumber = 2; },
         {{0x1F0000, kData}, {0x80003, kPointer}, {0xB545, kYellowBlue}}, nullptr},
        {"data alone, the rest ignored", unknown,
         [](auto& r) { r.replaceSlot = false; r.deleteOriginal = r.changeName = true; r.newName = "#"; },
         {{0x1F0000, kData}}, nullptr},
        {"its own old stream at its own offset, without a question", english,
         [&](auto& r) { r.offsetText = "&H100000"; r.encoded = english.picture("poke1front").stream; },
         {{0x48000, {0x40, 0x00, 0x40}}, {0xAD45, kYellowBlue}, {0x51B1C, {0x77}}}, nullptr},
        {"deleting the original at the same offset", english,
         [&](auto& r) {
             r.offsetText = "&H100000"; r.encoded = small; r.width = r.height = 40;
             r.deleteOriginal = r.changeName = true; r.newName = "NEU";
         },
         {{0x100000, Bytes(english.picture("poke1front").stream.size(), 0)}, {0x100000, small},
          {0xAD45, kYellowBlue}, {test::kNameTable, test::NameBytes("NEU")},
          {0x48000, {0x40, 0x00, 0x40}}, {0x51B1C, {0x55}}}, nullptr},
        {"unknown language", unknown, size56, front, "Die Sprache des Roms konnte nicht erkannt werden."},
        {"German record without the number", germanNoSpecies, size56, front,
         "Der Datensatz an Offset &H51B00 gehört nicht zu Pokemon 1 (gefunden: 0)."},
    };
    for (const auto& [what, rom, change, changes, note] : cases) {
        auto plan = insert(request(rom, change));
        ASSERT_TRUE(plan) << what << ": " << plan.error().message;
        EXPECT_EQ(plan->overwrite.bytes, 0) << what;
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
    auto noUnownRecord = test::SyntheticRom::Standard('D');
    noUnownRecord.bytes[noUnownRecord.recordLocation(201)] = 0;
    const auto unownFront = [](auto& r) { r.unown = true; r.encoded = kData40; r.width = r.height = 40; };
    const auto first = std::to_string(test::kRomSize - kData.size()); // one after the last place
    const auto at = [](const char* offset, bool slot = true) {
        return [=](InsertRequest& r) {
            r.offsetText = offset;
            r.replaceSlot = slot;
        };
    };
    const std::tuple<const test::SyntheticRom&, Change, K, std::string> cases[] = {
        {english, [&](auto& r) { r.offsetText = first; }, K::OutOfRange,
         "Der Offset " + first + " liegt außerhalb des erlaubten Bereichs von 0 bis " +
             std::to_string(test::kRomSize - kData.size() - 1) + "."},
        {english, [](auto& r) { r.offsetText = "-1"; }, K::OutOfRange, "Der Offset -1"},
        // Where no pointer leads, or the game cannot read the picture whole.
        {english, at("&H4C100"), K::Unreachable, "&H4C100 kann von keinem"},
        {english, at("&H2000"), K::Unreachable, "&H2000 kann von keinem Bildzeiger erreicht werden (in Bank 0"},
        {huge, at("&H400000"), K::Unreachable, "&H400000 kann von keinem"},
        {english, at("&H1F3FF0"), K::Unreachable, "reichen über das Ende der Bank &H7C hinaus"},
        // What lies there, with or without a slot; "1F0000" reads as 1.
        {english, at("1F0000", false), K::InTheWay, "würden den Kopf des Roms (&H100 bis &H14F)"},
        {english, at("&H48000", false), K::InTheWay, "die Zeigertabelle der Pokemonbilder (&H48000 bis &H485E1)"},
        {english, at("&H7C090"), K::InTheWay, "die Zeigertabelle der Unown-Bilder (&H7C000 bis &H7C09B)"},
        {english, at("&H80000"), K::InTheWay, "die Zeigertabelle der Trainerbilder (&H80000 bis &H800C5)"},
        {english, at("&HAD00"), K::InTheWay, "die Palettentabelle der Pokemon (&HAD45 bis &HB51C)"},
        {english, at("&HB640", false), K::InTheWay, "die Palettentabelle der Trainer (&HB541 bis &HB648)"},
        {english, at("&H52000"), K::InTheWay, "die Datensätze der Pokemon (&H51B0B bis &H53A6A)"},
        {english, at("&H1B0100"), K::InTheWay, "die Namenstabelle der Pokemon (&H1B0000 bis &H1B09CD)"},
        {english, at("&H101000"), K::InTheWay, "das Bild von Pokemon 1 (Backpic) (&H101000 bis"},
        {english, [](auto& r) { r.offsetText = "&H110000"; r.pokemonNumber = 3; }, K::InTheWay,
         "das Bild von Pokemon 2 (Frontpic) (&H110000 bis"}, // a picture the slot shares
        // The slot's numbers and the picture itself.
        {english, [](auto& r) { r.pokemonNumber = 0; }, K::OutOfRange, "Pokemonnummer 0"},
        {english, [](auto& r) { r.pokemonNumber = 252; }, K::OutOfRange, "Pokemonnummer 252"},
        {english, [](auto& r) { r.unown = true; r.unownIndex = 27; }, K::OutOfRange,
         "Der Unown-Index 27 liegt außerhalb des erlaubten Bereichs von 1 bis 26."},
        {english, [](auto& r) { r.trainer = true; r.trainerNumber = 67; }, K::OutOfRange, "Trainernummer 67"},
        {english, [](auto& r) { r.encoded = test::MakeTiles(8, 1); }, K::BadPicture,
         "kein vollständiger Datenstrom"},
        {english, [](auto& r) { r.width = r.height = 48; }, K::BadPicture,
         "Die Bildgröße 48 x 48 passt nicht zu den Bilddaten (49 Kacheln)."},
        {english, [](auto& r) { r.width = 80; r.anyShape = true; }, K::BadPicture,
         "Das Bild passt mit 10 x 7 Kacheln nicht in die Größenangabe (1 bis 9 Kacheln je Richtung). Es wurde "
         "nichts geschrieben."},
        {english, [](auto& r) { r.changeName = true; }, K::BadName, "Der neue Name ist leer."},
        // The size the Unown fronts are drawn in cannot be read.
        {noUnownRecord, unownFront, K::BadShape,
         "Der Datensatz an Offset &H53400 gehört nicht zu Pokemon 201 (gefunden: 0), daher ist unbekannt"},
        {unknown, unownFront, K::LanguageUnknown, "Fehler: Sprache des Roms konnte nicht erkannt werden."},
        {english, [](auto& r) { r.changeName = true; r.newName = "MEW#"; }, K::BadName,
         "Der Name \"MEW#\" enthält das Zeichen \"#\", das im Spiel nicht darstellbar ist."},
        {unknown, [](auto& r) { r.changeName = true; r.newName = "MEW"; }, K::LanguageUnknown,
         "Fehler: Sprache des Roms konnte nicht erkannt werden."},
        {english, [](auto& r) { r.pokemonNumber = 4; r.deleteOriginal = true; }, K::NoPicture,
         "Das alte Bild an Offset &H1FFFFD kann nicht gelöscht werden"},
        {english, [](auto& r) { r.encoded.clear(); }, K::NoPicture, "keine Bilddaten"},
        {english, [&](auto& r) { r.romPath = dir_ / "missing.gbc"; }, K::OpenFailed, "Error: 2"},
        {shortTable, [](auto& r) { r.offsetText = "&H4000"; r.pokemonNumber = 25; }, K::TooShort,
         "zu kurz für die Zeigertabelle"},
        {shortRecord, [](auto& r) { r.offsetText = "&H4000"; r.pokemonNumber = 2; }, K::TooShort,
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

TEST_F(Insertion, UnknownBytesInTheWayAreCountedNotWritten)
{
    auto rom = test::SyntheticRom::Standard('E');
    // 0xAA under the data, but for one zero byte and one that the data repeats.
    std::fill_n(rom.bytes.begin() + 0x120000, kData.size(), 0xAA);
    rom.bytes[0x120001] = 0;
    rom.bytes[0x120002] = kData[2];
    auto planned = plan(request(rom, [](auto& r) { r.offsetText = "&H120000"; }));
    ASSERT_TRUE(planned) << planned.error().message;
    const auto same = std::count(kData.begin() + 3, kData.end(), 0xAA) + (kData[0] == 0xAA);
    EXPECT_EQ(planned->overwrite.bytes, static_cast<int64_t>(kData.size()) - 2 - same);
    EXPECT_EQ(planned->overwrite.first, kData[0] == 0xAA ? 0x120003 : 0x120000);
    // Over the slot's own old picture nothing unknown is in the way.
    auto own = plan(request(rom, [](auto& r) {
        r.offsetText = "&H100000";
        r.encoded = Encoded(25, 3);
        r.width = r.height = 40;
    }));
    ASSERT_TRUE(own) << own.error().message;
    EXPECT_EQ(own->overwrite.bytes, 0);
}

TEST_F(Insertion, DeletingTheOriginalSparesSharedBytes)
{
    auto rom = test::SyntheticRom::Standard('E');
    // Pokemon 1's front and back share one stream; Pokemon 2's old picture is
    // zeros that measure as a stream running on into trainer 66's (0x104000).
    rom.setPicturePointer(0x48003, 0x100000);
    std::fill_n(rom.bytes.begin() + 0x103F00, 0x100, 0);
    rom.setPicturePointer(0x48006, 0x103F00);
    const std::pair<int, const char*> cases[] = {
        {1, "Das alte Bild an Offset &H100000 wurde nicht gelöscht, weil das Löschen auch das Bild von Pokemon 1 "
            "(Backpic) treffen würde."},
        {2, "Das alte Bild an Offset &H103F00 wurde nicht gelöscht, weil das Löschen auch das Bild von Trainer 66 "
            "treffen würde."}};
    for (const auto& [pokemon, kept] : cases) {
        auto done = insert(request(rom, [&](auto& r) { r.pokemonNumber = pokemon; r.deleteOriginal = true; }));
        ASSERT_TRUE(done) << done.error().message;
        ASSERT_EQ(done->notes.size(), 1u);
        EXPECT_EQ(done->notes[0].german, kept);
        EXPECT_EQ(test::EnglishMismatch(done->notes[0].german, done->notes[0].english), "");
        expectFile({{0x1F0000, kData},
                    {PicturePointerLocation(false, pokemon, 1, false), kPointer},
                    {PaletteLocation(false, pokemon, false), kYellowBlue},
                    {rom.sizeByteLocation(pokemon), {0x77}}},
                   kept);
    }
}

TEST_F(Insertion, CommitChecksTheFileAndTheLock)
{
    auto rom = test::SyntheticRom::Standard('E');
    const InsertRequest r = request(rom);
    const auto commitAfter = [&](const std::function<void()>& meanwhile) {
        auto change = RomChange::Begin(path(), std::chrono::milliseconds(0));
        EXPECT_TRUE(change);
        auto planned = PlanInsertion(change->rom(), r);
        EXPECT_TRUE(planned);
        meanwhile();
        return change->Commit(ApplyPatches(change->rom(), planned->patches).value());
    };
    // Another program changes one byte, or renames another file over the ROM.
    auto changed = commitAfter([&] {
        auto bytes = rom.bytes;
        bytes[5] ^= 1;
        test::WriteFileBytes(path(), bytes);
    });
    ASSERT_FALSE(changed);
    EXPECT_EQ(changed.error().message,
              "Die Datei \"" + path().string() + "\" hat sich seit dem Lesen verändert, es wurde nichts geschrieben.");
    rom.write(path());
    auto renamed = commitAfter([&] {
        rom.write(dir_ / "other.gbc");
        std::filesystem::rename(dir_ / "other.gbc", path());
    });
    EXPECT_EQ(renamed.error().kind, K::FileChanged);
    expectFile({}, "changed meanwhile");

    // A second writer waits for the first, then plans from the ROM it left.
    auto first = RomChange::Begin(path());
    ASSERT_TRUE(first);
    auto busy = RomChange::Begin(path(), std::chrono::milliseconds(50));
    ASSERT_FALSE(busy);
    EXPECT_EQ(busy.error().kind, K::Busy);
    EXPECT_EQ(test::EnglishMismatch(busy.error().message, busy.error().english), "");
    auto planned = PlanInsertion(first->rom(), r);
    ASSERT_TRUE(planned);
    ASSERT_TRUE(first->Commit(ApplyPatches(first->rom(), planned->patches).value()));
    auto second = RomChange::Begin(path(), std::chrono::milliseconds(50));
    ASSERT_TRUE(second) << "the lock of a replaced file holds no one back";
    EXPECT_EQ(second->rom().bytes()[0x1F0000], kData[0]);

    // A temporary left by a killed run goes with the next commit; one that a
    // live writer holds (its lock) stays, and so does one of another ROM.
    const auto stale = dir_ / ".~orvista-tmp-rom_2Egbc-AbCdEf";
    const auto held = dir_ / ".~orvista-tmp-rom_2Egbc-HeLd01";
    const auto other = dir_ / ".~orvista-tmp-rom_5Fgbc-AbCdEf";
    for (const auto& file : {stale, held, other})
        test::WriteFileBytes(file, Bytes{1});
    EXPECT_TRUE(isReplacementTemporary(stale));
    const int writer = ::open(held.c_str(), O_RDWR);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    InsertRequest next = r;
    next.offsetText = "&H1F1000";
    auto again = PlanInsertion(second->rom(), next);
    ASSERT_TRUE(again);
    ASSERT_TRUE(second->Commit(ApplyPatches(second->rom(), again->patches).value()));
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(held));
    EXPECT_TRUE(std::filesystem::exists(other));
    ::close(writer);
}

// A write beyond the file-size limit fails: the message names the step in
// the user's language, and the ROM is as it was.
TEST_F(Insertion, AFailedWriteNamesItsStepInGerman)
{
    const InsertRequest r = request(test::SyntheticRom::Standard('E'));
    auto change = RomChange::Begin(path(), std::chrono::milliseconds(0));
    ASSERT_TRUE(change);
    auto planned = PlanInsertion(change->rom(), r);
    ASSERT_TRUE(planned);
    const auto bytes = ApplyPatches(change->rom(), planned->patches).value();

    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 0x10000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    auto failed = change->Commit(bytes);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);

    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().kind, K::WriteFailed);
    EXPECT_EQ(failed.error().message, "Die Datei \"" + path().string() +
                                          "\" konnte nicht geschrieben werden (Schreiben, Systemfehler 27: Die Datei "
                                          "ist zu groß). Sie ist unverändert.");
    EXPECT_TRUE(failed.error().english.find("(write, ") != std::string::npos) << failed.error().english;
    expectFile({}, "write failed");
}

TEST_F(Insertion, FreePlacePassesOverWhatThePlanRefuses)
{
    auto rom = test::SyntheticRom::Standard('E');
    // Zeros in bank 0, in bank 0x13 and inside the name table come first.
    std::fill_n(rom.bytes.begin() + 0x2000, 0x1000, 0);
    std::fill_n(rom.bytes.begin() + 0x4C000, 0x1000, 0);
    std::fill_n(rom.bytes.begin() + test::kNameTable + 0x800, 0x400, 0);
    const auto r = request(rom);
    auto image = RomFile::open(path()).value();
    auto planned = PlanInsertionAtFreePlace(image, r, 0);
    ASSERT_TRUE(planned) << planned.error().message;
    EXPECT_EQ(planned->dataOffset, test::kFreeArea + 2);
    // Without a slot, only bank 0 is passed over.
    auto data = PlanInsertionAtFreePlace(image, request(rom, [](auto& q) { q.replaceSlot = false; }), 0);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->dataOffset, 0x4C002);
    auto none = PlanInsertionAtFreePlace(image, r, test::kFreeArea + test::kFreeAreaLength);
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error().kind, K::NoRoom);
}

TEST_F(Insertion, FailuresAndNotesAlsoInEnglish)
{
    auto rom = test::SyntheticRom::Standard('E');
    rom.put(test::kRomSize - 3, Bytes{0x1F, 0x01, 0x02}); // no end marker
    rom.setPicturePointer(0x48012, test::kRomSize - 3);   // Pokemon 4 front
    const InsertRequest base = request(rom);              // writes rom.gbc
    const auto image = RomFile::open(path()).value();
    auto german = test::SyntheticRom::Standard('D');
    german.bytes[german.recordLocation(1)] = 0;
    german.write(dir_ / "german.gbc");
    test::SyntheticRom('E', 0x48004).write(dir_ / "short.gbc");
    test::SyntheticRom('E', 0x100).write(dir_ / "tiny.gbc");
    test::SyntheticRom('X').write(dir_ / "unknown.gbc");
    const auto missing = dir_ / "missing.gbc";

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
        return test::Texts(PlanInsertion(image, r));
    };
    const auto note = [&](const Change& change) -> std::pair<std::string, std::string> {
        InsertRequest r = base;
        change(r);
        const auto planned = Insertion::plan(r);
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
        {"missing ROM to insert into", test::Texts(RomChange::Begin(missing))},
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
        {"in the way", plan([](auto& r) { r.offsetText = "&H48000"; })},
        {"another picture", plan([](auto& r) { r.offsetText = "&H101000"; })},
        {"past the bank", plan([](auto& r) { r.offsetText = "&H1F3FF0"; })},
        {"size and data", plan([](auto& r) { r.width = r.height = 48; })},
        {"shape", plan([](auto& r) { r.trainer = true; r.width = r.height = 40; })},
        {"Unown shape", plan([](auto& r) { r.unown = true; r.unownIndex = 2; })},
        {"too many tiles", plan([](auto& r) { r.width = 80; r.anyShape = true; })},
        {"empty name", plan([](auto& r) { r.changeName = true; })},
        {"no stream", plan([](auto& r) { r.encoded = {1, 2, 3}; })},
        {"no room", test::Texts(PlanInsertionAtFreePlace(image, base, 0x1FFF00))},
        {"note: record", note([&](auto& r) { r.romPath = dir_ / "german.gbc"; })},
    };
    for (const auto& [what, texts] : cases)
        EXPECT_EQ(test::EnglishMismatch(texts.first, texts.second), "") << what;
}

} // namespace
} // namespace orv::rom
