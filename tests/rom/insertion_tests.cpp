#include <gtest/gtest.h>

#include "insertion.h"
#include "synthetic_rom.h"

namespace orv::rom {
namespace {

using Bytes = std::vector<uint8_t>;

class Insertion : public ::testing::Test {
protected:
    // The insertion as the wizard runs it: plan, then write when the plan stands.
    std::expected<InsertionPlan, RomError> insert(const InsertRequest& r)
    {
        auto plan = PlanInsertion(r);
        if (!plan)
            return plan;
        if (auto written = ApplyInsertion(r.romPath, *plan); !written)
            return std::unexpected(written.error());
        return plan;
    }

    InsertRequest request(const test::SyntheticRom& rom, const std::string& offset)
    {
        rom.write(path());
        original_ = rom.bytes;
        InsertRequest r;
        r.romPath = path();
        r.encoded = picture_.stream;
        r.offsetText = offset;
        r.colour1 = 0xFFFF00;
        r.colour2 = 0x0000FF;
        r.width = r.height = 48;
        return r;
    }

    // The original with bytes put at offsets, as the test expects them.
    Bytes expected(std::initializer_list<std::pair<int64_t, Bytes>> changes) const
    {
        Bytes out = original_;
        for (const auto& [offset, bytes] : changes)
            std::copy(bytes.begin(), bytes.end(), out.begin() + offset);
        return out;
    }

    void expectFile(const Bytes& wanted)
    {
        const auto changed = test::ChangedOffsets(wanted, test::ReadFileBytes(path()));
        EXPECT_TRUE(changed.empty()) << changed.size() << " unexpected bytes, first at 0x" << std::hex
                                     << (changed.empty() ? 0 : changed.front());
    }

    std::filesystem::path path() const { return dir_ / "rom.gbc"; }

    static inline const Bytes kYellowBlue{0xFF, 0x03, 0x00, 0x7C};
    test::TempDir dir_;
    Bytes original_;
    // 36 tiles, 48 x 48, literal form so its size is known here.
    test::PlacedPicture picture_{0, test::MakeTiles(36, 99),
                                 test::LiteralStream(test::MakeTiles(36, 99))};
};

TEST_F(Insertion, PokemonBackShinyInFreeSpace)
{
    auto rom = test::SyntheticRom::Standard('E');
    auto r = request(rom, "&H1F0000");
    r.pokemonNumber = 25;
    r.back = true;
    r.shiny = true;
    auto plan = insert(r);
    ASSERT_TRUE(plan) << plan.error().message;
    EXPECT_EQ(plan->dataOffset, 0x1F0000);
    EXPECT_TRUE(plan->notes.empty());
    expectFile(expected({{0x1F0000, r.encoded}, {0x48093, {0x7C, 0x00, 0x40}}, {0xAE09, kYellowBlue}}));
}

TEST_F(Insertion, FrontSizeByteByLanguage)
{
    // 49 tiles of 56 x 56 pixels: 0x77 at the language's location only.
    for (auto [language, sizeByte] : {std::pair{'E', 0x51B1C}, {'D', 0x51B11}}) {
        auto rom = test::SyntheticRom::Standard(language);
        auto r = request(rom, "&H1F0000");
        r.width = r.height = 56;
        auto plan = insert(r);
        ASSERT_TRUE(plan) << plan.error().message;
        EXPECT_TRUE(plan->notes.empty());
        expectFile(expected({{0x1F0000, r.encoded},
                             {0x48000, {0x7C, 0x00, 0x40}},
                             {0xAD45, kYellowBlue},
                             {sizeByte, {0x77}}}));
    }
}

TEST_F(Insertion, UnownForm)
{
    auto rom = test::SyntheticRom::Standard('E');
    for (bool back : {false, true}) {
        auto r = request(rom, "&H1F0000");
        r.pokemonNumber = 12; // the Unown box makes it 201
        r.unown = true;
        r.unownIndex = 3;
        r.back = back;
        ASSERT_TRUE(insert(r));
        if (back)
            expectFile(
                expected({{0x1F0000, r.encoded}, {0x7C00F, {0x7C, 0x00, 0x40}}, {0xB385, kYellowBlue}}));
        else
            expectFile(expected({{0x1F0000, r.encoded},
                                 {0x7C00C, {0x7C, 0x00, 0x40}},
                                 {0xB385, kYellowBlue},
                                 {0x5341C, {0x66}}}));
    }
}

TEST_F(Insertion, TrainerIgnoresPokemonChoices)
{
    auto rom = test::SyntheticRom::Standard('E');
    auto r = request(rom, "&H1F0000");
    r.trainer = true;
    r.trainerNumber = 2;
    r.back = true;
    r.shiny = true;
    r.changeName = true;
    r.newName = "ROCKO";
    auto plan = insert(r);
    ASSERT_TRUE(plan) << plan.error().message;
    expectFile(expected({{0x1F0000, r.encoded}, {0x80003, {0x7C, 0x00, 0x40}}, {0xB545, kYellowBlue}}));
}

TEST_F(Insertion, BareOffsetWritesOnlyTheData)
{
    auto rom = test::SyntheticRom::Standard('X');
    auto r = request(rom, "1F0000"); // decimal: reading stops at "F"
    r.replaceSlot = false;
    r.deleteOriginal = true;
    r.changeName = true;
    r.newName = "#";
    auto plan = insert(r);
    ASSERT_TRUE(plan) << plan.error().message;
    EXPECT_EQ(plan->dataOffset, 1);
    ASSERT_EQ(plan->patches.size(), 1u);
    expectFile(expected({{1, r.encoded}}));
}

TEST_F(Insertion, DeleteOriginalAtTheSameOffset)
{
    auto rom = test::SyntheticRom::Standard('E');
    const auto& old = rom.picture("poke1front");
    auto r = request(rom, "&H100000");
    r.deleteOriginal = true;
    r.changeName = true;
    r.newName = "NEU";
    r.nameLength = 10;
    r.encoded = test::LiteralStream(test::MakeTiles(4, 5)); // 16 x 16, shorter than the old stream
    r.width = r.height = 16;
    ASSERT_LT(r.encoded.size(), old.stream.size());
    auto plan = insert(r);
    ASSERT_TRUE(plan) << plan.error().message;
    std::vector<PatchKind> kinds;
    for (const auto& p : plan->patches)
        kinds.push_back(p.kind);
    EXPECT_EQ(kinds, (std::vector{PatchKind::ZeroOldPicture, PatchKind::PictureData, PatchKind::Palette,
                                  PatchKind::Name, PatchKind::PicturePointer, PatchKind::SizeByte}));
    Bytes zeros(old.stream.size(), 0);
    expectFile(
        expected({{0x100000, zeros},
                  {0x100000, r.encoded},
                  {0xAD45, kYellowBlue},
                  {test::kNameTable, {0x8D, 0x84, 0x94, 0x50, 0x50, 0x50, 0x50, 0x50, 0x50, 0x50}},
                  {0x48000, {0x40, 0x00, 0x40}},
                  {0x51B1C, {0x22}}}));
}

TEST_F(Insertion, DeleteOriginalElsewhereInRemappedBank)
{
    auto rom = test::SyntheticRom::Standard('E');
    const auto& old = rom.picture("unown3front"); // bank 0x2E, stored as 0x1F
    auto r = request(rom, "&H1F0000");
    r.unown = true;
    r.unownIndex = 3;
    r.deleteOriginal = true;
    ASSERT_TRUE(insert(r));
    expectFile(expected({{old.offset, Bytes(old.stream.size(), 0)},
                         {0x1F0000, r.encoded},
                         {0x7C00C, {0x7C, 0x00, 0x40}},
                         {0xB385, kYellowBlue},
                         {0x5341C, {0x66}}}));
}

TEST_F(Insertion, SizeByteLeftAloneWithNote)
{
    struct Case {
        const char* what;
        char language;
        int width;
        int recordByte; // -1 keeps the species number
        const char* note;
    };
    const Case cases[] = {
        {"unknown language", 'X', 56, -1, "Die Sprache des Roms konnte nicht erkannt werden."},
        {"record of another species", 'E', 56, 7, "gehört nicht zu Pokemon 1 (gefunden: 7)."},
        {"german record without number", 'D', 56, 0, "Datensatz an Offset &H51B00"},
        {"ten tiles wide", 'E', 80, -1, "passt mit 10 x 7 Kacheln nicht"},
    };
    for (const auto& c : cases) {
        auto rom = test::SyntheticRom::Standard(c.language);
        if (c.recordByte >= 0)
            rom.bytes[rom.recordLocation(1)] = static_cast<uint8_t>(c.recordByte);
        auto r = request(rom, "&H1F0000");
        r.width = c.width;
        r.height = 56;
        auto plan = insert(r);
        ASSERT_TRUE(plan) << c.what << ": " << plan.error().message;
        ASSERT_EQ(plan->notes.size(), 1u) << c.what;
        EXPECT_NE(plan->notes[0].find("Die Größenangabe des Bildes wurde nicht geschrieben: "),
                  std::string::npos);
        EXPECT_NE(plan->notes[0].find(c.note), std::string::npos) << c.what << ": " << plan->notes[0];
        expectFile(
            expected({{0x1F0000, r.encoded}, {0x48000, {0x7C, 0x00, 0x40}}, {0xAD45, kYellowBlue}}));
    }
}

TEST_F(Insertion, RefusedBeforeAnyWrite)
{
    auto rom = test::SyntheticRom::Standard('E');
    // An old picture that runs into the end of the file without an end marker.
    rom.put(test::kRomSize - 3, Bytes{0x1F, 0x01, 0x02});
    rom.setPokemonPicture(4, false, test::kRomSize - 3);
    auto base = request(rom, "&H1F0000");
    const auto n = static_cast<int64_t>(base.encoded.size());
    auto with = [&](auto change) {
        auto r = base;
        change(r);
        return r;
    };
    struct Case {
        const char* what;
        InsertRequest request;
        RomError::Kind kind;
        std::string text;
    };
    const Case cases[] = {
        {"offset after the last place",
         with([&](auto& r) { r.offsetText = std::to_string(test::kRomSize - n); }),
         RomError::Kind::OutOfRange,
         "Der Offset " + std::to_string(test::kRomSize - n) +
             " liegt außerhalb des erlaubten Bereichs von 0 bis " +
             std::to_string(test::kRomSize - n - 1) + "."},
        {"negative offset", with([](auto& r) { r.offsetText = "-1"; }), RomError::Kind::OutOfRange,
         "Der Offset -1"},
        {"bank 0x13", with([](auto& r) { r.offsetText = "&H4C100"; }), RomError::Kind::OutOfRange,
         "kann von keinem Bildzeiger erreicht werden"},
        {"pokemon 0", with([](auto& r) { r.pokemonNumber = 0; }), RomError::Kind::OutOfRange,
         "Pokemonnummer 0"},
        {"pokemon 252", with([](auto& r) { r.pokemonNumber = 252; }), RomError::Kind::OutOfRange,
         "Pokemonnummer 252"},
        {"unown 27", with([](auto& r) {
             r.unown = true;
             r.unownIndex = 27;
         }),
         RomError::Kind::OutOfRange,
         "Der Unown-Index 27 liegt außerhalb des erlaubten Bereichs von 1 bis 26."},
        {"201 without box, index 0", with([](auto& r) {
             r.pokemonNumber = 201;
             r.unownIndex = 0;
         }),
         RomError::Kind::OutOfRange, "Unown-Index 0"},
        {"trainer 67", with([](auto& r) {
             r.trainer = true;
             r.trainerNumber = 67;
         }),
         RomError::Kind::OutOfRange, "Trainernummer 67"},
        {"name length 21", with([](auto& r) {
             r.changeName = true;
             r.nameLength = 21;
         }),
         RomError::Kind::OutOfRange, "Namenslänge 21"},
        {"name with #", with([](auto& r) {
             r.changeName = true;
             r.newName = "MEW#";
         }),
         RomError::Kind::BadName, "\"#\""},
        {"name too long", with([](auto& r) {
             r.changeName = true;
             r.newName = "ABCDEFGHIJK";
         }),
         RomError::Kind::BadName, "braucht 11 Bytes"},
        {"old picture broken", with([](auto& r) {
             r.pokemonNumber = 4;
             r.deleteOriginal = true;
         }),
         RomError::Kind::NoPicture, "Das alte Bild an Offset &H1FFFFD kann nicht gelöscht werden"},
        {"no data", with([](auto& r) { r.encoded.clear(); }), RomError::Kind::NoPicture,
         "keine Bilddaten"},
        {"missing file", with([&](auto& r) { r.romPath = dir_ / "missing.gbc"; }),
         RomError::Kind::OpenFailed, "Error: 2"},
    };
    for (const auto& c : cases) {
        auto result = insert(c.request);
        ASSERT_FALSE(result) << c.what;
        EXPECT_EQ(result.error().kind, c.kind) << c.what << ": " << result.error().message;
        EXPECT_NE(result.error().message.find(c.text), std::string::npos)
            << c.what << ": " << result.error().message;
        expectFile(original_);
    }
}

TEST_F(Insertion, NameNeedsARecognisedLanguage)
{
    auto rom = test::SyntheticRom::Standard('X');
    auto r = request(rom, "&H1F0000");
    r.changeName = true;
    r.newName = "MEW";
    auto result = insert(r);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().message, "Fehler: Sprache des Roms konnte nicht erkannt werden.");
    expectFile(original_);
}

TEST_F(Insertion, ShortRomsAreRefused)
{
    struct Case {
        const char* what;
        int64_t size;
        int number;
        const char* text;
    };
    const Case cases[] = {
        {"pointer table", 0x48050, 25, "zu kurz für die Zeigertabelle"},
        {"size byte", 0x51B30, 2, "zu kurz für die Größenangabe"},
    };
    for (const auto& c : cases) {
        test::SyntheticRom rom('E', c.size);
        rom.fill(0x1000, 0x1000, 0);
        auto r = request(rom, "&H1000");
        r.pokemonNumber = c.number;
        auto result = insert(r);
        ASSERT_FALSE(result) << c.what;
        EXPECT_EQ(result.error().kind, RomError::Kind::TooShort) << c.what;
        EXPECT_NE(result.error().message.find(c.text), std::string::npos) << result.error().message;
        expectFile(original_);
    }
}

TEST_F(Insertion, OffsetsFromFourMegabytesOnHaveNoPointer)
{
    test::SyntheticRom rom('E', 0x400400);
    auto r = request(rom, "&H400000");
    auto result = insert(r);
    ASSERT_FALSE(result);
    EXPECT_NE(result.error().message.find("&H400000 kann von keinem Bildzeiger"), std::string::npos);
    expectFile(original_);
    r.replaceSlot = false; // the data alone may go there
    ASSERT_TRUE(insert(r));
    expectFile(expected({{0x400000, r.encoded}}));
}

TEST_F(Insertion, ApplyChecksTheFileAgain)
{
    auto rom = test::SyntheticRom::Standard('E');
    auto r = request(rom, "&H1F0000");
    auto plan = PlanInsertion(r);
    ASSERT_TRUE(plan);
    // The dry run names every byte; the file is still untouched.
    expectFile(original_);
    auto grown = rom;
    grown.bytes.push_back(1);
    grown.write(path());
    auto changed = ApplyInsertion(path(), *plan);
    ASSERT_FALSE(changed);
    EXPECT_EQ(changed.error().kind, RomError::Kind::FileChanged);
    EXPECT_EQ(test::ReadFileBytes(path()), grown.bytes);
    EXPECT_EQ(ApplyInsertion(dir_ / "missing.gbc", *plan).error().message, "Error: 2");
    auto outside = *plan;
    outside.patches.push_back({PatchKind::Name, outside.fileSize - 1, {1, 2}});
    rom.write(path());
    EXPECT_EQ(ApplyInsertion(path(), outside).error().kind, RomError::Kind::FileChanged);
    expectFile(original_);
}

} // namespace
} // namespace orv::rom
