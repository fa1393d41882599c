// The window's controls: exact captions, none clipped, and the click rules of
// the pages.

#include <QToolButton>

#include "form1_layout.h"
#include "orvista_version.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

TEST(Window, TitleSizeAndExactCaptionsNoneClipped)
{
    Harness h;
    Form1& f = h.start();
    EXPECT_EQ(f.windowTitle(), "ORV v" ORVISTA_VERSION " XP");
    EXPECT_EQ(f.size(), QSize(scaledPixels(4815), scaledPixels(2370)));
    // Trailing blanks and dots, accelerators and umlauts are part of the captions.
    const std::pair<const char*, const char*> captions[] = {
        {"Command2", "&Next >>  "},
        {"Check12", "Pokemon-/Trainer-Pic extracting  ."},
        {"OptionButton12", "Retain old Compression Data   ."},
        {"Label4", "Höhe: "},
        {"Label19", "Click the \"Next\" button and insert more pics.        ."},
        {"Label21", "Offset to insert data in Decimal. Use \"&H\" if you wish to type the offset in Hex."
                    "                ."},
    };
    for (const auto& [name, caption] : captions) {
        QWidget* w = f.findChild<QWidget*>(QString::fromLatin1(name));
        const auto* b = qobject_cast<QAbstractButton*>(w);
        EXPECT_EQ(b ? b->text() : qobject_cast<QLabel*>(w)->text(), caption) << name;
    }
    EXPECT_NE(f.findChild<QLineEdit*>(QStringLiteral("Label18")), nullptr); // a text box with a label's name
    EXPECT_EQ(labelTextOf(QStringLiteral("a&&&b&")), "a&b");                 // as a label shows it

    for (QAbstractButton* b : f.findChildren<QAbstractButton*>()) {
        const std::string name = b->objectName().toStdString();
        if (qobject_cast<QToolButton*>(b))
            continue;
        if (b->hasHeightForWidth()) { // wraps its caption
            EXPECT_LE(b->heightForWidth(b->width()), b->height()) << name;
        } else {
            EXPECT_LE(b->sizeHint().width(), b->width()) << name;
            EXPECT_LE(b->fontMetrics().height(), b->height()) << name;
        }
    }
    for (QLabel* l : f.findChildren<QLabel*>()) {
        if (l->text().isEmpty() || qobject_cast<PictureBox*>(l))
            continue;
        EXPECT_LE(l->heightForWidth(l->width()), l->height()) << l->objectName().toStdString();
        for (const QString& w : l->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
            EXPECT_LE(l->fontMetrics().horizontalAdvance(w), l->width()) << l->objectName().toStdString();
    }
}

// More of these rules run when the settings are restored (see the start-up tests).
TEST(PageRules, ClicksEnableClearAndRestoreTheirFields)
{
    Harness h;
    const Form1Controls& c = h.start().ui();
    c.Check11->setChecked(true);
    c.Check1->setEnabled(false);
    c.Check4->click(); // unticked: the name change goes
    EXPECT_FALSE(c.Check11->isChecked() || c.Check1->isEnabled());
    c.Check4->click(); // ticked: Unown pictures are possible
    EXPECT_TRUE(c.Check1->isEnabled());

    c.OptionButton12->click(); // retaining the old data: no exchanges
    EXPECT_FALSE(c.Check3->isEnabled() || c.Check14->isEnabled());
    c.OptionButton13->click();
    EXPECT_TRUE(c.Check3->isEnabled() && c.Check14->isEnabled());

    // Unown and trainer boxes of both slot pages.
    for (const auto& [unown, trainer, number, spin] : {std::tuple{c.Check1, c.Check7, c.Text1, c.UpDown1},
                                                       std::tuple{c.Check5, c.Check8, c.Text3, c.UpDown3}}) {
        number->setText(QStringLiteral("37"));
        unown->click();
        EXPECT_EQ(spin->value(), 201);
        EXPECT_FALSE(number->isEnabled() || spin->isEnabled());
        unown->click(); // the number shown before returns
        EXPECT_EQ(number->text(), "37");
        trainer->click();
        EXPECT_FALSE(number->isEnabled() || unown->isEnabled());
        trainer->click();
        EXPECT_TRUE(number->isEnabled() && unown->isEnabled());
    }
}

} // namespace
} // namespace orv::test
