// The wizard on the real cores: a picture and ROM pictures reach page 3 with
// the right facts, page 3's preview is laid out and dragged, and every page
// is grabbed to a PNG file.

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>

#include "codec.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

TEST(CoreRoutes, PictureIsCutMappedCodedAndShown)
{
    CoreHarness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    h.open(h.picture("pic.bmp", 100, 50, Quadrants(100, 50)));
    ASSERT_EQ(h.pages(), Pages{8});
    ASSERT_EQ(c.Combo3->count(), 2);
    EXPECT_EQ(c.Combo3->currentText() + " " + c.Combo4->currentText(), "FF0000 0000FF");
    EXPECT_EQ(c.Picture4->backColour(), 0x0000FFu);
    h.next();
    ASSERT_EQ(h.pages(), Pages{11});
    h.next();
    ASSERT_EQ(h.pages(), Pages{3});
    const WizardState& s = f.state();
    ASSERT_GT(s.EncodedLength, 0);
    EXPECT_EQ(h.facts(), (QStringList{"96", "48", "4608", QString::number(s.EncodedLength), "1F00007C"}));
    // The stream decodes to the tile data; the four shades shown are the top-left 96 x 48 of the file.
    ASSERT_EQ(s.TileData.size(), 96u * 48 / 4);
    const auto lengths = codec::Measure(s.EncodedData);
    ASSERT_TRUE(lengths);
    EXPECT_EQ(codec::Decode(s.EncodedData, lengths->decompressed).value(), s.TileData);
    int wrong = 0;
    for (int t = 0; t < 48; ++t)
        for (int x = 0; x < 96; ++x)
            wrong += s.Picture.atTop(x, t) != Quadrants(100, 50)(x, t);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(c.Picture1->pixmap().size(), QSize(96, 48));
    EXPECT_TRUE(h.messages.messages.empty());
}

// By slot: see the run through an own file.
TEST(CoreRoutes, RomPictureByOffsetKeepsItsStreamThroughPage11)
{
    const SyntheticRom content = SyntheticRom::Standard('E');
    CoreHarness h;
    const Form1Controls& c = h.start().ui();
    h.open(h.rom("game.gb", content));
    ASSERT_EQ(h.pages(), Pages{10});
    c.Check12->setChecked(false);
    c.Text12->setText("&H101000");
    c.Text13->setText("16"); // wide; the height follows from the data
    c.Text14->clear();
    h.next();
    ASSERT_EQ(h.pages(), Pages{11});
    EXPECT_TRUE(c.OptionButton10->isEnabled());
    c.OptionButton12->setChecked(true);
    h.next();
    ASSERT_EQ(h.pages(), Pages{3});
    const PlacedPicture& placed = content.picture("poke1back");
    EXPECT_EQ(h.facts(), (QStringList{"16", "144", "2304", QString::number(placed.stream.size()), "FF03007C"}));
    EXPECT_EQ(h.form->state().EncodedData, placed.stream);
    EXPECT_EQ(h.form->state().TileData, placed.tiles);
    EXPECT_TRUE(h.messages.messages.empty());
}

// Viewport, scroll bars and corner button, and the scroll ranges.
std::string geometry(const Form1Controls& c)
{
    QString all;
    for (const QRect& r : {QRect(QPoint(0, 0), c.Picture8->size()), c.VScroll1->geometry(), c.HScroll1->geometry(),
                           c.Picture7->geometry()})
        all += QStringLiteral("%1,%2 %3x%4; ").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    const QScrollBar *v = c.VScroll1, *h = c.HScroll1;
    all += QStringLiteral("v %1..%2 h %3..%4").arg(v->minimum()).arg(v->maximum()).arg(h->minimum()).arg(h->maximum());
    return all.toStdString();
}

// A picture of the given size shown on page 3.
Form1& toPreview(CoreHarness& h, int width, int height, const std::function<Colour(int, int)>& colourAt = {})
{
    Form1& f = h.start();
    f.show();
    h.open(h.picture("p.bmp", width, height, colourAt ? colourAt : Quadrants(width, height)));
    h.next();
    h.next();
    EXPECT_EQ(h.pages(), Pages{3});
    return f;
}

void mouse(QWidget* w, QEvent::Type type, int x, int y, Qt::MouseButtons held = Qt::LeftButton)
{
    QMouseEvent event(type, QPointF(x, y), w->mapToGlobal(QPointF(x, y)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

TEST(CorePreview, LayoutDraggingAndTheCornerButton)
{
    CoreHarness small;
    Form1& f = toPreview(small, 80, 80);
    EXPECT_TRUE(f.ui().Picture1->isVisible());
    EXPECT_FALSE(f.ui().Picture8->isVisible());
    EXPECT_EQ(f.ui().Picture1->contentsRect().size(), QSize(80, 80));

    // Viewport 89 x 89 with a one-pixel frame: 87 x 87 inside, 78 visible beside the 9-pixel bars.
    CoreHarness h;
    const Form1Controls& c = toPreview(h, 88, 40).ui();
    EXPECT_FALSE(c.Picture1->isVisible());
    ASSERT_TRUE(c.Picture8->isVisible());
    EXPECT_EQ(geometry(c), "0,0 89x89; 78,0 9x78; 0,78 78x9; 78,78 9x9; v -38..0 h 0..10");
    EXPECT_EQ(c.Picture6->size(), QSize(88, 40));
    EXPECT_TRUE(c.VScroll1->invertedAppearance());

    QWidget* picture = c.Picture6;
    mouse(picture, QEvent::MouseButtonPress, 20, 10);
    mouse(picture, QEvent::MouseMove, 14, 10); // 6 to the left
    EXPECT_EQ(picture->pos(), QPoint(-6, 0));
    mouse(picture, QEvent::MouseMove, 0, 10); // far beyond the maximum
    mouse(picture, QEvent::MouseMove, 20, 25); // down: the negative vertical range
    EXPECT_EQ(c.HScroll1->value(), 10);
    EXPECT_EQ(c.VScroll1->value(), -15);
    EXPECT_EQ(picture->pos(), QPoint(-10, 15));
    mouse(picture, QEvent::MouseButtonRelease, 20, 25, Qt::NoButton);
    mouse(picture, QEvent::MouseMove, 0, 0); // released: nothing moves
    EXPECT_EQ(picture->pos(), QPoint(-10, 15));

    emit c.Picture7->clicked();
    EXPECT_EQ(geometry(c), "0,0 289x89; 278,0 9x78; 0,78 278x9; 278,78 9x9; v -38..0 h -190..0");
    EXPECT_TRUE(c.HScroll1->invertedAppearance());
    h.next();
    EXPECT_EQ(h.get("BigPreview"), "4");
}

// Every page grabbed to a PNG file for a look by eye, with a picture loaded;
// each page draws something of its own.
TEST(Screens, EveryPageIsGrabbedWithAPictureLoaded)
{
    const auto stripes = [](int x, int t) { // four colours both ways, so that scrolling shows
        static const Colour colours[] = {0xFFFFFF, 0xE02020, 0x2040E0, 0x000000};
        return colours[((x / 12) + (t / 12)) % 4];
    };
    CoreHarness h;
    Form1& f = toPreview(h, 120, 100, stripes);
    QDir().mkpath(QStringLiteral(ORV_SCREENS_DIR));
    QImage previous;
    for (int page = 1; page <= 11; ++page) {
        h.show(page);
        const QImage image = f.grab().toImage();
        EXPECT_TRUE(image.save(QStringLiteral(ORV_SCREENS_DIR "/page%1.png").arg(page, 2, 10, QLatin1Char('0'))));
        EXPECT_NE(image, previous) << "page " << page;
        previous = image;
    }
}

} // namespace
} // namespace orv::test
