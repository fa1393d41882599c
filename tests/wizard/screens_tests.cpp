// Every page grabbed to a PNG file for a look by eye, with a real picture
// loaded; the test checks that each page draws something of its own.

#include <QDir>
#include <QPixmap>
#include <gtest/gtest.h>

#include "form2.h"
#include "picture_box.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

TEST(Screens, EveryPageIsGrabbedWithAPictureLoaded)
{
    // Stripes of four colours in both directions, so that scrolling shows.
    const auto stripes = [](int x, int t) {
        static const Colour colours[] = {0xFFFFFF, 0xE02020, 0x2040E0, 0x000000};
        return colours[((x / 12) + (t / 12)) % 4];
    };
    CoreHarness h;
    Form1& f = h.start();
    f.show();
    h.open(h.picture("stripes.bmp", 120, 100, stripes));
    h.next();
    h.next();
    ASSERT_EQ(h.pages(), Pages{3});
    QDir().mkpath(QStringLiteral(ORV_SCREENS_DIR));
    QImage previous;
    for (int page = 1; page <= 11; ++page) {
        h.show(page);
        const QImage image = f.grab().toImage();
        EXPECT_TRUE(image.save(QStringLiteral(ORV_SCREENS_DIR "/page%1.png").arg(page, 2, 10, QLatin1Char('0'))));
        EXPECT_NE(image, previous) << "page " << page;
        previous = image;
    }
    h.show(3);
    emit f.ui().Picture7->clicked();
    EXPECT_TRUE(f.grab().toImage().save(QStringLiteral(ORV_SCREENS_DIR "/page03_big.png")));
    Form2 about([](const QUrl&) {});
    about.show();
    EXPECT_TRUE(about.grab().toImage().save(QStringLiteral(ORV_SCREENS_DIR "/about.png")));
}

} // namespace
} // namespace orv::test
