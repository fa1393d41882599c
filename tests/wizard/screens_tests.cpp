// Every page grabbed to a PNG file for a look by eye; the test checks that
// each page draws its own controls.

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include "form2.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

TEST(Screens, EveryPageIsGrabbed)
{
    Harness h;
    Form1& f = h.start();
    f.show();
    QDir().mkpath(QStringLiteral(ORV_SCREENS_DIR));
    QImage previous;
    for (int page = 1; page <= 11; ++page) {
        f.HidePage(f.state().CurrentPage);
        f.ShowPage(page);
        const QImage image = f.grab().toImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_TRUE(image.save(QStringLiteral(ORV_SCREENS_DIR "/page%1.png").arg(page, 2, 10, QLatin1Char('0'))));
        EXPECT_NE(image, previous) << "page " << page;
        previous = image;
    }
    Form2 about([](const QUrl&) {});
    about.show();
    EXPECT_TRUE(about.grab().toImage().save(QStringLiteral(ORV_SCREENS_DIR "/about.png")));
}

} // namespace
} // namespace orv::test
