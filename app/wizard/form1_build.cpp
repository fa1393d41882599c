// The controls of the main window in their design state: names, captions,
// positions (twips), groups, ranges and initial values.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "colour_swatch.h"
#include "form1_controls.h"
#include "form1_layout.h"
#include "option_group.h"
#include "picture_box.h"
#include "up_down.h"
#include "wrap_check_box.h"

namespace orv {
namespace {

struct Twips {
    int left, top, width, height;
};

template <class W>
W* place(W* w, const char* name, Twips r)
{
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(scaledRect(r.left, r.top, r.width, r.height));
    return w;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, Twips r)
{
    auto* b = place(new QPushButton(caption, parent), name, r);
    b->setAutoDefault(false);
    return b;
}

QCheckBox* check(QWidget* parent, const char* name, const QString& caption, Twips r, bool ticked)
{
    // Boxes tall enough for two lines wrap their caption.
    const bool twoLines = r.height >= 2 * 240;
    auto* b = place(twoLines ? new WrapCheckBox(caption, parent) : new QCheckBox(caption, parent), name, r);
    b->setChecked(ticked);
    return b;
}

QRadioButton* option(QWidget* parent, const char* name, const QString& caption, Twips r, OptionGroup* group,
                     bool chosen = false)
{
    auto* b = place(new QRadioButton(caption, parent), name, r);
    group->add(b);
    if (chosen)
        group->choose(b);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, Twips r)
{
    auto* l = place(new QLabel(parent), name, r);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setText(labelTextOf(caption));
    return l;
}

// The name of the picture a number chooses, in the free strip above the
// number box; empty until a ROM is read.
QLabel* slotName(QWidget* parent, const char* name, Twips r)
{
    auto* l = place(new QLabel(parent), name, r);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::PlaceholderText));
    l->setPalette(p);
    return l;
}

QLineEdit* text(QWidget* parent, const char* name, const QString& content, Twips r)
{
    auto* t = place(new QLineEdit(content, parent), name, r);
    return t;
}

UpDown* upDown(QWidget* parent, const char* name, QLineEdit* buddy, Twips r, int64_t min, int64_t max,
               int64_t value)
{
    return place(new UpDown(buddy, min, max, value, parent), name, r);
}

QComboBox* combo(QWidget* parent, const char* name, Twips r, bool editable)
{
    auto* c = place(new QComboBox(parent), name, r);
    c->setEditable(editable);
    if (editable) {
        // The text is exactly what the user typed: no completion, no list insertion.
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setCompleter(nullptr);
    }
    return c;
}

PictureBox* picture(QWidget* parent, const char* name, Twips r)
{
    auto* p = place(new PictureBox(parent), name, r);
    p->setFrameShape(QFrame::StyledPanel);
    p->setFrameShadow(QFrame::Sunken);
    return p;
}

QFrame* page(QWidget* parent, const char* name)
{
    auto* f = place(new QFrame(parent), name, {120, 60, 4575, 1695});
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Sunken);
    f->hide();
    return f;
}

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

void buildPreviewBoxes(QWidget* w, Form1Controls& c)
{
    // The preview shows pictures at one pixel per pixel, so only the boxes'
    // places are scaled, not their sizes.
    const QPoint corner(scaledPixels(240), scaledPixels(285));
    c.Picture1 = picture(w, "Picture1", {240, 285, 1335, 1335});
    c.Picture1->setGeometry(QRect(corner, QSize(plainPixels(1335), plainPixels(1335))));
    c.Picture1->setBackColour(0xFFFFFF);
    c.Picture1->hide();

    c.Picture8 = picture(w, "Picture8", {240, 285, 1335, 1335});
    c.Picture8->setGeometry(QRect(corner, QSize(plainPixels(1335), plainPixels(1335))));
    c.Picture8->hide();
    c.Picture6 = new PictureBox(c.Picture8);
    c.Picture6->setObjectName(u("Picture6"));
    c.Picture6->setGeometry(0, 0, plainPixels(975), plainPixels(975));
    c.VScroll1 = new QScrollBar(Qt::Vertical, c.Picture8);
    c.VScroll1->setObjectName(u("VScroll1"));
    c.VScroll1->setGeometry(plainPixels(1080), 0, plainPixels(135), plainPixels(975));
    c.HScroll1 = new QScrollBar(Qt::Horizontal, c.Picture8);
    c.HScroll1->setObjectName(u("HScroll1"));
    c.HScroll1->setGeometry(0, plainPixels(1080), plainPixels(975), plainPixels(135));
    c.Picture7 = new PictureBox(c.Picture8);
    c.Picture7->setObjectName(u("Picture7"));
    c.Picture7->setButtonFace();
    c.Picture7->setGeometry(plainPixels(960), plainPixels(960), plainPixels(255), plainPixels(255));

    c.Picture2 = picture(w, "Picture2", {0, 0, 615, 615});
    c.Picture2->hide();
}

void buildPage1(QWidget* f, Form1Controls& c)
{
    c.Label1 = label(f, "Label1", u("Load the Pic or Rom:"), {120, 360, 2895, 255});
    c.Combo1 = combo(f, "Combo1", {120, 600, 4335, 315}, true);
    c.Command4 = button(f, "Command4", u("&Browse Data"), {3120, 240, 1335, 315});
    c.Check9 = check(f, "Check9", u("Remember last file  "), {120, 960, 2895, 255}, true);
    c.Command8 = button(f, "Command8", u("&Reset Folder "), {3120, 960, 1335, 315});
    c.Command7 = button(f, "Command7", u("&About"), {120, 1320, 1335, 315});
    c.Label25 = label(f, "Label25", u("Pokemon-Name-Range:  "), {1680, 1320, 1935, 255});
    c.Text11 = text(f, "Text11", u("10"), {3600, 1320, 555, 285});
    c.UpDown8 = upDown(f, "UpDown8", c.Text11, {4170, 1320, 270, 285}, 1, 20, 10);
}

void buildPage2(QWidget* f, Form1Controls& c)
{
    c.Label2 = label(f, "Label2", u("Pokemonnummer:"), {120, 240, 1575, 255});
    c.Text1 = text(f, "Text1", u("1"), {1800, 240, 825, 285});
    c.UpDown1 = upDown(f, "UpDown1", c.Text1, {2640, 240, 270, 285}, 1, 251, 1);
    c.OptionButton1 = option(f, "OptionButton1", u("Frontpic"), {3120, 240, 1335, 375}, c.P2A, true);
    c.OptionButton2 = option(f, "OptionButton2", u("Backpic"), {3120, 720, 1335, 375}, c.P2A);
    c.Check1 = check(f, "Check1", u("Unown's Index:   "), {120, 720, 1575, 255}, false);
    c.Text2 = text(f, "Text2", u("1"), {1800, 720, 825, 285});
    c.UpDown2 = upDown(f, "UpDown2", c.Text2, {2640, 720, 270, 285}, 1, 26, 1);
    c.Check7 = check(f, "Check7", u("Trainer - Index:"), {120, 1200, 1575, 255}, false);
    c.Text6 = text(f, "Text6", u("1"), {1800, 1200, 825, 285});
    c.UpDown6 = upDown(f, "UpDown6", c.Text6, {2640, 1200, 270, 285}, 1, 66, 1);
    c.Check2 = check(f, "Check2", u("Shiny"), {3120, 1200, 1335, 375}, false);
    c.SlotName2 = slotName(f, "SlotName2", {1800, 15, 1305, 225});
}

void buildPage3(QWidget* f, Form1Controls& c)
{
    const auto caption = [f](const char* name, const char* text, int top) {
        QLabel* l = label(f, name, u(text), {1560, top, 1095, 255});
        l->setAlignment(Qt::AlignRight | Qt::AlignTop);
        return l;
    };
    c.Label3 = caption("Label3", "Breite: ", 240);
    c.Label4 = caption("Label4", "Höhe: ", 480);
    c.Label5 = caption("Label5", "Pixelanzahl: ", 720);
    c.Label6 = caption("Label6", "Anzahl Bytes: ", 960);
    c.Label14 = caption("Label14", "Palette: ", 1200);
    c.Label7 = label(f, "Label7", QString(), {2880, 240, 1575, 255});
    c.Label8 = label(f, "Label8", QString(), {2880, 480, 1575, 255});
    c.Label9 = label(f, "Label9", QString(), {2880, 720, 1575, 255});
    c.Label10 = label(f, "Label10", QString(), {2880, 960, 1575, 255});
    c.Text5 = text(f, "Text5", QString(), {2880, 1200, 1575, 285});
    c.Text5->setReadOnly(true);
    c.Text5->setFrame(false);
    c.Text5->setTextMargins(0, 0, 0, 0);
    // On the line of its label, which stands at the top of its box.
    c.Text5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette p = c.Text5->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    c.Text5->setPalette(p);
}

void buildPage4(QWidget* f, Form1Controls& c)
{
    c.Label15 = label(f, "Label15", u("File to save data in:   "), {120, 240, 4335, 255});
    c.Combo2 = combo(f, "Combo2", {120, 480, 4335, 315}, true);
    c.Check10 = check(f, "Check10", u("Remember last file  "), {120, 960, 1335, 495}, true);
    c.Command9 = button(f, "Command9", u("&Reset Folder "), {1680, 960, 1335, 315});
    c.Command5 = button(f, "Command5", u("&Browse data"), {3120, 960, 1335, 315});
}

void buildPage5(QWidget* f, Form1Controls& c)
{
    c.Check4 = check(f, "Check4", u("Pokemon-/Trainer-Pic Insertion."), {120, 240, 2715, 255}, true);
    c.Check11 = check(f, "Check11", u("Change Name ."), {2880, 240, 1575, 255}, false);
    c.Label16 = label(f, "Label16", u("Type  an Offset"), {120, 600, 1335, 255});
    c.Command6 = button(f, "Command6", u("&Search Next Offset    "), {1680, 540, 2775, 315});
    c.Text4 = text(f, "Text4", u("0"), {105, 960, 1080, 285});
    c.UpDown4 = upDown(f, "UpDown4", c.Text4, {1200, 960, 270, 285}, 0, 1, 0);
    c.Label21 = label(f, "Label21",
                      u("Offset to insert data in Decimal. Use \"&&H\" if you wish to type the offset in "
                        "Hex.                ."),
                      {1680, 960, 2775, 615});
    c.Label17 = label(f, "Label17", u("         ."), {120, 1320, 1335, 255});
}

void buildPage6(QWidget* f, Form1Controls& c)
{
    c.Label20 = label(f, "Label20", u("Pokemon Nummer:"), {120, 240, 1695, 255});
    c.Text3 = text(f, "Text3", u("1"), {1920, 240, 705, 285});
    c.UpDown3 = upDown(f, "UpDown3", c.Text3, {2640, 240, 270, 285}, 1, 251, 1);
    c.Check5 = check(f, "Check5", u("Unown's List:   "), {120, 600, 1695, 255}, false);
    c.Label18 = text(f, "Label18", u("1"), {1920, 600, 705, 285});
    c.UpDown5 = upDown(f, "UpDown5", c.Label18, {2640, 600, 270, 255}, 1, 251, 1);
    c.Check8 = check(f, "Check8", u("Trainer Nummer:"), {120, 960, 1695, 255}, false);
    c.Text7 = text(f, "Text7", u("1"), {1920, 960, 705, 285});
    c.UpDown7 = upDown(f, "UpDown7", c.Text7, {2640, 960, 270, 285}, 1, 66, 1);
    c.Check6 = check(f, "Check6", u("Delete Original Picture    "), {120, 1320, 2775, 255}, false);
    c.OptionButton3 = option(f, "OptionButton3", u("Frontpic"), {3240, 165, 1215, 375}, c.P5A, true);
    c.OptionButton4 = option(f, "OptionButton4", u("Backpic"), {3240, 525, 1215, 375}, c.P5A);
    c.OptionButton5 = option(f, "OptionButton5", u("Normal"), {3240, 900, 1215, 375}, c.P5B, true);
    c.OptionButton6 = option(f, "OptionButton6", u("Shiny"), {3240, 1245, 1215, 375}, c.P5B);
    c.SlotName6 = slotName(f, "SlotName6", {1920, 15, 1305, 225});
}

void buildPage7(QWidget* f, Form1Controls& c)
{
    c.Label11 = label(f, "Label11", QString(), {120, 240, 4335, 975});
    c.Label19 = label(f, "Label19", u("Click the \"Next\" button and insert more pics.        ."),
                      {120, 1320, 4335, 255});
}

void buildPage8(QWidget* f, Form1Controls& c)
{
    c.Label23 = label(f, "Label23", u("Farbe 1:"), {120, 240, 1575, 255});
    c.Combo3 = combo(f, "Combo3", {1800, 240, 1575, 315}, false);
    c.Picture3 = picture(f, "Picture3", {3480, 240, 975, 375});
    c.Label13 = label(f, "Label13", u("Farbe 2:"), {120, 720, 1575, 255});
    c.Combo4 = combo(f, "Combo4", {1800, 720, 1575, 315}, false);
    c.Picture4 = picture(f, "Picture4", {3480, 720, 975, 375});
    c.Label22 = label(f, "Label22", u("Restliche Farben zu:"), {120, 1200, 1575, 255});
    c.Combo5 = combo(f, "Combo5", {1800, 1200, 1575, 315}, false);
    c.Combo5->addItem(u("Schwarz"), qlonglong{0});
    c.Combo5->addItem(u("Weiß"), qlonglong{0xFFFFFF});
    c.Combo5->addItem(u("Farbe 1"), qlonglong{0});
    c.Combo5->addItem(u("Farbe 2"), qlonglong{0});
    ShowColourSwatches(c.Combo5);
    c.Combo5->setCurrentIndex(-1);
    c.Picture5 = picture(f, "Picture5", {3480, 1200, 975, 375});
}

void buildPage9(QWidget* f, Form1Controls& c)
{
    c.Label12 = label(f, "Label12", u("New Name selection:"), {120, 240, 4335, 255});
    c.OptionButton9 = option(f, "OptionButton9", u("From Source-Data:"), {240, 480, 1695, 375}, c.NAMESEL, true);
    c.Text8 = text(f, "Text8", QString(), {1920, 600, 2295, 285});
    c.Text8->setReadOnly(true);
    c.OptionButton7 = option(f, "OptionButton7", u("From the ROM:"), {240, 840, 1695, 375}, c.NAMESEL);
    c.Text9 = text(f, "Text9", QString(), {1920, 960, 2295, 285});
    c.Text9->setReadOnly(true);
    c.OptionButton8 = option(f, "OptionButton8", u("Type a new name:  "), {240, 1200, 1695, 375}, c.NAMESEL);
    c.Text10 = text(f, "Text10", QString(), {1920, 1320, 2295, 285});
}

void buildPage10(QWidget* f, Form1Controls& c)
{
    c.Check12 = check(f, "Check12", u("Pokemon-/Trainer-Pic extracting  ."), {120, 240, 4335, 255}, true);
    c.Label27 = label(f, "Label27", u("Pic-Offset:"), {120, 585, 1335, 255});
    c.Text12 = text(f, "Text12", u("0"), {105, 840, 1080, 285});
    c.Text12->setEnabled(false);
    c.UpDown9 = upDown(f, "UpDown9", c.Text12, {1200, 840, 240, 285}, 0, 10, 0);
    c.UpDown9->setEnabled(false);
    c.Check13 = check(f, "Check13", u("GFX Image Size: (X/Y in Pixels)    "), {1680, 570, 2775, 255}, true);
    c.Check13->setEnabled(false);
    c.Text13 = text(f, "Text13", QString(), {1680, 840, 1095, 285});
    c.Text13->setEnabled(false);
    c.Label26 = label(f, "Label26", u("x"), {2880, 840, 255, 255});
    c.Text14 = text(f, "Text14", QString(), {3120, 840, 1095, 285});
    c.Text14->setEnabled(false);
    c.Label24 = label(f, "Label24",
                      u("The Compression format works for any kind of GFX, such as Tilesets or Backpics or "
                        "anything with the same form ."),
                      {120, 1200, 4335, 465});
}

void buildPage11(QWidget* f, Form1Controls& c)
{
    c.Label28 = label(f, "Label28", u("Tile-Direction:"), {120, 240, 1335, 255});
    c.OptionButton10 = option(f, "OptionButton10", u("Vertikal"), {240, 540, 1215, 255}, c.TileOrder);
    c.OptionButton11 = option(f, "OptionButton11", u("Horizontal"), {240, 840, 1095, 255}, c.TileOrder, true);
    c.OptionButton14 =
        option(f, "OptionButton14", u("Build new Compression."), {1800, 120, 2535, 345}, c.NewComp, true);
    c.OptionButton12 =
        option(f, "OptionButton12", u("Retain old Compression Data   ."), {1800, 420, 2655, 345}, c.NewComp);
    c.OptionButton13 =
        option(f, "OptionButton13", u("Non-Compressed (TLP)   "), {1800, 720, 2655, 345}, c.NewComp);
    c.Label29 = label(f, "Label29", u("Colour-Exchange (In pic, not in Palette):  "), {120, 1170, 1575, 495});
    c.Check3 = check(f, "Check3", u("Light / Dark Exchange    ."), {1800, 1140, 2655, 255}, false);
    c.Check14 = check(f, "Check14", u("Black / White Exchange    ."), {1800, 1380, 2655, 255}, false);
}

} // namespace

void buildForm1Controls(QWidget* w, Form1Controls& c)
{
    // Next comes first in the tab order.
    c.Command2 = button(w, "Command2", u("&Next >>  "), {3240, 1920, 1335, 315});
    c.Command3 = button(w, "Command3", u("<< &Back  "), {1800, 1920, 1335, 315});
    c.Command3->setEnabled(false);
    c.Command1 = button(w, "Command1", u("&Exit Prog"), {240, 1920, 1335, 315});

    c.TileOrder = new OptionGroup(u("TileOrder"), w);
    c.NewComp = new OptionGroup(u("NewComp"), w);
    c.P2A = new OptionGroup(u("P2A"), w);
    c.P5A = new OptionGroup(u("P5A"), w);
    c.P5B = new OptionGroup(u("P5B"), w);
    c.NAMESEL = new OptionGroup(u("NAMESEL"), w);

    c.Frame1 = page(w, "Frame1");
    c.Frame2 = page(w, "Frame2");
    c.Frame3 = page(w, "Frame3");
    c.Frame4 = page(w, "Frame4");
    c.Frame5 = page(w, "Frame5");
    c.Frame6 = page(w, "Frame6");
    c.Frame7 = page(w, "Frame7");
    c.Frame8 = page(w, "Frame8");
    c.Frame9 = page(w, "Frame9");
    c.Frame10 = page(w, "Frame10");
    c.Frame11 = page(w, "Frame11");
    buildPage1(c.Frame1, c);
    buildPage2(c.Frame2, c);
    buildPage3(c.Frame3, c);
    buildPage4(c.Frame4, c);
    buildPage5(c.Frame5, c);
    buildPage6(c.Frame6, c);
    buildPage7(c.Frame7, c);
    buildPage8(c.Frame8, c);
    buildPage9(c.Frame9, c);
    buildPage10(c.Frame10, c);
    buildPage11(c.Frame11, c);
    c.Frame1->show();

    // Created last so they lie over the pages.
    buildPreviewBoxes(w, c);
}

} // namespace orv
