#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <filesystem>

#include "binary_file.h"
#include "bitmap_file.h"
#include "picture_fixtures.h"

namespace orv {
namespace {

using namespace test;

uint32_t Read32(const std::vector<uint8_t>& bytes, size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

TEST(BitmapFile, WrittenPixelsReadBackAsTheFourShades)
{
    QTemporaryDir dir;
    // 12 pixels wide: 36 bytes a row, so rows need no padding; 10 wide needs 2.
    for (const auto& [width, rowBytes] : {std::pair{12, 36u}, std::pair{10, 32u}, std::pair{56, 168u}}) {
        const WorkingPicture picture = ShadePattern(width, 16);
        const std::filesystem::path path = (dir.path() + "/shades.bmp").toStdString();
        ASSERT_TRUE(WriteBitmapFile(path, picture)) << width;

        const auto bytes = readWholeFile(path);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(bytes->size(), 54 + rowBytes * 16) << width;
        EXPECT_EQ(Read32(*bytes, 2), bytes->size());
        EXPECT_EQ(Read32(*bytes, 10), 54u);
        EXPECT_EQ((*bytes)[28], 24); // bits per pixel
        EXPECT_EQ(Read32(*bytes, 30), 0u);

        const QImage image(QString::fromStdString(path.string()));
        ASSERT_EQ(image.width(), width);
        ASSERT_EQ(image.height(), 16);
        for (int t = 0; t < 16; ++t)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(image.pixel(x, t) & 0xFFFFFF, picture.atTop(x, t)) << width << ": " << x << "," << t;
    }
}

TEST(BitmapFile, Refusals)
{
    QTemporaryDir dir;
    const std::filesystem::path blocked = (dir.path() + "/no-such-folder/out.bmp").toStdString();
    const auto failed = WriteBitmapFile(blocked, ShadePattern(8, 8));
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().message, "Die Bilddatei \"" + blocked.string() + "\" konnte nicht geschrieben werden.");
    EXPECT_FALSE(std::filesystem::exists(blocked));

    const std::filesystem::path empty = (dir.path() + "/empty.bmp").toStdString();
    const auto nothing = WriteBitmapFile(empty, WorkingPicture{});
    ASSERT_FALSE(nothing);
    EXPECT_EQ(nothing.error().message, "Es ist kein Bild zum Speichern vorhanden.");
    EXPECT_FALSE(std::filesystem::exists(empty));
}

} // namespace
} // namespace orv
