// Pages with a real picture loaded, grabbed to PNG files for a look by eye.

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "core_harness.h"
#include "picture_box.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

void grab(Form1& f, const char* name)
{
    QDir().mkpath(QStringLiteral(ORV_SCREENS_DIR));
    const QImage image = f.grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(QStringLiteral(ORV_SCREENS_DIR "/%1.png").arg(QLatin1String(name))));
}

// Stripes of four colours in both directions, so that scrolling shows.
Colour pattern(int x, int t)
{
    static const Colour colours[] = {0xFFFFFF, 0xE02020, 0x2040E0, 0x000000};
    return colours[((x / 12) + (t / 12)) % 4];
}

TEST(CoreScreens, PagesWithAPicture)
{
    const SyntheticRom content = SyntheticRom::Standard('E');
    for (const auto& [w, h, big] : {std::tuple{56, 56, false}, std::tuple{200, 120, false}, std::tuple{200, 120, true}}) {
        CoreHarness harness;
        Form1& f = harness.start();
        f.show();
        const Form1Controls& c = f.ui();
        harness.open(harness.picture("stripes.bmp", w, h, pattern));
        if (w == 56)
            grab(f, "core_page08_colours");
        harness.next();
        harness.next();
        ASSERT_EQ(visiblePages(f), std::vector<int>{3});
        if (big)
            emit c.Picture7->clicked();
        grab(f, w == 56 ? "core_page03_small" : big ? "core_page03_big" : "core_page03_viewport");
        if (w != 56)
            continue;
        harness.next();
        harness.saveTo(harness.rom("game.gb", content));
        c.Check4->setChecked(true);
        c.Check11->setChecked(true);
        harness.next();
        harness.next();
        ASSERT_EQ(visiblePages(f), std::vector<int>{9});
        grab(f, "core_page09_names");
        harness.next();
        ASSERT_EQ(visiblePages(f), std::vector<int>{7});
        grab(f, "core_page07_success");
    }
}

} // namespace
} // namespace orv::test
