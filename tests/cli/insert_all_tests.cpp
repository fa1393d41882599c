// Every picture out as four-colour PNGs, edited by other writers, and back in
// with insert-all: colours keep their roles, untouched pictures stay as they are.

#include <QImage>
#include <gtest/gtest.h>
#include <sstream>

#include "cli_run.h"
#include "cli_coding.h"
#include "extraction.h"
#include "picture_fixtures.h"
#include "picture_image.h"
#include "tiles.h"
#include "synthetic_rom.h"

namespace orv::test {
namespace {

using Bytes = std::vector<uint8_t>;


rom::ExtractRequest Slot(const std::filesystem::path& rom, int pokemon, bool back = false, bool trainer = false)
{
    rom::ExtractRequest r;
    r.romPath = rom;
    r.pokemonNumber = pokemon;
    r.back = back;
    r.trainer = trainer;
    r.trainerNumber = pokemon;
    return r;
}

class InsertAll : public ::testing::Test {
protected:
    void SetUp() override
    {
        rom.write(dir / "rom.gb");
        const CliRun extracted = Invoke({"extract-all", at("rom.gb"), at("pics")});
        ASSERT_EQ(extracted.code, 0) << extracted.err;
    }
    std::string at(const std::string& name) const { return (dir / name).string(); }
    QString picture(const std::string& name) const { return QString::fromStdString(at("pics/" + name)); }

    const SyntheticRom rom = SyntheticRom::Standard('E');
    TempDir dir;
};

TEST_F(InsertAll, ExtractedPicturesAreFourColourPngsThatGoBackUnchanged)
{
    const QImage png(picture("pokemon-001-front.png"));
    ASSERT_EQ(png.format(), QImage::Format_Indexed8);
    // White, the slot's colours in their order (FF 03 00 7C: yellow, blue), black.
    EXPECT_EQ(png.colorTable(), (QList<QRgb>{0xFFFFFFFF, 0xFFFFFF00, 0xFF0000FF, 0xFF000000}));
    const CliRun run = Invoke({"insert-all", at("pics"), at("rom.gb")});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("pokemon-001-front.png: unchanged\n"), std::string::npos);
    EXPECT_NE(run.out.find("0 of 620 pictures changed; free bytes (runs of 64 and more) 32768 before, 32768 after"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), rom.bytes);
}

TEST_F(InsertAll, EditedPicturesKeepTheirColourRolesWhateverTheWriter)
{
    // Mirrored, then saved by Qt with the palette reordered, and as RGB.
    QImage reordered = QImage(picture("pokemon-001-front.png")).mirrored(true, false);
    QList<QRgb> table = reordered.colorTable();
    const QList<QRgb> order{table[3], table[2], table[0], table[1]};
    QImage indexed(reordered.size(), QImage::Format_Indexed8);
    indexed.setColorTable(order);
    for (int y = 0; y < reordered.height(); ++y)
        for (int x = 0; x < reordered.width(); ++x)
            indexed.setPixel(x, y, static_cast<uint>(order.indexOf(reordered.pixel(x, y))));
    ASSERT_TRUE(indexed.save(picture("pokemon-001-front.png"), "PNG"));
    // Flipped with its top rows painted white: smaller, so it stays where it was.
    QImage rgb = QImage(picture("trainer-02.png")).mirrored(false, true).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < rgb.width(); ++x)
            rgb.setPixel(x, y, 0xFFFFFFFF);
    ASSERT_TRUE(rgb.save(picture("trainer-02.png"), "PNG"));
    // One of the 600 slots that share the placeholder, and a file for no slot.
    const QImage shared = QImage(picture("pokemon-100-back.png")).mirrored(true, true);
    ASSERT_TRUE(shared.save(picture("pokemon-100-back.png"), "PNG"));
    WriteFileBytes(dir / "pics/notes.txt", Bytes{'h', 'i'});

    // The placeholder's 32 x 32 is no shape of a back picture: refused, unless
    // --any-shape says the ROM's code draws it.
    const CliRun misshapen = Invoke({"insert-all", at("pics"), at("rom.gb")});
    EXPECT_EQ(misshapen.code, 1);
    EXPECT_NE(misshapen.err.find("pokemon-100-back.png: The picture is 32 x 32 pixels; as a Pokemon back picture the "
                                 "game draws only pictures of 48 x 48 pixels correctly."),
              std::string::npos)
        << misshapen.err;
    EXPECT_NE(misshapen.err.find("1 picture cannot go into its slot as named above. Nothing was written. Give "
                                 "--any-shape"),
              std::string::npos)
        << misshapen.err;
    EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), rom.bytes);

    // As a patch first: the ROM stays as it is.
    const CliRun patch =
        Invoke({"insert-all", at("pics"), at("rom.gb"), "--any-shape", "--patch", at("batch.ips")});
    ASSERT_EQ(patch.code, 0) << patch.err;
    EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), rom.bytes);
    EXPECT_GT(ReadFileBytes(dir / "batch.ips").size(), 8u);

    const CliRun run = Invoke({"insert-all", at("pics"), at("rom.gb"), "--any-shape"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(run.out.find("pokemon-001-front.png: replaced in place at 0x100000") != std::string::npos ||
                run.out.find("pokemon-001-front.png: moved from 0x100000") != std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("trainer-02.png: replaced in place at 0x103000"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("pokemon-100-back.png: moved from 0x110000 (left there: shared) to "), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("notes.txt: ignored"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("3 of 620 pictures changed"), std::string::npos) << run.out;

    // Each edited slot shows exactly the edited pixels in its old colours.
    const std::tuple<rom::ExtractRequest, QImage> edited[] = {
        {Slot(dir / "rom.gb", 1), reordered}, {Slot(dir / "rom.gb", 2, false, true), rgb},
        {Slot(dir / "rom.gb", 100, true), shared}};
    for (const auto& [request, image] : edited) {
        const auto before = rom::ExtractFromRom(rom::RomFile::fromBytes(request.romPath, rom.bytes), request).value();
        const auto after = rom::ExtractFromRom(request);
        ASSERT_TRUE(after) << after.error().english;
        EXPECT_EQ(after->palette.text, before.palette.text);
        WorkingPicture shown{after->width, after->height, {}, {}};
        shown.pixels = DecodeTiles(after->tileData,
                                   {kWhite, after->palette.colours[0], after->palette.colours[1], kBlack, kBlack},
                                   after->width, after->height, TileOrder::Vertical);
        ASSERT_EQ(QSize(shown.width, shown.height), image.size());
        int wrong = 0;
        for (int t = 0; t < image.height(); ++t)
            for (int x = 0; x < image.width(); ++x)
                wrong += shown.atTop(x, t) != (image.pixel(x, t) & 0xFFFFFF);
        EXPECT_EQ(wrong, 0) << request.pokemonNumber;
    }
    // Every other slot is as it was.
    const auto original = rom::RomFile::fromBytes(dir / "rom.gb", rom.bytes);
    const auto now = rom::RomFile::open(dir / "rom.gb").value();
    int others = 0;
    for (int n : {1, 25, 99, 100, 101, 251})
        for (bool back : {false, true}) {
            if ((n == 1 && !back) || (n == 100 && back))
                continue;
            const auto a = rom::ExtractFromRom(original, Slot(dir / "rom.gb", n, back));
            const auto b = rom::ExtractFromRom(now, Slot(dir / "rom.gb", n, back));
            ASSERT_TRUE(a && b);
            EXPECT_EQ(std::tie(a->offset, a->tileData), std::tie(b->offset, b->tileData)) << n << " " << back;
            ++others;
        }
    EXPECT_EQ(others, 10);

    // Again: nothing left to change.
    const CliRun again = Invoke({"insert-all", at("pics"), at("rom.gb"), "--dry-run"});
    EXPECT_NE(again.out.find("0 of 620 pictures would change"), std::string::npos) << again.out;
}

TEST_F(InsertAll, ABatchThatCannotFitOrDisagreesWritesNothing)
{
    // Two noisy pictures where each old stream is too small, with room for one.
    SyntheticRom tight = rom;
    std::fill_n(tight.bytes.begin() + kFreeArea + 0x400, kFreeAreaLength - 0x400, 0x11);
    tight.write(dir / "rom.gb");
    uint32_t state = 12345;
    for (const char* name : {"trainer-02.png", "trainer-66.png"}) {
        QImage noise(56, 56, QImage::Format_Indexed8);
        noise.setColorTable({0xFFFFFFFF, 0xFFFF0000, 0xFF0000FF, 0xFF000000});
        for (int y = 0; y < 56; ++y)
            for (int x = 0; x < 56; ++x)
                noise.setPixel(x, y, (state = state * 1664525u + 1013904223u) >> 30);
        ASSERT_TRUE(noise.save(picture(name), "PNG"));
    }
    const CliRun full = Invoke({"insert-all", at("pics"), at("rom.gb")});
    EXPECT_EQ(full.code, 1);
    EXPECT_NE(full.err.find("trainer-66.png needs "), std::string::npos) << full.err;
    EXPECT_NE(full.err.find("but the largest free run is "), std::string::npos) << full.err;
    EXPECT_NE(full.err.find("Nothing was written."), std::string::npos) << full.err;
    EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), tight.bytes);

    // pokemon-201 is the first Unown form: two different pictures for it are refused.
    rom.write(dir / "rom.gb");
    std::filesystem::remove(dir / "pics/trainer-02.png");
    std::filesystem::remove(dir / "pics/trainer-66.png");
    ASSERT_TRUE(QImage(picture("unown-01-front.png")).mirrored(true, false).save(picture("unown-01-front.png")));
    ASSERT_TRUE(QImage(picture("pokemon-201-front.png")).mirrored(false, true).save(picture("pokemon-201-front.png")));
    const CliRun twice = Invoke({"insert-all", at("pics"), at("rom.gb")});
    EXPECT_EQ(twice.code, 1);
    EXPECT_NE(twice.err.find("pokemon-201-front.png and unown-01-front.png are one slot but hold different pictures"),
              std::string::npos)
        << twice.err;
    EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), rom.bytes);
}

// The 26 Unown fronts share one size byte: they take a new size only all
// together, or one of them with --any-shape.
TEST_F(InsertAll, UnownFrontsChangeTheirSizeOnlyTogether)
{
    constexpr int64_t sizeByte = 0x5341C; // Pokemon 201's, English layout
    const auto letters = [&](int count, int side) {
        for (int u = 1; u <= count; ++u) {
            const QString name = picture(QString::asprintf("unown-%02d-front.png", u).toStdString());
            ASSERT_TRUE(ToQImage(ShadePattern(side, side)).mirrored(u % 2, u % 3).save(name, "PNG"));
        }
    };
    // The letters alone: their backs share their palette, which the fronts change.
    std::filesystem::remove_all(dir / "pics");
    std::filesystem::create_directory(dir / "pics");
    letters(26, 48);
    const CliRun together = Invoke({"insert-all", at("pics"), at("rom.gb")});
    ASSERT_EQ(together.code, 0) << together.err;
    EXPECT_NE(together.out.find("26 of 26 pictures changed"), std::string::npos) << together.out;
    Bytes now = ReadFileBytes(dir / "rom.gb");
    EXPECT_EQ(now.at(sizeByte), 0x66);
    for (int u : {1, 13, 26}) {
        rom::ExtractRequest letter = Slot(dir / "rom.gb", rom::kUnownNumber);
        letter.unownIndex = u;
        const auto extracted = rom::ExtractFromRom(letter);
        ASSERT_TRUE(extracted) << extracted.error().english;
        EXPECT_EQ(extracted->width, 48) << u;
    }

    // 25 letters in another size: refused, each named, the ROM as it was.
    letters(25, 56);
    const CliRun partly = Invoke({"insert-all", at("pics"), at("rom.gb")});
    EXPECT_EQ(partly.code, 1);
    EXPECT_NE(partly.err.find("unown-25-front.png: The picture is 56 x 56 pixels; as an Unown front picture the game "
                              "draws only pictures of 48 x 48 pixels correctly, the size that the size byte all 26 "
                              "Unown share holds now."),
              std::string::npos)
        << partly.err;
    EXPECT_NE(partly.err.find("25 pictures cannot go into their slots"), std::string::npos) << partly.err;
    EXPECT_NE(partly.err.find("The Unown fronts take a new size only all 26 together, in one shape."),
              std::string::npos)
        << partly.err;
    EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), now);

    // With --any-shape they go in, and the shared byte follows the last one written.
    const CliRun forced = Invoke({"insert-all", at("pics"), at("rom.gb"), "--any-shape"});
    ASSERT_EQ(forced.code, 0) << forced.err;
    EXPECT_NE(forced.out.find("25 of 26 pictures changed"), std::string::npos) << forced.out;
    EXPECT_EQ(ReadFileBytes(dir / "rom.gb").at(sizeByte), 0x77);
}

TEST(ColourRoles, SlotPaletteThenIndexedEntriesThenTheFirstFound)
{
    TempDir dir;
    // The scan (columns from the bottom up) finds blue before yellow; the slot's pair is yellow, blue.
    const auto quadrants = [](int x, int t) { return x < 8 ? (t < 8 ? kYellow : kBlue) : (t < 8 ? kWhite : kBlack); };
    const QImage rgb = ToQImage(MakePicture(16, 16, quadrants));
    ASSERT_TRUE(rgb.save(QString::fromStdString((dir / "rgb.png").string()), "PNG"));
    QImage indexed(16, 16, QImage::Format_Indexed8);
    indexed.setColorTable({0xFFFFFFFF, 0xFFFFFF00, 0xFF0000FF, 0xFF000000}); // yellow as colour 1
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            indexed.setPixel(x, y, static_cast<uint>(indexed.colorTable().indexOf(rgb.pixel(x, y))));
    ASSERT_TRUE(indexed.save(QString::fromStdString((dir / "indexed.png").string()), "PNG"));

    const auto colours = [&](const char* file, std::optional<PalettePair> pair, std::optional<Colour> given = {}) {
        cli::CodingOptions options;
        options.slotPair = pair;
        options.colour1 = given;
        const auto coded = cli::CodeSource(dir / file, options).value();
        return std::pair(coded.picture.palette[1], coded.picture.palette[2]);
    };
    const PalettePair yellowBlue{0xFF, 0x03, 0x00, 0x7C}, blueYellow{0x00, 0x7C, 0xFF, 0x03},
        other{0x1F, 0x00, 0xE0, 0x03};
    EXPECT_EQ(colours("rgb.png", yellowBlue), std::pair(kYellow, kBlue));     // the slot's order
    EXPECT_EQ(colours("rgb.png", other), std::pair(kBlue, kYellow));          // first found
    EXPECT_EQ(colours("indexed.png", other), std::pair(kYellow, kBlue));      // entries 1 and 2
    EXPECT_EQ(colours("indexed.png", blueYellow), std::pair(kBlue, kYellow)); // the slot before the entries
    EXPECT_EQ(colours("rgb.png", yellowBlue, kBlue).first, kBlue);            // given wins
}

} // namespace
} // namespace orv::test
