#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <filesystem>

#include "classify_path.h"
#include "gif_writer.h"
#include "picture_fixtures.h"
#include "picture_image.h"
#include "picture_loader.h"

namespace orv {
namespace {

using namespace test;

class PictureLoaderTest : public ::testing::Test {
protected:
    std::filesystem::path path(const char* name) const { return (dir_.path() + "/" + name).toStdString(); }

    // Saves image in format under name (whatever its extension) and returns the path.
    std::filesystem::path save(const QImage& image, const char* name, const char* format) const
    {
        const std::filesystem::path target = path(name);
        const QString fileName = QString::fromStdString(target.string());
        if (std::string_view(format) == "GIF")
            EXPECT_TRUE(WriteGif(image, fileName)) << name;
        else
            EXPECT_TRUE(image.save(fileName, format)) << name;
        return target;
    }

    QTemporaryDir dir_;
};

// 16 x 16: left column red at the bottom and green at the top, a blue pixel
// at the top right, black and white elsewhere.
QImage SampleImage()
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int t = 0; t < 16; ++t)
        image.setPixel(0, t, t < 8 ? 0xFF00FF00 : 0xFFFF0000);
    image.setPixel(15, 0, 0xFF0000FF);
    image.setPixel(7, 7, 0xFF000000);
    return image;
}

TEST_F(PictureLoaderTest, FormatsReadByContent)
{
    const std::pair<const char*, const char*> files[] = {
        {"sample.bmp", "BMP"}, {"sample.gif", "GIF"},     {"sample.ico", "ICO"},
        {"sample.cur", "CUR"}, {"sample.bak", "BMP"},     {"sample.old", "GIF"},
        {"typed.png", "PNG"},
    };
    for (const auto& [name, format] : files) {
        const auto loaded = LoadSourcePicture(save(SampleImage(), name, format));
        ASSERT_TRUE(loaded) << name << ": " << loaded.error().message;
        const WorkingPicture& picture = loaded->picture;
        ASSERT_EQ(picture.width, 16) << name;
        ASSERT_EQ(picture.height, 16) << name;
        EXPECT_EQ(picture.at(0, 0), kRed) << name; // bottom-left
        EXPECT_EQ(picture.atTop(0, 0), kGreen) << name;
        EXPECT_EQ(picture.atTop(15, 0), kBlue) << name;
        EXPECT_EQ(picture.atTop(7, 7), kBlack) << name;
        EXPECT_EQ(picture.atTop(8, 8), kWhite) << name;
        // Red is met first at the bottom of the left column.
        EXPECT_EQ(loaded->colours, (std::vector<Colour>{kRed, kGreen, kBlue})) << name;
    }
}

TEST_F(PictureLoaderTest, CroppedToWholeTilesFromTheTopLeft)
{
    QImage image(100, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(95, 0, 0xFF0000FF);  // kept: top-right of the 96 x 48 part
    image.setPixel(0, 47, 0xFFFF0000);  // kept: bottom-left
    image.setPixel(96, 10, 0xFF00FF00); // cut: beyond column 95
    image.setPixel(10, 48, 0xFF00FF00); // cut: below line 47
    const auto loaded = LoadSourcePicture(save(image, "wide.bmp", "BMP"));
    ASSERT_TRUE(loaded) << loaded.error().message;
    EXPECT_EQ(loaded->picture.width, 96);
    EXPECT_EQ(loaded->picture.height, 48);
    EXPECT_EQ(loaded->picture.pixels.size(), 4608u);
    EXPECT_EQ(loaded->picture.atTop(95, 0), kBlue);
    EXPECT_EQ(loaded->picture.at(0, 0), kRed);
    EXPECT_EQ(loaded->colours, (std::vector<Colour>{kRed, kBlue}));
}

TEST_F(PictureLoaderTest, TransparentPixelsBecomeWhite)
{
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(0xFF000000);
    image.setPixel(0, 0, 0x00123456); // fully transparent
    image.setPixel(1, 0, 0x80FF0000); // half transparent red over white
    const auto loaded = LoadSourcePicture(save(image, "alpha.png", "PNG"));
    ASSERT_TRUE(loaded) << loaded.error().message;
    EXPECT_EQ(loaded->picture.atTop(0, 0), kWhite);
    EXPECT_EQ(loaded->picture.atTop(1, 0), 0xFF7F7Fu);
    EXPECT_EQ(loaded->picture.atTop(2, 0), kBlack);
}

TEST_F(PictureLoaderTest, Refusals)
{
    QImage many(32, 32, QImage::Format_RGB32);
    for (int i = 0; i < 32 * 32; ++i)
        many.setPixel(i % 32, i / 32, 0xFF000000u | static_cast<QRgb>(0x100000 + i));
    const std::filesystem::path manyColours = save(many, "many.bmp", "BMP");

    QImage narrow(7, 20, QImage::Format_RGB32), low(20, 7, QImage::Format_RGB32);
    narrow.fill(Qt::white);
    low.fill(Qt::white);
    const std::filesystem::path narrowPath = save(narrow, "narrow.bmp", "BMP");
    const std::filesystem::path lowPath = save(low, "low.gif", "GIF");

    const std::filesystem::path text = path("notes.bmp");
    QFile file(QString::fromStdString(text.string()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("These are notes, not a picture.\n");
    file.close();
    const std::filesystem::path missing = path("missing.gif");

    struct Case {
        std::filesystem::path path;
        LoadFailure failure;
        std::string message;
    };
    const Case cases[] = {
        {manyColours, LoadFailure::TooManyColours,
         "Das Bild enthält mehr als 255 Farben außer Schwarz und Weiß. Bitte verringern Sie die Anzahl der "
         "Farben und laden Sie das Bild erneut."},
        {narrowPath, LoadFailure::TooSmall,
         "Das Bild \"" + narrowPath.string() + "\" ist zu klein: Es muss mindestens 8 Pixel breit und 8 Pixel hoch sein."},
        {lowPath, LoadFailure::TooSmall,
         "Das Bild \"" + lowPath.string() + "\" ist zu klein: Es muss mindestens 8 Pixel breit und 8 Pixel hoch sein."},
        {text, LoadFailure::NotAPicture,
         "Die Datei \"" + text.string() + "\" ist keine lesbare Bilddatei (GIF, BMP, ICO, CUR oder PNG)."},
        {missing, LoadFailure::Missing, "Die Datei \"" + missing.string() + "\" konnte nicht gefunden werden."},
        {path(""), LoadFailure::Missing, MissingSourceMessage(path(""))},
    };
    for (const Case& c : cases) {
        const auto loaded = LoadSourcePicture(c.path);
        ASSERT_FALSE(loaded) << c.path;
        EXPECT_EQ(loaded.error().failure, c.failure) << c.path;
        EXPECT_EQ(loaded.error().message, c.message);
    }
}

TEST(ClassifyPath, RightmostMarkDecides)
{
    const std::pair<const char*, FileKind> cases[] = {
        {"C:\\roms\\game.GBC", FileKind::Rom}, {"pic.orv", FileKind::Orv},   {"pic.orv.bmp", FileKind::Orv},
        {"pic.bmp", FileKind::Picture},          {"old.gb.orv", FileKind::Orv}, {"x.orv.gbc", FileKind::Rom},
    };
    for (const auto& [path, kind] : cases)
        EXPECT_EQ(ClassifyPath(path), kind) << path;
}

TEST(PictureImage, TopDownImageOfTheBottomUpGrid)
{
    const WorkingPicture picture = MakePicture(16, 8, [](int x, int t) {
        if (t == 0 && x == 0)
            return kRed;
        return t == 7 && x == 15 ? kBlue : kYellow;
    });
    const QImage image = ToQImage(picture);
    ASSERT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(0, 0), 0xFFFF0000);
    EXPECT_EQ(image.pixel(15, 7), 0xFF0000FF);
    EXPECT_EQ(image.pixel(3, 4), 0xFFFFFF00);
    EXPECT_EQ(WholeTilesFromImage(image).pixels, picture.pixels);
    EXPECT_TRUE(ToQImage(WorkingPicture{}).isNull());
}

} // namespace
} // namespace orv
