// Sprite packs on synthetic ROMs: extract-all --layout pret and insert-all of
// that folder, the front of the ROM's edition, grayscale pictures beside a
// normal.pal, pictures of fewer colours, disagreeing pictures; the palette
// command and which ROM info names.

#include <QImage>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>

#include "cli_run.h"
#include "extraction.h"
#include "messages_en.h"
#include "patch_appliers.h"
#include "rom_io.h"
#include "synthetic_rom.h"

namespace orv::test {
namespace {

using Bytes = std::vector<uint8_t>;
using K = rom::Slot::Kind;

// A 5-bit component as the packs' PNGs write it, and a game colour word so.
int Spread(int c) { return (c << 3) | (c >> 2); }
QRgb PackRgb(unsigned word) { return qRgb(Spread(word & 31), Spread(word >> 5 & 31), Spread(word >> 10 & 31)); }

// An 11-character title, the game code when given (its last letter is the
// language byte), and the colour flag that makes the code part of the header.
void SetHeader(SyntheticRom& rom, std::string_view title, std::string_view code)
{
    std::fill_n(rom.bytes.begin() + 0x134, 11, 0);
    std::ranges::copy(title, rom.bytes.begin() + 0x134);
    std::ranges::copy(code, rom.bytes.begin() + 0x13F);
    rom.bytes[0x143] = 0x80;
}

void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The shade (0 white .. 3 black) of every pixel of a slot as the ROM holds it.
std::vector<int> SlotShades(const std::filesystem::path& romFile, const rom::Slot& slot)
{
    const auto picture = rom::ExtractFromRom(ReadRomFile(romFile).value(), {.slot = slot}).value();
    std::vector<int> shades;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            // Vertical tile order: tiles column by column, 2 bits per pixel.
            const int tile = (x / 8) * (picture.height / 8) + y / 8;
            const size_t row = static_cast<size_t>(tile) * 16 + (y % 8) * 2;
            const int bit = 7 - x % 8;
            shades.push_back((picture.tileData[row] >> bit & 1) | (picture.tileData[row + 1] >> bit & 1) << 1);
        }
    return shades;
}

std::vector<int> ImageShades(const QImage& image, const std::vector<int>& shadeOfIndex = {0, 1, 2, 3})
{
    std::vector<int> shades;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            shades.push_back(shadeOfIndex.at(static_cast<size_t>(image.pixelIndex(x, y))));
    return shades;
}

class Pack : public ::testing::Test {
protected:
    void SetUp() override { Extract(); }
    void Extract()
    {
        rom.write(dir / "rom.gb");
        std::filesystem::remove_all(dir / "pack");
        const CliRun extracted = Invoke({"extract-all", at("rom.gb"), at("pack"), "--layout", "pret"});
        ASSERT_EQ(extracted.code, 0) << extracted.err;
        ASSERT_NE(extracted.out.find("870 files written"), std::string::npos) << extracted.out;
    }
    std::string at(const std::string& name) const { return (dir / name).string(); }
    QString png(const std::string& relative) const { return QString::fromStdString(at("pack/" + relative)); }
    CliRun insertAll(std::vector<std::string> more = {}) const
    {
        std::vector<std::string> args{"insert-all", at("pack"), at("rom.gb")};
        args.insert(args.end(), more.begin(), more.end());
        return Invoke(args);
    }

    SyntheticRom rom = SyntheticRom::Standard('E');
    TempDir dir;
};

TEST_F(Pack, TheLayoutGoesBackByteIdenticalFromItselfOrACheckout)
{
    // Pikachu's colours: normal {25, 11, E6, 22}, shiny {25, 33, 44, 25}.
    const QImage front(png("pokemon/pikachu/front.png"));
    ASSERT_EQ(front.format(), QImage::Format_Indexed8);
    EXPECT_EQ(front.colorTable(), (QList<QRgb>{qRgb(255, 255, 255), PackRgb(0x1119), PackRgb(0x22E6), qRgb(0, 0, 0)}));
    EXPECT_EQ(ReadText(dir / "pack/pokemon/pikachu/shiny.pal"), "\tRGB 25, 24, 12\n\tRGB 04, 10, 06\n");
    // Unown's shared pairs are Pokemon 201's; the letters have pictures only.
    EXPECT_EQ(ReadText(dir / "pack/pokemon/unown/normal.pal"), "\tRGB 09, 14, 04\n\tRGB 22, 17, 08\n");
    EXPECT_TRUE(std::filesystem::exists(dir / "pack/pokemon/unown_z/back.png"));
    EXPECT_FALSE(std::filesystem::exists(dir / "pack/pokemon/unown/front.png"));
    EXPECT_TRUE(std::filesystem::exists(dir / "pack/trainers/falkner.png"));

    const CliRun run = insertAll();
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("pokemon/pikachu/shiny.pal: unchanged\n"), std::string::npos);
    EXPECT_NE(run.out.find("0 of 870 files changed"), std::string::npos) << run.out;
    EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), rom.bytes);

    // The same folder as a checkout's gfx/, among files the layout does not know.
    std::filesystem::create_directories(dir / "checkout");
    std::filesystem::rename(dir / "pack", dir / "checkout/gfx");
    std::filesystem::create_directories(dir / "checkout/gfx/egg");
    WriteText(dir / "checkout/gfx/egg/egg.png", "x");
    WriteText(dir / "checkout/README.md", "x");
    for (const char* name : {"pikachu", "bulbasaur"})
        WriteText(dir / "checkout/gfx/pokemon" / name / "anim.asm", "x");
    const CliRun checkout = Invoke({"insert-all", at("checkout"), at("rom.gb")});
    ASSERT_EQ(checkout.code, 0) << checkout.err;
    EXPECT_NE(checkout.out.find("\negg/: ignored (not part of the layout)\n"), std::string::npos) << checkout.out;
    EXPECT_NE(checkout.out.find("\npokemon/*/anim.asm: ignored (not part of the layout; 2 files)\n"),
              std::string::npos)
        << checkout.out;
    EXPECT_EQ(checkout.out.find("README"), std::string::npos);
    EXPECT_NE(checkout.out.find("0 of 870 files changed"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), rom.bytes);
}

TEST_F(Pack, AChangedShinyPalChangesItsFourBytesAndTheChecksum)
{
    // Pikachu's shiny pair at 0xAD3D + 8 * 25 + 4.
    WriteText(dir / "pack/pokemon/pikachu/shiny.pal", "\tRGB 01, 02, 03\n\n\tRGB 04, 05, 06\n");
    const CliRun run = insertAll();
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("pokemon/pikachu/shiny.pal: palette set at 0xAE09\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1 of 870 files changed"), std::string::npos) << run.out;
    const Bytes now = ReadFileBytes(dir / "rom.gb");
    for (int64_t offset : ChangedOffsets(rom.bytes, now))
        EXPECT_TRUE((offset >= 0xAE09 && offset < 0xAE0D) || offset == 0x14E || offset == 0x14F) << offset;
    // 1 | 2 << 5 | 3 << 10 = 0x0C41, 4 | 5 << 5 | 6 << 10 = 0x18A4, low bytes first.
    EXPECT_EQ(Bytes(now.begin() + 0xAE09, now.begin() + 0xAE0D), (Bytes{0x41, 0x0C, 0xA4, 0x18}));
    EXPECT_EQ(GlobalChecksumOf(now), now[0x14E] << 8 | now[0x14F]);

    // A broken .pal is refused with its line, and nothing is written.
    WriteText(dir / "pack/pokemon/pikachu/shiny.pal", "\tRGB 01, 02, 03\n\tRGB 04, 40, 06\n");
    const CliRun broken = insertAll();
    EXPECT_EQ(broken.code, 1);
    EXPECT_NE(broken.err.find("pokemon/pikachu/shiny.pal\" (line 2) gives the colour component 40"), std::string::npos)
        << broken.err;
    EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), now);
}

TEST_F(Pack, TheFrontOfTheRomsEditionWins)
{
    // Pikachu's front as three different pictures of the same colours.
    const QImage plain(png("pokemon/pikachu/front.png"));
    const QImage gold = plain.mirrored(true, false), silver = plain.mirrored(false, true);
    ASSERT_TRUE(gold.save(png("pokemon/pikachu/front_gold.png"), "PNG"));
    ASSERT_TRUE(silver.save(png("pokemon/pikachu/front_silver.png"), "PNG"));
    struct Row {
        std::string_view title, code;
        const QImage* shown;
        std::string notUsed;
    };
    for (const Row& row : {
             Row{"POKEMON_GLD", "AAUE", &gold, "pokemon/pikachu/front_silver.png: not used (the ROM is Gold"},
             Row{"POKEMON_SLV", "AAXE", &silver, "pokemon/pikachu/front.png: not used (the ROM is Silver"},
             Row{"TESTROM", "", &plain, "pokemon/pikachu/front_gold.png: not used (the ROM's header names neither"},
         }) {
        SyntheticRom edition = rom;
        SetHeader(edition, row.title, row.code);
        edition.write(dir / "rom.gb");
        const CliRun run = insertAll();
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_NE(run.out.find(row.notUsed), std::string::npos) << row.title << "\n" << run.out;
        EXPECT_EQ(SlotShades(dir / "rom.gb", {K::Pokemon, 25}), ImageShades(*row.shown)) << row.title;
    }
}

// A normal.pal gives the pair; grays beside it take their shades by
// lightness, coloured pictures (the other letters) keep theirs.
TEST_F(Pack, GrayscalePicturesTakeTheirShadesBesideANormalPal)
{
    // Bulbasaur in four even grays (RGB), its back in four uneven ones; the
    // letter C in three grays, whose middle one is nearest to 170.
    const auto gray = [&](const std::string& relative, std::vector<int> levels, std::vector<int> shadeOfIndex) {
        QImage image = QImage(png(relative));
        const std::vector<int> expected = ImageShades(image, shadeOfIndex);
        QImage rgb(image.size(), QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int level = levels.at(static_cast<size_t>(shadeOfIndex[image.pixelIndex(x, y)]));
                rgb.setPixel(x, y, qRgb(level, level, level));
            }
        EXPECT_TRUE(rgb.save(png(relative), "PNG"));
        return expected;
    };
    const auto front = gray("pokemon/bulbasaur/front.png", {255, 170, 85, 0}, {0, 1, 2, 3});
    const auto back = gray("pokemon/bulbasaur/back.png", {240, 180, 60, 10}, {0, 1, 2, 3});
    const auto letter = gray("pokemon/unown_c/front.png", {255, 150, 150, 0}, {0, 1, 1, 3});
    WriteText(dir / "pack/pokemon/bulbasaur/normal.pal", "\tRGB 10, 20, 30\n\tRGB 05, 06, 07\n");
    WriteText(dir / "pack/pokemon/unown/normal.pal", "\tRGB 31, 00, 00\n\tRGB 00, 00, 31\n");

    const CliRun run = insertAll();
    ASSERT_EQ(run.code, 0) << run.err;
    // Bulbasaur's tiles are as they were: only the pair changes.
    EXPECT_NE(run.out.find("pokemon/bulbasaur/front.png: recoloured: only the palette at 0xAD45\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("pokemon/bulbasaur/back.png: recoloured"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("pokemon/unown_a/front.png: recoloured"), std::string::npos) << run.out;
    const Bytes now = ReadFileBytes(dir / "rom.gb");
    // 10 | 20 << 5 | 30 << 10 = 0x7A8A; 5 | 6 << 5 | 7 << 10 = 0x1CC5. Unown: 0x001F, 0x7C00.
    EXPECT_EQ(Bytes(now.begin() + 0xAD45, now.begin() + 0xAD49), (Bytes{0x8A, 0x7A, 0xC5, 0x1C}));
    EXPECT_EQ(Bytes(now.begin() + 0xB385, now.begin() + 0xB389), (Bytes{0x1F, 0x00, 0x00, 0x7C}));
    EXPECT_EQ(SlotShades(dir / "rom.gb", {K::Pokemon, 1}), front);
    EXPECT_EQ(SlotShades(dir / "rom.gb", {K::Pokemon, 1, true}), back);
    EXPECT_EQ(SlotShades(dir / "rom.gb", {K::Unown, 3}), letter);
}

// Bulbasaur's front recoloured to A and B, its back in the colours of each
// row: one of fewer colours keeps the one it does not use; other colours are
// refused with both files named.
TEST_F(Pack, FrontAndBackGiveOneNormalPair)
{
    const QRgb a = PackRgb(31 | 20 << 5), b = PackRgb(10 << 5 | 31 << 10), c = PackRgb(31 << 10), d = PackRgb(7);
    QImage front(png("pokemon/bulbasaur/front.png"));
    front.setColorTable({qRgb(255, 255, 255), a, b, qRgb(0, 0, 0)});
    ASSERT_TRUE(front.save(png("pokemon/bulbasaur/front.png"), "PNG"));
    const QImage back(png("pokemon/bulbasaur/back.png"));
    struct Row {
        std::string name;
        QList<QRgb> table;           // the back's colours
        std::vector<int> indexOfShade; // the back's entry for each of its old shades
        bool agrees;
    };
    for (const Row& row : {
             Row{"three colours, one the front's", {qRgb(255, 255, 255), a, qRgb(0, 0, 0)}, {0, 1, 1, 2}, true},
             Row{"four colours, two others", {qRgb(255, 255, 255), c, d, qRgb(0, 0, 0)}, {0, 1, 2, 3}, false},
             Row{"three colours, another", {qRgb(255, 255, 255), c, qRgb(0, 0, 0)}, {0, 1, 1, 2}, false},
         }) {
        rom.write(dir / "rom.gb");
        QImage edited(back.size(), QImage::Format_Indexed8);
        edited.setColorTable(row.table);
        for (int y = 0; y < back.height(); ++y)
            for (int x = 0; x < back.width(); ++x)
                edited.setPixel(x, y, static_cast<uint>(row.indexOfShade[static_cast<size_t>(back.pixelIndex(x, y))]));
        ASSERT_TRUE(edited.save(png("pokemon/bulbasaur/back.png"), "PNG"));
        const CliRun run = insertAll();
        if (!row.agrees) {
            EXPECT_EQ(run.code, 1) << row.name;
            EXPECT_NE(run.err.find("pokemon/bulbasaur/front.png and pokemon/bulbasaur/back.png give one palette "
                                   "different colours"),
                      std::string::npos)
                << row.name << "\n" << run.err;
            EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), rom.bytes) << row.name;
            continue;
        }
        ASSERT_EQ(run.code, 0) << row.name << "\n" << run.err;
        const Bytes now = ReadFileBytes(dir / "rom.gb");
        // A = 31 | 20 << 5 = 0x029F, B = 10 << 5 | 31 << 10 = 0x7D40.
        EXPECT_EQ(Bytes(now.begin() + 0xAD45, now.begin() + 0xAD49), (Bytes{0x9F, 0x02, 0x40, 0x7D})) << row.name;
        std::vector<int> shades = ImageShades(back);
        for (int& shade : shades)
            shade = shade == 2 ? 1 : shade;
        EXPECT_EQ(SlotShades(dir / "rom.gb", {K::Pokemon, 1, true}), shades) << row.name;
    }
}

TEST_F(Pack, PaletteShowsSetsAndRoundTripsThroughPalFiles)
{
    const CliRun shown = Invoke({"palette", at("rom.gb"), "--pokemon", "1"});
    ASSERT_EQ(shown.code, 0) << shown.err;
    EXPECT_EQ(shown.out, "Pokemon 1 normal palette at 0xAD45\ncolour 1: FFFF00 (0x03FF)\ncolour 2: 0000FF (0x7C00)\n");
    const CliRun letter = Invoke({"palette", at("rom.gb"), "--unown", "5", "--shiny"});
    EXPECT_NE(letter.out.find("Unown 5 shiny palette at 0xB389: the pair of Pokemon 201, shared by all 26 Unown "
                              "letters\n"),
              std::string::npos)
        << letter.out;

    // Each component divided by 8: 02 04 06 -> 0x1882, 08 0A 0C -> 0x3148.
    for (const char* option : {"--dry-run", "--patch"}) {
        std::vector<std::string> args{"palette", at("rom.gb"), "--pokemon", "7", "--shiny", "--set", "102030", "405060"};
        args.push_back(option);
        if (option == std::string("--patch"))
            args.push_back(at("shiny.ips"));
        const CliRun dry = Invoke(args);
        ASSERT_EQ(dry.code, 0) << dry.err;
        EXPECT_NE(dry.out.find("would set in"), std::string::npos) << dry.out;
        EXPECT_NE(dry.out.find("  0xAD79 4 palette\n  0x14E 2 global checksum\n"), std::string::npos) << dry.out;
        EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), rom.bytes);
    }
    const auto patched = ApplyIps(ReadFileBytes(dir / "shiny.ips"), rom.bytes).value();
    const CliRun set = Invoke({"palette", at("rom.gb"), "--pokemon", "7", "--shiny", "--set", "102030", "#405060"});
    ASSERT_EQ(set.code, 0) << set.err;
    EXPECT_NE(set.out.find("colour 1: 39C663 (0x3307) -> 102131 (0x1882)\n"), std::string::npos) << set.out;
    const Bytes now = ReadFileBytes(dir / "rom.gb");
    EXPECT_EQ(now, patched);
    for (int64_t offset : ChangedOffsets(rom.bytes, now))
        EXPECT_TRUE((offset >= 0xAD79 && offset < 0xAD7D) || offset == 0x14E || offset == 0x14F) << offset;
    EXPECT_EQ(Bytes(now.begin() + 0xAD79, now.begin() + 0xAD7D), (Bytes{0x82, 0x18, 0x48, 0x31}));

    // Out to a .pal file and into trainer 5's palette.
    ASSERT_EQ(Invoke({"palette", at("rom.gb"), "--pokemon", "7", "--shiny", "--to", at("seven.pal")}).code, 0);
    EXPECT_EQ(ReadText(dir / "seven.pal"), "\tRGB 02, 04, 06\n\tRGB 08, 10, 12\n");
    const CliRun from = Invoke({"palette", at("rom.gb"), "--trainer", "5", "--from", at("seven.pal")});
    ASSERT_EQ(from.code, 0) << from.err;
    const Bytes trainer = ReadFileBytes(dir / "rom.gb");
    EXPECT_EQ(Bytes(trainer.begin() + 0xB551, trainer.begin() + 0xB555), (Bytes{0x82, 0x18, 0x48, 0x31}));
    EXPECT_EQ(GlobalChecksumOf(trainer), trainer[0x14E] << 8 | trainer[0x14F]);

    // Refusals leave the ROM as it is.
    struct Refusal {
        std::vector<std::string> options;
        int code;
    };
    for (const Refusal& r : {
             Refusal{{"--pokemon", "1", "--set", "12345", "000000"}, 2},
             Refusal{{"--pokemon", "1", "--set", "123456"}, 2},
             Refusal{{"--trainer", "1", "--shiny"}, 2},
             Refusal{{"--pokemon", "1", "--back"}, 2},
             Refusal{{"--pokemon", "1", "--dry-run"}, 2},
             Refusal{{"--pokemon", "1", "--to", at("rom.gb")}, 2},
             Refusal{{"--pokemon", "1", "--set", "000000", "000000", "--from", at("seven.pal")}, 2},
             Refusal{{"--pokemon", "252", "--set", "000000", "000000"}, 1},
             Refusal{{"--pokemon", "1", "--from", at("missing.pal")}, 1},
         }) {
        std::vector<std::string> args{"palette", at("rom.gb")};
        args.insert(args.end(), r.options.begin(), r.options.end());
        EXPECT_EQ(Invoke(args).code, r.code) << r.options[2];
        EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), trainer) << r.options[2];
    }
}

TEST_F(Pack, InfoNamesTheEditionAndTheChecksumsOfTheFile)
{
    SetHeader(rom, "POKEMON_SLV", "AAXD");
    rom.write(dir / "rom.gb");
    const CliRun info = Invoke({"info", at("rom.gb")});
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08X", BitwiseCrc32(rom.bytes));
    EXPECT_NE(info.out.find("\ncrc32: " + std::string(crc) + "\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\nedition: German Silver (game code AAXD)\n"), std::string::npos) << info.out;
    std::string sha1(40, ' ');
    if (FILE* pipe = popen(("sha1sum '" + at("rom.gb") + "'").c_str(), "r")) {
        ASSERT_EQ(std::fread(sha1.data(), 1, 40, pipe), 40u);
        pclose(pipe);
        EXPECT_NE(info.out.find("\nsha1: " + sha1 + "\n"), std::string::npos) << info.out;
    }
    EXPECT_EQ(info.out.find("unchanged retail"), std::string::npos);
    SetHeader(rom, "TESTROM", "TSTE");
    rom.write(dir / "rom.gb");
    const CliRun unknown = Invoke({"info", at("rom.gb")});
    EXPECT_NE(unknown.out.find("\nedition: unknown, the header names neither Gold nor Silver (game code TSTE)\n"),
              std::string::npos)
        << unknown.out;
}

} // namespace
} // namespace orv::test
