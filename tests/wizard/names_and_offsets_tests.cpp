// Pages 5, 6 and 9 on the real cores: the names offered and written, the
// free-space button, and what the insertion leaves alone on purpose.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "core_harness.h"
#include "picture_box.h"
#include "up_down.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

// A coded picture of the given size on page 5 with rom as target.
Form1& onPage5(CoreHarness& h, const std::string& rom, int width, int height)
{
    Form1& f = h.start();
    h.open(h.picture("pic.bmp", width, height, [=](int x, int t) { return Quadrants(x, t, width, height); }));
    h.next();
    h.next();
    h.next();
    h.saveTo(rom);
    EXPECT_EQ(visiblePages(f), std::vector<int>{5});
    return f;
}

TEST(NamesAndOffsets, SourceRomNameIsOfferedAndWritten)
{
    const SyntheticRom source = SyntheticRom::Standard('E');
    const SyntheticRom target = SyntheticRom::Standard('D');
    CoreHarness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    h.open(h.rom("source.gb", source));
    c.Check12->setChecked(true);
    h.next();
    c.Text1->setText("1");
    h.next();
    h.next();
    h.next();
    const std::string rom = h.rom("target.gb", target);
    h.saveTo(rom);
    c.Check4->setChecked(true);
    c.Check11->setChecked(true);
    h.next();
    c.Text3->setText("25");
    c.Check6->setChecked(false);
    h.next();
    ASSERT_EQ(visiblePages(f), std::vector<int>{9});
    EXPECT_EQ(c.Text8->text(), "P1");
    EXPECT_EQ(c.Text9->text(), "P25");
    EXPECT_EQ(f.state().NameOffset, target.nameLocation(25));
    c.OptionButton9->setChecked(true);
    h.next();
    ASSERT_EQ(visiblePages(f), std::vector<int>{7});
    const auto bytes = ReadFileBytes(rom);
    const auto name = NameBytes("P1");
    EXPECT_TRUE(std::equal(name.begin(), name.end(), bytes.begin() + target.nameLocation(25)));
}

TEST(NamesAndOffsets, SearchButtonContinuesAndTellsWhenNothingIsFree)
{
    CoreHarness h;
    Form1& f = onPage5(h, h.rom("game.gb", SyntheticRom::Standard('E')), 56, 56);
    const Form1Controls& c = f.ui();
    const int64_t n = f.state().EncodedLength;
    const int64_t first = c.Text4->text().toLongLong();
    EXPECT_EQ(first, kFreeArea + 2);
    c.Command6->click();
    const int64_t second = c.Text4->text().toLongLong();
    EXPECT_GE(second, first + n + 3); // never over the place found before
    EXPECT_LT(second + n, kFreeArea + kFreeAreaLength);
    EXPECT_TRUE(h.messages.messages.empty());

    // A ROM without a zero run: the field keeps its value and the user is told.
    CoreHarness full;
    Form1& g = onPage5(full, full.rom("full.gb", SyntheticRom('E')), 56, 56);
    EXPECT_EQ(g.ui().Text4->text(), "0");
    ASSERT_EQ(full.messages.messages.size(), 1u);
    EXPECT_EQ(full.messages.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(full.messages.messages[0].text.startsWith(
        QStringLiteral("Kein freier Platz für %1 Bytes").arg(g.state().EncodedLength)));
}

TEST(NamesAndOffsets, SizeByteLeftAloneIsTold)
{
    const SyntheticRom content = SyntheticRom::Standard('E');
    CoreHarness h;
    const std::string rom = h.rom("game.gb", content);
    Form1& f = onPage5(h, rom, 96, 96); // 12 x 12 tiles: more than the size byte holds
    const Form1Controls& c = f.ui();
    c.Check4->setChecked(true);
    c.Check11->setChecked(false);
    h.next();
    c.Text3->setText("3");
    c.OptionButton3->setChecked(true);
    c.Check6->setChecked(false);
    h.next();
    ASSERT_EQ(visiblePages(f), std::vector<int>{7});
    ASSERT_EQ(h.messages.messages.size(), 1u);
    EXPECT_EQ(h.messages.messages[0].text,
              QString::fromUtf8("Die Größenangabe des Bildes wurde nicht geschrieben: Das Bild passt mit 12 x 12 "
                                "Kacheln nicht in die Größenangabe (1 bis 9 Kacheln je Richtung)."));
    EXPECT_EQ(h.messages.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(c.Label11->text().endsWith(QString::fromUtf8("\" eingefügt.")));
    EXPECT_EQ(ReadFileBytes(rom)[content.sizeByteLocation(3)], content.bytes[content.sizeByteLocation(3)]);
}

TEST(NamesAndOffsets, ColourListsFollowThePicture)
{
    const struct {
        std::function<Colour(int, int)> colourAt;
        bool first, second;
    } cases[] = {
        {[](int x, int) { return x < 8 ? kBlack : kWhite; }, false, false},
        {[](int x, int) { return x < 8 ? 0x00FF00 : kWhite; }, true, false},
        {[](int x, int t) { return Quadrants(x, t, 16, 16); }, true, true},
    };
    for (const auto& pc : cases) {
        CoreHarness h;
        Form1& f = h.start();
        const Form1Controls& c = f.ui();
        h.open(h.picture("c.bmp", 16, 16, pc.colourAt));
        ASSERT_EQ(visiblePages(f), std::vector<int>{8});
        EXPECT_EQ(c.Combo3->isEnabled(), pc.first);
        EXPECT_EQ(c.Combo4->isEnabled(), pc.second);
        EXPECT_EQ(c.Combo3->currentIndex(), pc.first ? 0 : -1);
        EXPECT_EQ(c.Combo4->currentIndex(), pc.second ? 1 : -1);
        const uint32_t face = QApplication::palette().color(QPalette::Button).rgb() & 0xFFFFFF;
        if (!pc.first) {
            EXPECT_EQ(c.Picture3->backColour(), face);
        }
        if (!pc.second) {
            EXPECT_EQ(c.Picture4->backColour(), face);
        }
        EXPECT_EQ(c.Combo5->currentIndex(), 0);
    }
}

} // namespace
} // namespace orv::test
