#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>

#include "binary_file.h"
#include "codec_library.h"
#include "orv_file.h"
#include "picture_fixtures.h"
#include "tiles.h"

namespace orv {
namespace {

using namespace test;

class OrvFileTest : public ::testing::Test {
protected:
    std::filesystem::path path(const std::string& name) const { return (dir_.path().toStdString() + "/" + name); }

    // A file made of a stream and the 7 trailing bytes.
    std::filesystem::path handMade(const std::string& name, std::vector<uint8_t> stream,
                                   std::vector<uint8_t> trailer) const
    {
        stream.insert(stream.end(), trailer.begin(), trailer.end());
        EXPECT_TRUE(writeWholeFile(path(name), stream));
        return path(name);
    }

    QTemporaryDir dir_;
};

std::vector<uint8_t> Zeros(size_t n) { return std::vector<uint8_t>(n, 0); }

TEST_F(OrvFileTest, LayoutOfA56By56File)
{
    const auto stream = WrapUncompressed(Zeros(784));
    for (const auto& [order, last] : {std::pair{TileOrder::Vertical, 0x00}, std::pair{TileOrder::Horizontal, 0x01}}) {
        ASSERT_TRUE(WriteOrvFile(path("pic.orv"), stream, kYellow, kBlue, 56, 56, order));
        const auto bytes = readWholeFile(path("pic.orv"));
        ASSERT_TRUE(bytes);
        ASSERT_EQ(bytes->size(), stream.size() + 7);
        EXPECT_TRUE(std::equal(stream.begin(), stream.end(), bytes->begin()));
        const std::vector<uint8_t> tail(bytes->end() - 7, bytes->end());
        EXPECT_EQ(tail, (std::vector<uint8_t>{0xFF, 0x03, 0x00, 0x7C, 0x38, 0x38, static_cast<uint8_t>(last)}));
    }
}

TEST_F(OrvFileTest, WriteThenReadGivesTheSamePicture)
{
    const WorkingPicture picture = ShadePattern(40, 24);
    for (TileOrder order : {TileOrder::Vertical, TileOrder::Horizontal}) {
        const auto tiles = EncodeTiles(picture, order, 40 * 6);
        const auto stream = codec::encode(tiles);
        ASSERT_TRUE(stream) << codec::describe(stream.error());
        ASSERT_TRUE(WriteOrvFile(path("round.orv"), *stream, kYellow, kBlue, 40, 24, order));

        const auto read = ReadOrvFile(path("round.orv"));
        ASSERT_TRUE(read) << read.error().message;
        EXPECT_EQ(read->stream, *stream);
        EXPECT_EQ(read->tileData, tiles);
        EXPECT_EQ(read->width, 40);
        EXPECT_EQ(read->height, 24);
        EXPECT_EQ(read->order, order);
        EXPECT_EQ(read->paletteText, "FF03007C");
        EXPECT_EQ(read->colours, (std::array<Colour, 2>{kYellow, kBlue}));
        const Palette palette{kWhite, read->colours[0], read->colours[1], kBlack, kBlack};
        EXPECT_EQ(DecodeTiles(read->tileData, palette, read->width, read->height, read->order), picture.pixels);
    }
}

TEST_F(OrvFileTest, SizeAndOrderRules)
{
    struct Case {
        const char* name;
        size_t rawLength;
        uint8_t width, height, order;
        int readWidth, readHeight;
        TileOrder readOrder;
    };
    const Case cases[] = {
        {"order2.orv", 784, 56, 56, 2, 56, 56, TileOrder::Horizontal},
        {"zero784.orv", 784, 0, 56, 0, 56, 56, TileOrder::Vertical},
        {"zero768.orv", 768, 56, 0, 1, 56, 56, TileOrder::Horizontal},
        {"zero16.orv", 16, 0, 0, 0, 8, 8, TileOrder::Vertical},
        // Smaller stored size than the data: all data kept, the size as stored.
        {"small.orv", 784, 16, 16, 0, 16, 16, TileOrder::Vertical},
    };
    for (const Case& c : cases) {
        const auto file = handMade(c.name, WrapUncompressed(Zeros(c.rawLength)),
                                   {0x00, 0x7C, 0xFF, 0x03, c.width, c.height, c.order});
        const auto read = ReadOrvFile(file);
        ASSERT_TRUE(read) << c.name << ": " << read.error().message;
        EXPECT_EQ(read->width, c.readWidth) << c.name;
        EXPECT_EQ(read->height, c.readHeight) << c.name;
        EXPECT_EQ(read->order, c.readOrder) << c.name;
        EXPECT_EQ(read->tileData.size(), c.rawLength) << c.name;
        EXPECT_EQ(read->paletteText, "007CFF03") << c.name;
        EXPECT_EQ(read->colours, (std::array<Colour, 2>{kBlue, kYellow})) << c.name;
    }
    EXPECT_EQ(OrvSquareSide(784), 56);
    EXPECT_EQ(OrvSquareSide(768), 56);
    EXPECT_EQ(OrvSquareSide(15), 0);
}

TEST_F(OrvFileTest, BrokenFilesRefused)
{
    const auto stream = WrapUncompressed(Zeros(784));
    const std::vector<uint8_t> trailer{0xFF, 0x03, 0x00, 0x7C, 0x38, 0x38, 0x00};
    std::vector<uint8_t> sixBytes(trailer.begin(), trailer.end() - 1);
    // Literal commands without the end marker.
    const std::vector<uint8_t> unterminated{0x02, 0x11, 0x22, 0x33, 0x00, 0x44};

    struct Case {
        std::filesystem::path file;
        std::string tail;
    };
    const Case cases[] = {
        {handMade("short.orv", stream, sixBytes),
         " ist zu kurz für eine ORV-Datei: Nach den Bilddaten fehlen Palette, Größe oder Kachelreihenfolge."},
        {handMade("bare.orv", stream, {}),
         " ist zu kurz für eine ORV-Datei: Nach den Bilddaten fehlen Palette, Größe oder Kachelreihenfolge."},
        {handMade("cut.orv", std::vector<uint8_t>(stream.begin(), stream.begin() + 400), {}),
         " enthält keinen gültigen Bilddatenstrom."},
        {handMade("nomarker.orv", unterminated, {}), " enthält keinen gültigen Bilddatenstrom."},
        // A copy from before the first output byte.
        {handMade("badcopy.orv", {0x80, 0x85, 0xFF}, trailer), " enthält keinen gültigen Bilddatenstrom."},
        {handMade("empty.orv", {}, {}), " enthält keinen gültigen Bilddatenstrom."},
        {handMade("huge.orv", WrapUncompressed(Zeros(16 * 1024)), {0, 0, 0, 0, 0, 0, 0}),
         " gibt keine Bildgröße an, und ihre Bilddaten ergeben kein Bild von 1 bis 255 Pixeln Seitenlänge."},
        {handMade("tiny.orv", WrapUncompressed(Zeros(10)), {0, 0, 0, 0, 0, 0, 0}),
         " gibt keine Bildgröße an, und ihre Bilddaten ergeben kein Bild von 1 bis 255 Pixeln Seitenlänge."},
        {path("missing.orv"), " konnte nicht geöffnet werden."},
    };
    for (const Case& c : cases) {
        const auto read = ReadOrvFile(c.file);
        ASSERT_FALSE(read) << c.file;
        EXPECT_EQ(read.error().message, "Die Datei \"" + c.file.string() + "\"" + c.tail);
    }
}

TEST_F(OrvFileTest, WriterRefusals)
{
    const auto stream = WrapUncompressed(Zeros(64));
    const auto tooWide = WriteOrvFile(path("wide.orv"), stream, kYellow, kBlue, 256, 8, TileOrder::Vertical);
    ASSERT_FALSE(tooWide);
    EXPECT_EQ(tooWide.error().message,
              "Das Bild ist zu groß für eine ORV-Datei: Breite und Höhe dürfen höchstens 255 Pixel betragen.");
    EXPECT_FALSE(WriteOrvFile(path("high.orv"), stream, kYellow, kBlue, 8, 256, TileOrder::Vertical));
    EXPECT_FALSE(std::filesystem::exists(path("wide.orv")));

    const std::string notAStream =
        "Die Bilddaten sind kein vollständiger komprimierter Datenstrom und werden nicht gespeichert.";
    std::vector<uint8_t> trailing = stream;
    trailing.push_back(0x00);
    for (const auto& bad : {std::vector<uint8_t>{}, std::vector<uint8_t>{0x05, 0x01}, trailing}) {
        const auto written = WriteOrvFile(path("bad.orv"), bad, kYellow, kBlue, 8, 8, TileOrder::Vertical);
        ASSERT_FALSE(written);
        EXPECT_EQ(written.error().message, notAStream);
    }
    EXPECT_FALSE(std::filesystem::exists(path("bad.orv")));

    const std::filesystem::path blocked = path("no-such-folder/pic.orv");
    const auto failed = WriteOrvFile(blocked, stream, kYellow, kBlue, 8, 8, TileOrder::Vertical);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().message, "Die Datei \"" + blocked.string() + "\" konnte nicht geschrieben werden.");
}

} // namespace
} // namespace orv
