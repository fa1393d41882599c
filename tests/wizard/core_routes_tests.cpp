// The wizard on the real cores: a picture and ROM pictures reach page 3 with
// the right facts, and page 3's preview is laid out, scrolled and dragged.

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <gtest/gtest.h>

#include "codec_library.h"
#include "core_harness.h"
#include "picture_box.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

struct Facts {
    QString width, height, pixels, bytes, palette;
    bool operator==(const Facts&) const = default;
};

void PrintTo(const Facts& f, std::ostream* os)
{
    *os << f.width.toStdString() << " x " << f.height.toStdString() << ", " << f.pixels.toStdString() << " px, "
        << f.bytes.toStdString() << " bytes, " << f.palette.toStdString();
}

Facts page3(const Form1& f)
{
    const Form1Controls& c = f.ui();
    return {c.Label7->text(), c.Label8->text(), c.Label9->text(), c.Label10->text(), c.Text5->text()};
}

TEST(CoreRoutes, PictureIsCutMappedCodedAndShown)
{
    CoreHarness h;
    Form1& f = h.start();
    h.open(h.picture("pic.bmp", 100, 50, [](int x, int t) { return Quadrants(x, t, 100, 50); }));
    ASSERT_EQ(visiblePages(f), std::vector<int>{8});
    const Form1Controls& c = f.ui();
    ASSERT_EQ(c.Combo3->count(), 2);
    EXPECT_EQ(c.Combo3->itemText(0), "FF0000");
    EXPECT_EQ(c.Combo4->itemText(1), "0000FF");
    EXPECT_EQ(c.Combo3->currentIndex(), 0);
    EXPECT_EQ(c.Combo4->currentIndex(), 1);
    EXPECT_EQ(c.Picture4->backColour(), 0x0000FFu);

    h.next();
    ASSERT_EQ(visiblePages(f), std::vector<int>{11});
    h.next();
    ASSERT_EQ(visiblePages(f), std::vector<int>{3});
    const WizardState& s = f.state();
    EXPECT_EQ(page3(f), (Facts{"96", "48", "4608", QString::number(s.EncodedLength), "1F00007C"}));
    ASSERT_GT(s.EncodedLength, 0);
    ASSERT_EQ(s.TileData.size(), 96u * 48 / 4);

    // The stream written later decodes to the tile data, and the four-shade
    // picture shown is the top-left 96 x 48 of the file.
    auto lengths = codec::measure(s.EncodedData);
    ASSERT_TRUE(lengths);
    EXPECT_EQ(codec::decode(s.EncodedData, lengths->decompressed).value(), s.TileData);
    int wrong = 0;
    for (int t = 0; t < 48; ++t)
        for (int x = 0; x < 96; ++x)
            wrong += s.Picture.atTop(x, t) != Quadrants(x, t, 100, 50);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(c.Picture1->pixmap().size(), QSize(96, 48));
    EXPECT_TRUE(h.messages.messages.empty());
}

struct RomCase {
    const char* name;
    std::function<void(const Form1Controls&)> page10, page2;
    const char* picture; // of SyntheticRom::Standard
    Facts facts;         // bytes: filled in from the stream
    bool orderFixed;     // vertical order chosen and locked
};

void PrintTo(const RomCase& c, std::ostream* os)
{
    *os << c.name;
}

class RomRoutes : public ::testing::TestWithParam<RomCase> {};

TEST_P(RomRoutes, PictureKeepsItsStreamThroughPage11)
{
    const RomCase& rc = GetParam();
    const SyntheticRom content = SyntheticRom::Standard('E');
    CoreHarness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    h.open(h.rom("game.gb", content));
    ASSERT_EQ(visiblePages(f), std::vector<int>{10});
    rc.page10(c);
    h.next();
    if (c.Check12->isChecked()) {
        ASSERT_EQ(visiblePages(f), std::vector<int>{2});
        rc.page2(c);
        h.next();
    }
    ASSERT_EQ(visiblePages(f), std::vector<int>{11}) << h.messages.messages.size();
    EXPECT_EQ(c.OptionButton10->isChecked() && !c.OptionButton10->isEnabled(), rc.orderFixed);
    ASSERT_TRUE(c.OptionButton12->isEnabled());
    c.OptionButton12->setChecked(true);
    h.next();
    ASSERT_EQ(visiblePages(f), std::vector<int>{3});

    const PlacedPicture& placed = content.picture(rc.picture);
    Facts expected = rc.facts;
    expected.bytes = QString::number(placed.stream.size());
    EXPECT_EQ(page3(f), expected);
    EXPECT_EQ(f.state().EncodedData, placed.stream);
    EXPECT_EQ(f.state().TileData, placed.tiles);
    EXPECT_TRUE(h.messages.messages.empty());
}

const auto bySlot = [](const Form1Controls& c) { c.Check12->setChecked(true); };

INSTANTIATE_TEST_SUITE_P(
    Sources, RomRoutes,
    ::testing::Values(
        RomCase{"Pokemon1Front", bySlot, [](const Form1Controls& c) { c.Text1->setText("1"); }, "poke1front",
                {"56", "56", "3136", "", "FF03007C"}, true},
        RomCase{"Unown3BackShiny", bySlot,
                [](const Form1Controls& c) {
                    c.Check1->setChecked(true);
                    c.Text2->setText("3");
                    c.OptionButton2->setChecked(true);
                    c.Check2->setChecked(true);
                },
                "unown3back", {"32", "32", "1024", "", "C9334449"}, true},
        RomCase{"Trainer2", bySlot,
                [](const Form1Controls& c) {
                    c.Check7->setChecked(true);
                    c.Text6->setText("2");
                },
                "trainer2", {"56", "56", "3136", "", "02558266"}, true},
        RomCase{"OffsetWithWidth",
                [](const Form1Controls& c) {
                    c.Check12->setChecked(false);
                    c.Text12->setText("&H101000");
                    c.Check13->setChecked(true);
                    c.Text13->setText("16");
                    c.Text14->clear();
                },
                nullptr, "poke1back", {"16", "144", "2304", "", "FF03007C"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct Geometry {
    QRect viewport, vBar, hBar, corner;
    int vMin, vMax, hMin, hMax;
    bool operator==(const Geometry&) const = default;
};

void PrintTo(const Geometry& g, std::ostream* os)
{
    const auto r = [os](const QRect& q) { *os << "(" << q.x() << "," << q.y() << " " << q.width() << "x" << q.height() << ") "; };
    r(g.viewport), r(g.vBar), r(g.hBar), r(g.corner);
    *os << "v " << g.vMin << ".." << g.vMax << " h " << g.hMin << ".." << g.hMax;
}

Geometry geometry(const Form1Controls& c)
{
    return {QRect(QPoint(0, 0), c.Picture8->size()), c.VScroll1->geometry(), c.HScroll1->geometry(),
            c.Picture7->geometry(), c.VScroll1->minimum(), c.VScroll1->maximum(), c.HScroll1->minimum(),
            c.HScroll1->maximum()};
}

// A picture of the size shown on page 3.
Form1& toPreview(CoreHarness& h, int width, int height)
{
    Form1& f = h.start();
    f.show();
    h.open(h.picture("p.bmp", width, height, [=](int x, int t) { return Quadrants(x, t, width, height); }));
    h.next();
    h.next();
    EXPECT_EQ(visiblePages(f), std::vector<int>{3});
    return f;
}

TEST(CorePreview, SmallPictureIsShownDirectly)
{
    CoreHarness h;
    Form1& f = toPreview(h, 80, 80);
    EXPECT_TRUE(f.ui().Picture1->isVisible());
    EXPECT_FALSE(f.ui().Picture8->isVisible());
    EXPECT_EQ(f.ui().Picture1->contentsRect().size(), QSize(80, 80));
}

TEST(CorePreview, ViewportLayoutAndCornerButton)
{
    // Viewport 89 x 89 with a one-pixel frame: 87 x 87 inside, 78 visible
    // beside the 9-pixel bars.
    const struct {
        int width, height;
        Geometry small, big;
    } cases[] = {
        {88, 40,
         {{0, 0, 89, 89}, {78, 0, 9, 78}, {0, 78, 78, 9}, {78, 78, 9, 9}, -38, 0, 0, 10},
         {{0, 0, 289, 89}, {278, 0, 9, 78}, {0, 78, 278, 9}, {278, 78, 9, 9}, -38, 0, -190, 0}},
        {96, 120,
         {{0, 0, 89, 89}, {78, 0, 9, 78}, {0, 78, 78, 9}, {78, 78, 9, 9}, 0, 42, 0, 18},
         {{0, 0, 289, 89}, {278, 0, 9, 78}, {0, 78, 278, 9}, {278, 78, 9, 9}, 0, 42, -182, 0}},
    };
    for (const auto& pc : cases) {
        CoreHarness h;
        Form1& f = toPreview(h, pc.width, pc.height);
        const Form1Controls& c = f.ui();
        EXPECT_FALSE(c.Picture1->isVisible());
        ASSERT_TRUE(c.Picture8->isVisible());
        EXPECT_EQ(geometry(c), pc.small) << pc.width << "x" << pc.height;
        EXPECT_EQ(c.Picture6->size(), QSize(pc.width, pc.height));
        EXPECT_EQ(c.VScroll1->invertedAppearance(), pc.small.vMin < 0);

        emit c.Picture7->clicked();
        EXPECT_EQ(geometry(c), pc.big) << pc.width << "x" << pc.height;
        EXPECT_TRUE(c.HScroll1->invertedAppearance());
        h.next();
        EXPECT_EQ(h.store->get("Settings", "BigPreview", "?"), "4");
    }
}

void mouse(QWidget* w, QEvent::Type type, int x, int y)
{
    const bool down = type != QEvent::MouseButtonRelease;
    QMouseEvent event(type, QPointF(x, y), w->mapToGlobal(QPointF(x, y)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

TEST(CorePreview, DraggingScrollsWithinTheRanges)
{
    CoreHarness h;
    Form1& f = toPreview(h, 88, 40); // horizontal 0..10, vertical 0 down to -38
    const Form1Controls& c = f.ui();
    PictureBox* picture = c.Picture6;

    mouse(picture, QEvent::MouseButtonPress, 20, 10);
    EXPECT_TRUE(f.state().DragActive);
    mouse(picture, QEvent::MouseMove, 14, 10); // 6 to the left
    EXPECT_EQ(c.HScroll1->value(), 6);
    EXPECT_EQ(picture->pos(), QPoint(-6, 0));
    mouse(picture, QEvent::MouseMove, 0, 10); // far beyond the maximum
    EXPECT_EQ(c.HScroll1->value(), 10);
    mouse(picture, QEvent::MouseMove, 20, 25); // down: the negative vertical range
    EXPECT_EQ(c.VScroll1->value(), -15);
    EXPECT_EQ(picture->pos(), QPoint(-10, 15));
    mouse(picture, QEvent::MouseButtonRelease, 20, 25);
    EXPECT_FALSE(f.state().DragActive);
    mouse(picture, QEvent::MouseMove, 0, 0); // no button held: nothing moves
    EXPECT_EQ(c.HScroll1->value(), 10);

    c.HScroll1->setValue(0);
    mouse(picture, QEvent::MouseButtonPress, 5, 5);
    mouse(picture, QEvent::MouseMove, 30, 5); // to the right at 0
    EXPECT_EQ(c.HScroll1->value(), 0);
    EXPECT_EQ(picture->pos().x(), 0);
}

} // namespace
} // namespace orv::test
