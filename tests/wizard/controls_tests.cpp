// The window's controls: captions, spin controls and the click and selection
// rules of the pages.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include "form1_layout.h"
#include "picture_box.h"
#include "up_down.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

TEST(Window, TitleSizeAndExactCaptions)
{
    Harness h;
    Form1& f = h.start();
    EXPECT_EQ(f.windowTitle(), "ORV v4.11 XP");
    EXPECT_EQ(f.size(), QSize(scaledPixels(4815), scaledPixels(2370)));
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    // Trailing blanks and dots, accelerators and umlauts are part of the captions.
    const std::pair<const char*, const char*> captions[] = {
        {"Command2", "&Next >>  "},
        {"Command6", "&Search Next Offset    "},
        {"Check12", "Pokemon-/Trainer-Pic extracting  ."},
        {"OptionButton12", "Retain old Compression Data   ."},
        {"Label4", "Höhe: "},
        {"Label17", "         ."},
        {"Label21", "Offset to insert data in Decimal. Use \"&H\" if you wish to type the offset in Hex."
                    "                ."},
    };
    for (const auto& [name, caption] : captions) {
        QWidget* w = f.findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(w, nullptr) << name;
        const auto* b = qobject_cast<QAbstractButton*>(w);
        EXPECT_EQ(b ? b->text() : qobject_cast<QLabel*>(w)->text(), QString::fromUtf8(caption)) << name;
    }
    EXPECT_NE(f.findChild<QLineEdit*>(QStringLiteral("Label18")), nullptr); // a text box with a label's name
    EXPECT_EQ(f.ui().Combo5->itemText(1), QString::fromUtf8("Weiß"));
    EXPECT_EQ(f.ui().Combo5->itemData(1).toLongLong(), 16777215);
    // Labels show "&&" as one "&" and hide a single one.
    EXPECT_EQ(labelTextOf(QStringLiteral("a&&&b&")), "a&b");
}

TEST(Window, NoCaptionIsClipped)
{
    Harness h;
    Form1& f = h.start();
    for (QAbstractButton* b : f.findChildren<QAbstractButton*>()) {
        const std::string name = b->objectName().toStdString();
        if (qobject_cast<QToolButton*>(b))
            continue;
        if (b->hasHeightForWidth()) { // wraps its caption
            EXPECT_LE(b->heightForWidth(b->width()), b->height()) << name;
            continue;
        }
        EXPECT_LE(b->sizeHint().width(), b->width()) << name;
        EXPECT_LE(b->fontMetrics().height(), b->height()) << name;
    }
    for (QLabel* l : f.findChildren<QLabel*>()) {
        if (l->text().isEmpty() || qobject_cast<PictureBox*>(l))
            continue;
        EXPECT_LE(l->heightForWidth(l->width()), l->height()) << l->objectName().toStdString();
        for (const QString& w : l->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
            EXPECT_LE(l->fontMetrics().horizontalAdvance(w), l->width()) << l->objectName().toStdString();
    }
}

TEST(UpDownControl, ArrowsClampAndTypedTextIsStoredOnlyInRange)
{
    QLineEdit text(QStringLiteral("1"));
    UpDown spin(&text, 1, 251, 1);
    spin.setValue(999);
    EXPECT_EQ(text.text(), "251");
    spin.upButton()->click();
    EXPECT_EQ(spin.value(), 251);
    text.setText(QStringLiteral("&HF0")); // typed; an arrow starts from it
    spin.upButton()->click();
    EXPECT_EQ(text.text(), "241");

    spin.setRange(0, 4'000'000'000LL); // beyond 32 bits
    const struct {
        const char* typed;
        bool ok;
        long long value;
    } cases[] = {
        {"&H1F0000", true, 2031616}, {"1F0000", true, 1}, {"  12abc", true, 12}, {"", true, 0},
        {"3999999999", true, 3999999999LL}, {"4000000001", false, 4000000001LL}, {"-1", false, -1},
    };
    for (const auto& c : cases) {
        spin.setValue(7);
        text.setText(QString::fromLatin1(c.typed));
        const auto stored = spin.storeText();
        ASSERT_EQ(stored.has_value(), c.ok) << c.typed;
        EXPECT_EQ(c.ok ? *stored : stored.error().value, c.value) << c.typed;
        EXPECT_EQ(spin.value(), c.ok ? c.value : 7) << c.typed;
        EXPECT_TRUE(c.ok || text.text() == c.typed) << c.typed;
    }
    spin.setRange(0, -1); // a file exactly as long as the data
    EXPECT_FALSE(spin.inRange(0) && spin.inRange(1));
}

TEST(PageRules, CheckBoxesEnableAndClearTheirFields)
{
    Harness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    c.Check11->setChecked(true);
    c.Check1->setEnabled(false);
    c.Check4->click(); // unticked: the name change goes
    EXPECT_FALSE(c.Check11->isChecked() || c.Check1->isEnabled());
    c.Check4->click(); // ticked: Unown pictures are possible
    EXPECT_TRUE(c.Check1->isEnabled());

    c.Check12->click(); // extraction by offset
    for (QWidget* w : std::initializer_list<QWidget*>{c.Text12, c.UpDown9, c.Check13, c.Text13})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    c.Check13->click();
    EXPECT_FALSE(c.Text13->isEnabled() || c.Text14->isEnabled());
    c.Check12->click();
    EXPECT_FALSE(c.Text12->isEnabled() || c.Check13->isEnabled());

    c.Check3->setChecked(true);
    c.OptionButton12->click(); // retaining the old data: no exchanges
    EXPECT_FALSE(c.Check3->isEnabled() || c.Check14->isEnabled());
    EXPECT_TRUE(c.Check3->isChecked());
    c.OptionButton13->click();
    EXPECT_TRUE(c.Check3->isEnabled() && c.Check14->isEnabled());
}

TEST(PageRules, UnownAndTrainerBoxesOfBothSlotPages)
{
    const struct {
        const char *unown, *trainer, *number, *spin;
        std::vector<const char*> trainerDisables; // besides the number
    } pages[] = {
        {"Check1", "Check7", "Text1", "UpDown1", {"Text2", "UpDown2", "OptionButton1", "OptionButton2", "Check2"}},
        {"Check5", "Check8", "Text3", "UpDown3",
         {"Label18", "UpDown5", "OptionButton3", "OptionButton4", "OptionButton5", "OptionButton6"}},
    };
    for (const auto& p : pages) {
        SCOPED_TRACE(p.unown);
        Harness h;
        Form1& f = h.start();
        const auto find = [&f](const char* name) { return f.findChild<QWidget*>(QString::fromLatin1(name)); };
        auto* unown = qobject_cast<QCheckBox*>(find(p.unown));
        auto* trainer = qobject_cast<QCheckBox*>(find(p.trainer));
        auto* number = qobject_cast<QLineEdit*>(find(p.number));
        auto* spin = qobject_cast<UpDown*>(find(p.spin));
        ASSERT_TRUE(unown && trainer && number && spin);

        number->setText(QStringLiteral("37"));
        unown->click();
        EXPECT_EQ(spin->value(), 201);
        EXPECT_FALSE(number->isEnabled() || spin->isEnabled());
        unown->click(); // the number shown before returns
        EXPECT_EQ(number->text(), "37");
        EXPECT_TRUE(number->isEnabled());

        trainer->click();
        EXPECT_FALSE(number->isEnabled() || unown->isEnabled());
        for (const char* name : p.trainerDisables)
            EXPECT_FALSE(find(name)->isEnabled()) << name;
        trainer->click();
        for (const char* name : p.trainerDisables)
            EXPECT_TRUE(find(name)->isEnabled()) << name;
        unown->click(); // with the Unown box ticked the number stays disabled
        trainer->click();
        trainer->click();
        EXPECT_FALSE(number->isEnabled());
    }
}

TEST(PageRules, ColourListsPaintTheirSwatches)
{
    Harness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    f.replaceItems(c.Combo3, {{QStringLiteral("FF0000"), 0xFF0000}, {QStringLiteral("00FF00"), 0x00FF00}});
    f.replaceItems(c.Combo4, {{QStringLiteral("FF0000"), 0xFF0000}});
    EXPECT_EQ(c.Combo3->currentIndex(), -1); // filling selects nothing and runs no handler
    EXPECT_EQ(c.Combo5->itemData(3).toLongLong(), 0);
    f.selectItem(c.Combo5, 2);
    f.selectItem(c.Combo3, 1);
    EXPECT_EQ(c.Picture3->backColour(), 0x00FF00u);
    EXPECT_EQ(c.Combo5->itemData(2).toLongLong(), 0x00FF00);
    EXPECT_EQ(c.Picture5->backColour(), 0x00FF00u);
    f.selectItem(c.Combo4, 0);
    EXPECT_EQ(c.Picture4->backColour(), 0xFF0000u);
    EXPECT_EQ(c.Combo5->itemData(3).toLongLong(), 0xFF0000);
    EXPECT_EQ(c.Picture5->backColour(), 0x00FF00u); // follows colour 1 only
    f.selectItem(c.Combo5, 1);
    EXPECT_EQ(c.Picture5->backColour(), 0xFFFFFFu);
    c.Picture3->setButtonFace(); // the same item again still runs the handler
    f.selectItem(c.Combo3, 1);
    EXPECT_EQ(c.Picture3->backColour(), 0x00FF00u);
}

} // namespace
} // namespace orv::test
