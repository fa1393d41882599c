// Pictures, bitmaps and own files through real files.

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

#include "binary_file.h"
#include "classify_path.h"
#include "codec.h"
#include "english_texts.h"
#include "picture_io.h"
#include "picture_files.h"
#include "picture_image.h"
#include "picture_loader.h"
#include "synthetic_rom.h"
#include "tiles.h"

namespace orv::test {
namespace {

using Bytes = std::vector<uint8_t>;

class PictureFiles : public ::testing::Test {
protected:
    // Saves image in format under name, whatever its extension.
    std::filesystem::path save(const QImage& image, const std::string& name, const char* format) const
    {
        const QString file = QString::fromStdString((dir / name).string());
        EXPECT_TRUE(std::string_view(format) == "GIF" ? WriteGif(image, file) : image.save(file, format)) << name;
        return dir / name;
    }
    std::string quoted(const std::string& name) const { return "\"" + (dir / name).string() + "\""; }

    TempDir dir;
};

TEST_F(PictureFiles, PicturesReadByContentAndCutToWholeTiles)
{
    // 100 x 50, cut to the top-left 96 x 48: left column green above red, blue at the bottom right.
    QImage image(100, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int t = 0; t < 48; ++t)
        image.setPixel(0, t, t < 24 ? 0xFF00FF00 : 0xFFFF0000);
    image.setPixel(95, 47, 0xFF0000FF);
    image.setPixel(7, 7, 0xFF000000);
    image.setPixel(96, 10, 0xFFFFFF00); // cut: beyond column 95
    image.setPixel(10, 48, 0xFFFFFF00); // cut: below line 47
    const std::pair<const char*, const char*> files[] = {
        {"a.bmp", "BMP"}, {"a.gif", "GIF"}, {"a.ico", "ICO"}, {"a.bak", "BMP"}, {"a.old", "GIF"}};
    for (const auto& [name, format] : files) {
        const auto loaded = LoadSourcePicture(save(image, name, format));
        ASSERT_TRUE(loaded) << name << ": " << Refusal(loaded, dir / name);
        const WorkingPicture& picture = loaded->picture;
        ASSERT_EQ(std::tuple(picture.width, picture.height, picture.pixels.size()), std::tuple(96, 48, 4608u)) << name;
        EXPECT_EQ(std::tuple(picture.at(0, 0), picture.atTop(0, 0), picture.atTop(95, 47), picture.atTop(7, 7),
                             picture.atTop(8, 8)),
                  std::tuple(kRed, kGreen, kBlue, kBlack, kWhite)) << name; // at(0, 0) is the bottom left
        // Columns left to right, each from the bottom up: green comes before the blue at the bottom right.
        EXPECT_EQ(loaded->colours, (std::vector<Colour>{kRed, kGreen, kBlue})) << name;
    }
}

TEST_F(PictureFiles, TransparencyOverWhite)
{
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(0x00123456);
    image.setPixel(1, 0, 0x80FF0000);
    const auto loaded = LoadSourcePicture(save(image, "alpha.png", "PNG"));
    ASSERT_TRUE(loaded) << Refusal(loaded);
    EXPECT_EQ(std::pair(loaded->picture.atTop(0, 0), loaded->picture.atTop(1, 0)), std::pair(kWhite, 0xFF7F7Fu));
}

TEST_F(PictureFiles, LoadRefusals)
{
    QImage many(16, 16, QImage::Format_RGB32), narrow(7, 20, QImage::Format_RGB32), low(20, 7, QImage::Format_RGB32);
    for (int i = 0; i < 256; ++i)
        many.setPixel(i % 16, i / 16, 0xFF100000u + static_cast<QRgb>(i));
    narrow.fill(Qt::white);
    low.fill(Qt::white);
    std::ofstream(dir / "notes.bmp") << "These are notes, not a picture.\n";
    const std::string small = " ist zu klein: Es muss mindestens 8 Pixel breit und 8 Pixel hoch sein.";
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {save(many, "many.bmp", "BMP"), "Das Bild enthält mehr als 255 Farben außer Schwarz und Weiß. Bitte "
                                        "verringern Sie die Anzahl der Farben und laden Sie das Bild erneut."},
        {save(narrow, "narrow.bmp", "BMP"), "Das Bild " + quoted("narrow.bmp") + small},
        {save(low, "low.bmp", "BMP"), "Das Bild " + quoted("low.bmp") + small},
        {dir / "notes.bmp",
         "Die Datei " + quoted("notes.bmp") + " ist keine lesbare Bilddatei (GIF, BMP, ICO, CUR oder PNG)."},
        {dir / "none.gif", "Die Datei " + quoted("none.gif") + " konnte nicht gefunden werden."},
    };
    for (const auto& [path, message] : cases)
        EXPECT_EQ(Refusal(LoadSourcePicture(path), path), message);
}

TEST_F(PictureFiles, FilesCutShortOrNotFilesAreRefused)
{
    const QImage image = ToQImage(ShadePattern(48, 48));
    const auto cut = [&](const char* format, const std::string& name, auto keep) {
        Bytes bytes = ReadFileBytes(save(image, "whole-" + name, format));
        bytes.resize(keep(bytes.size()));
        WriteFileBytes(dir / name, bytes);
        return dir / name;
    };
    const auto incomplete = [&](const std::string& name, size_t needed, size_t size) {
        return "Die Bilddatei " + quoted(name) + " ist unvollständig: Ihre Kopfdaten kündigen " +
               std::to_string(needed) + " Bytes an, sie hat aber nur " + std::to_string(size) + ".";
    };
    const size_t bmp = ReadFileBytes(save(image, "whole.bmp", "BMP")).size();
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {cut("BMP", "sixty.bmp", [](size_t) { return 60; }), incomplete("sixty.bmp", bmp, 60)},
        {cut("BMP", "row.bmp", [](size_t n) { return n - 1; }), incomplete("row.bmp", bmp, bmp - 1)},
        {cut("GIF", "half.gif", [](size_t n) { return n / 2; }), ""},
        {cut("PNG", "half.png", [](size_t n) { return n - 13; }), ""},
        {cut("ICO", "half.ico", [](size_t n) { return n / 2; }), ""},
    };
    for (const auto& [path, message] : cases) {
        const auto loaded = LoadSourcePicture(path);
        ASSERT_FALSE(loaded) << path;
        const auto [german, english] = test::Texts(loaded, path);
        EXPECT_EQ(loaded.error().kind, ErrorKind::SourceTruncated) << path << ": " << german;
        if (!message.empty()) {
            EXPECT_EQ(german, message);
        }
        EXPECT_EQ(EnglishMismatch(german, english), "");
    }
    // A GIF without its trailer byte holds all its data.
    EXPECT_TRUE(LoadSourcePicture(cut("GIF", "no-trailer.gif", [](size_t n) { return n - 1; })));
    // A pipe or a folder named like a picture is refused, not waited for.
    ASSERT_EQ(::mkfifo((dir / "pipe.bmp").c_str(), 0644), 0);
    std::filesystem::create_directory(dir / "folder.gif");
    for (const char* name : {"pipe.bmp", "folder.gif"}) {
        const auto loaded = LoadSourcePicture(dir / name);
        ASSERT_FALSE(loaded);
        EXPECT_EQ(loaded.error().kind, ErrorKind::SourceUnreadable);
        EXPECT_NE(Refusal(loaded, dir / name).find(quoted(name)), std::string::npos) << Refusal(loaded, dir / name);
    }
}

TEST_F(PictureFiles, BitmapReadsBackAsTheFourShades)
{
    const WorkingPicture picture = ShadePattern(10, 16);
    ASSERT_TRUE(WriteBitmapFile(dir / "shades.bmp", picture));
    const auto bytes = ReadFileBytes(dir / "shades.bmp");
    ASSERT_EQ(bytes.size(), 54u + 32 * 16); // rows of 30 bytes and 2 of padding
    EXPECT_EQ(static_cast<size_t>(bytes[2] | bytes[3] << 8 | bytes[4] << 16), bytes.size()); // its size field
    const QImage image(QString::fromStdString((dir / "shades.bmp").string()));
    ASSERT_EQ(image.size(), QSize(10, 16));
    for (int t = 0; t < 16; ++t)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(image.pixel(x, t) & 0xFFFFFF, picture.atTop(x, t)) << x << "," << t;

    EXPECT_EQ(Refusal(WriteBitmapFile(dir / "no/out.bmp", picture), dir / "no/out.bmp"),
              "Die Bilddatei " + quoted("no/out.bmp") +
                  " konnte nicht geschrieben werden (Systemfehler 2: Datei oder Verzeichnis nicht gefunden).");
    EXPECT_EQ(Refusal(WriteBitmapFile(dir / "empty.bmp", {})), "Es ist kein Bild zum Speichern vorhanden.");
    EXPECT_FALSE(std::filesystem::exists(dir / "empty.bmp"));
}

TEST_F(PictureFiles, OwnFileWrittenAndReadBack)
{
    const WorkingPicture picture = ShadePattern(56, 56);
    for (const auto& [order, last] : {std::pair{TileOrder::Vertical, 0x00}, std::pair{TileOrder::Horizontal, 0x01}}) {
        const auto tiles = EncodeTiles(picture, order, 784);
        const auto stream = codec::Encode(tiles);
        ASSERT_TRUE(stream && WriteOrvFile(dir / "pic.orv", *stream, kYellow, kBlue, 56, 56, order));
        auto expected = *stream;
        expected.insert(expected.end(), {0xFF, 0x03, 0x00, 0x7C, 0x38, 0x38, static_cast<uint8_t>(last)});
        EXPECT_EQ(ReadFileBytes(dir / "pic.orv"), expected);

        const auto read = ReadOrvFile(dir / "pic.orv");
        ASSERT_TRUE(read) << Refusal(read, dir / "pic.orv");
        EXPECT_EQ(std::tie(read->stream, read->tileData), std::tie(*stream, tiles));
        EXPECT_EQ(std::tuple(read->width, read->height, read->order, read->paletteText),
                  std::tuple(56, 56, order, std::string("FF03007C")));
        EXPECT_EQ(read->colours, (std::array<Colour, 2>{kYellow, kBlue}));
    }
}

TEST_F(PictureFiles, OwnFilesReadOrRefused)
{
    const auto joined = [](std::vector<uint8_t> bytes, std::vector<uint8_t> more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return bytes;
    };
    // Zeros of the given length, then the palette pair, width, height and order bytes.
    const auto file = [&](size_t length, uint8_t width, uint8_t height, uint8_t order) {
        return joined(WrapUncompressed(std::vector<uint8_t>(length)), {0x00, 0x7C, 0xFF, 0x03, width, height, order});
    };
    const auto stream = WrapUncompressed(std::vector<uint8_t>(784));
    const std::string invalid = "Die Datei " + quoted("f.orv") + " enthält keinen gültigen Bilddatenstrom.";
    const auto mismatch = [&](const std::string& size, int bytes) {
        return "Die Datei " + quoted("f.orv") + " gibt die Bildgröße " + size +
               " Pixel an, die nicht zu ihren Bilddaten passt (" + std::to_string(bytes) +
               " Bytes; nötig sind Breite x Höhe / 4, und jede Seite muss mindestens 8 Pixel lang sein).";
    };
    const std::pair<std::vector<uint8_t>, std::string> cases[] = {
        {file(784, 56, 56, 2), "56x56 horizontal, 784 bytes"},
        {file(784, 0, 56, 0), "56x56 vertical, 784 bytes"},
        {file(768, 0, 0, 1), "56x56 horizontal, 768 bytes"},
        {file(256, 16, 64, 0), "16x64 vertical, 256 bytes"},
        // A size must describe the data exactly, with sides of 8 pixels and more.
        {file(784, 16, 16, 0), mismatch("16 x 16", 784)},
        {file(16, 4, 16, 0), mismatch("4 x 16", 16)},
        {joined(stream, {0xFF, 0x03, 0x00, 0x7C, 0x38, 0x38}),
         "Die Datei " + quoted("f.orv") +
             " ist zu kurz für eine ORV-Datei: Nach den Bilddaten fehlen Palette, Größe oder Kachelreihenfolge."},
        {std::vector<uint8_t>(stream.begin(), stream.begin() + 400), invalid}, // cut short
        {{0x02, 0x11, 0x22, 0x33, 0x00, 0x44}, invalid},                        // no end marker
        {joined({0x80, 0x85, 0xFF}, std::vector<uint8_t>(7)), invalid},       // a copy from before the start
        {file(16 * 1000, 0, 0, 0), "Die Datei " + quoted("f.orv") + " gibt keine Bildgröße an, und ihre Bilddaten "
                                                                     "ergeben kein Bild von 1 bis 255 Pixeln Seitenlänge."},
        // Measuring stops beyond the largest picture a file can describe.
        {file(16 * 1024, 0, 0, 0), "Die Bilddaten in der Datei " + quoted("f.orv") + " sind zu groß."},
    };
    for (const auto& [bytes, outcome] : cases) {
        ASSERT_TRUE(WriteWholeFile(dir / "f.orv", bytes));
        const auto read = ReadOrvFile(dir / "f.orv");
        EXPECT_EQ(read ? std::to_string(read->width) + "x" + std::to_string(read->height) +
                             (read->order == TileOrder::Horizontal ? " horizontal, " : " vertical, ") +
                             std::to_string(read->tileData.size()) + " bytes"
                       : Refusal(read, dir / "f.orv"),
                  outcome);
    }
    EXPECT_EQ(Refusal(ReadOrvFile(dir / "none.orv"), dir / "none.orv"),
              "Die Datei " + quoted("none.orv") + " konnte nicht geöffnet werden (Systemfehler 2: Datei oder "
                                                  "Verzeichnis nicht gefunden).");

    const auto write = [&](const std::string& name, const std::vector<uint8_t>& data, int width, int height) {
        return Refusal(WriteOrvFile(dir / name, data, kYellow, kBlue, width, height, TileOrder::Vertical), dir / name);
    };
    const std::string tooLarge =
        "Das Bild ist zu groß für eine ORV-Datei: Breite und Höhe dürfen höchstens 255 Pixel betragen.";
    EXPECT_EQ(std::pair(write("x.orv", stream, 256, 8), write("x.orv", stream, 8, 256)), std::pair(tooLarge, tooLarge));
    for (const auto& bad : {std::vector<uint8_t>{}, std::vector<uint8_t>{0x05, 0x01}, joined(stream, {0x00})})
        EXPECT_EQ(write("x.orv", bad, 8, 8),
                  "Die Bilddaten sind kein vollständiger komprimierter Datenstrom und werden nicht gespeichert.");
    EXPECT_FALSE(std::filesystem::exists(dir / "x.orv"));
    EXPECT_EQ(write("no/x.orv", stream, 8, 8), "Die Datei " + quoted("no/x.orv") +
                                                   " konnte nicht geschrieben werden (Systemfehler 2: Datei oder "
                                                   "Verzeichnis nicht gefunden).");
}

TEST_F(PictureFiles, RefusalsAlsoInEnglish)
{
    QImage many(16, 16, QImage::Format_RGB32), narrow(7, 20, QImage::Format_RGB32);
    for (int i = 0; i < 256; ++i)
        many.setPixel(i % 16, i / 16, 0xFF100000u + static_cast<QRgb>(i));
    narrow.fill(Qt::white);
    std::ofstream(dir / "notes.bmp") << "These are notes, not a picture.\n";
    // A bitmap header announcing 40000 x 8 pixels, without the pixels.
    std::vector<uint8_t> huge{'B', 'M'};
    for (uint32_t field : {54u, 0u, 54u, 40u, 40000u, 8u, 0x180001u, 0u, 0u, 0u, 0u, 0u, 0u})
        for (int shift = 0; shift < 32; shift += 8)
            huge.push_back(static_cast<uint8_t>(field >> shift));
    const auto stream = WrapUncompressed(std::vector<uint8_t>(784));
    const auto orv = [&](std::vector<uint8_t> bytes) {
        EXPECT_TRUE(WriteWholeFile(dir / "f.orv", bytes));
        return test::Texts(ReadOrvFile(dir / "f.orv"), dir / "f.orv");
    };
    const auto writeOrv = [&](const std::string& name, const std::vector<uint8_t>& data, int side) {
        return test::Texts(WriteOrvFile(dir / name, data, kYellow, kBlue, side, side, TileOrder::Vertical), dir / name);
    };
    std::vector<uint8_t> noSize = WrapUncompressed(std::vector<uint8_t>(16 * 1024)), cut = stream;
    noSize.insert(noSize.end(), {0x00, 0x7C, 0xFF, 0x03, 0, 0, 0});
    cut.insert(cut.end(), {0xFF, 0x03, 0x00, 0x7C, 0x38, 0x38});
    EXPECT_TRUE(WriteWholeFile(dir / "huge.bmp", huge));

    const std::pair<const char*, std::pair<std::string, std::string>> cases[] = {
        {"missing", test::Texts(LoadSourcePicture(dir / "none.gif"), dir / "none.gif")},
        {"not a picture", test::Texts(LoadSourcePicture(dir / "notes.bmp"), dir / "notes.bmp")},
        {"under 8 pixels", test::Texts(LoadSourcePicture(save(narrow, "narrow.bmp", "BMP")), dir / "narrow.bmp")},
        {"too many colours", test::Texts(LoadSourcePicture(save(many, "many.bmp", "BMP")), dir / "many.bmp")},
        {"too large", test::Texts(LoadSourcePicture(dir / "huge.bmp"), dir / "huge.bmp")},
        {"own file missing", test::Texts(ReadOrvFile(dir / "none.orv"), dir / "none.orv")},
        {"no end marker", orv({0x02, 0x11, 0x22, 0x33, 0x00, 0x44})},
        {"no trailer", orv(cut)},
        {"no size", orv(noSize)},
        {"own file too wide", writeOrv("x.orv", stream, 256)},
        {"own file of a broken stream", writeOrv("x.orv", {0x05, 0x01}, 8)},
        {"own file not written", writeOrv("no/x.orv", stream, 8)},
        {"bitmap without a picture", test::Texts(WriteBitmapFile(dir / "empty.bmp", {}), dir / "empty.bmp")},
        {"bitmap not written", test::Texts(WriteBitmapFile(dir / "no/out.bmp", ShadePattern(8, 8)), dir / "no/out.bmp")},
    };
    for (const auto& [what, texts] : cases)
        EXPECT_EQ(test::EnglishMismatch(texts.first, texts.second), "") << what;
}

TEST(PictureImage, TopDownImageOfTheBottomUpGridAndPathKinds)
{
    const WorkingPicture picture = MakePicture(16, 8, [](int x, int t) { return x + t == 0 ? kRed : kYellow; });
    const QImage image = ToQImage(picture);
    EXPECT_EQ(std::tuple(image.format(), image.pixel(0, 0), image.pixel(0, 7)),
              std::tuple(QImage::Format_RGB32, 0xFFFF0000, 0xFFFFFF00));
    EXPECT_EQ(WholeTilesFromImage(image).pixels, picture.pixels);

    // The rightmost mark of the file's own name decides; folders do not count.
    const std::pair<const char*, FileKind> paths[] = {
        {"C:\\roms\\game.GBC", FileKind::Rom},
        {"pic.orv.bmp", FileKind::Orv},
        {"pic.bmp", FileKind::Picture},
        {"old.gb.orv", FileKind::Orv},
        {"x.orv.gbc", FileKind::Rom},
        {"gold.gbc-pictures/pokemon-001-back.png", FileKind::Picture},
        {"/home/u/.orvista/pic.bmp", FileKind::Picture},
        {"saves.gb\\pic.png", FileKind::Picture},
        {"pics.orv/gold.gbc", FileKind::Rom},
        {"roms.gbc/", FileKind::Picture}};
    for (const auto& [path, kind] : paths)
        EXPECT_EQ(ClassifyPath(path), kind) << path;
}

} // namespace
} // namespace orv::test
