// The window's controls: names, captions, spin controls, option groups and
// the click and selection rules of the pages.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "form1_layout.h"
#include "option_group.h"
#include "page_rules.h"
#include "picture_box.h"
#include "up_down.h"
#include "wrap_check_box.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

TEST(Window, HasItsTitleAndFixedSize)
{
    Harness h;
    Form1& f = h.start();
    EXPECT_EQ(f.windowTitle(), "ORV v4.11 XP");
    EXPECT_EQ(f.objectName(), "Form1");
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    EXPECT_EQ(f.size(), QSize(scaledPixels(4815), scaledPixels(2370)));
}

TEST(Window, CaptionsAreExact)
{
    Harness h;
    Form1& f = h.start();
    // Trailing blanks and dots, accelerators and umlauts are part of the captions.
    const std::pair<const char*, const char*> buttons[] = {
        {"Command2", "&Next >>  "},
        {"Command3", "<< &Back  "},
        {"Command6", "&Search Next Offset    "},
        {"Check12", "Pokemon-/Trainer-Pic extracting  ."},
        {"Check10", "Remember last file  "},
        {"OptionButton12", "Retain old Compression Data   ."},
    };
    for (const auto& [name, caption] : buttons) {
        auto* b = f.findChild<QAbstractButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), QString::fromUtf8(caption)) << name;
    }
    const std::pair<const char*, const char*> labels[] = {
        {"Label4", "Höhe: "},
        {"Label17", "         ."},
        {"Label21", "Offset to insert data in Decimal. Use \"&H\" if you wish to type the offset in Hex."
                    "                ."},
    };
    for (const auto& [name, shown] : labels) {
        auto* l = f.findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(l, nullptr) << name;
        EXPECT_EQ(l->text(), QString::fromUtf8(shown)) << name;
    }
    // One text box carries a label's name.
    EXPECT_NE(f.findChild<QLineEdit*>(QStringLiteral("Label18")), nullptr);
    auto* combo5 = f.ui().Combo5;
    ASSERT_EQ(combo5->count(), 4);
    EXPECT_EQ(combo5->itemText(1), QString::fromUtf8("Weiß"));
    EXPECT_EQ(combo5->itemData(1).toLongLong(), 16777215);
}

TEST(Window, LabelCaptionsShowAmpersandsAsTheWindowDoes)
{
    EXPECT_EQ(labelTextOf(QStringLiteral("&About")), "About");
    EXPECT_EQ(labelTextOf(QStringLiteral("Use \"&&H\" here")), "Use \"&H\" here");
    EXPECT_EQ(labelTextOf(QStringLiteral("a&&&b&")), "a&b");
    EXPECT_EQ(labelTextOf(QStringLiteral("plain")), "plain");
}

TEST(Window, NoCaptionIsClipped)
{
    Harness h;
    Form1& f = h.start();
    for (QAbstractButton* b : f.findChildren<QAbstractButton*>()) {
        if (qobject_cast<QToolButton*>(b))
            continue;
        if (b->hasHeightForWidth()) { // wraps its caption
            EXPECT_LE(b->heightForWidth(b->width()), b->height()) << b->objectName().toStdString();
            continue;
        }
        EXPECT_LE(b->sizeHint().width(), b->width()) << b->objectName().toStdString();
        EXPECT_LE(b->fontMetrics().height(), b->height()) << b->objectName().toStdString();
    }
    for (QLabel* l : f.findChildren<QLabel*>()) {
        if (l->text().isEmpty() || qobject_cast<PictureBox*>(l))
            continue;
        EXPECT_LE(l->heightForWidth(l->width()), l->height()) << l->objectName().toStdString();
        const QStringList words = l->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& w : words)
            EXPECT_LE(l->fontMetrics().horizontalAdvance(w), l->width()) << l->objectName().toStdString();
    }
}

TEST(UpDownControl, KeepsItsValueInRangeAndWritesItsTextBox)
{
    QLineEdit text(QStringLiteral("1"));
    UpDown spin(&text, 1, 251, 1);
    spin.setValue(25);
    EXPECT_EQ(text.text(), "25");
    spin.setValue(999);
    EXPECT_EQ(spin.value(), 251);
    spin.setValue(-5);
    EXPECT_EQ(spin.value(), 1);
    EXPECT_EQ(text.text(), "1");
    spin.upButton()->click();
    EXPECT_EQ(text.text(), "2");
    text.setText(QStringLiteral("&HF0")); // typed; an arrow starts from it
    spin.upButton()->click();
    EXPECT_EQ(spin.value(), 241);
    spin.downButton()->click();
    EXPECT_EQ(text.text(), "240");
    spin.setValue(251);
    spin.upButton()->click();
    EXPECT_EQ(spin.value(), 251);
}

TEST(UpDownControl, StoresTypedTextOnlyWhenInRange)
{
    QLineEdit text;
    UpDown spin(&text, 0, 1, 0);
    spin.setRange(0, 4'000'000'000LL); // beyond 32 bits
    const struct {
        const char* typed;
        bool ok;
        long long value;
    } cases[] = {
        {"&H1F0000", true, 2031616}, {"1F0000", true, 1},         {"  12abc", true, 12},
        {"", true, 0},               {"3999999999", true, 3999999999LL}, {"4000000001", false, 4000000001LL},
        {"-1", false, -1},           {"2.5", true, 2},
    };
    for (const auto& c : cases) {
        spin.setValue(7);
        text.setText(QString::fromLatin1(c.typed));
        const auto stored = spin.storeText();
        ASSERT_EQ(stored.has_value(), c.ok) << c.typed;
        if (c.ok) {
            EXPECT_EQ(*stored, c.value) << c.typed;
            EXPECT_EQ(spin.value(), c.value) << c.typed;
        } else {
            EXPECT_EQ(stored.error().value, c.value) << c.typed;
            EXPECT_EQ(spin.value(), 7) << c.typed;
            EXPECT_EQ(text.text(), QString::fromLatin1(c.typed)) << c.typed;
        }
    }
    // A file exactly as long as the data gives the range 0 .. -1.
    spin.setRange(0, -1);
    EXPECT_TRUE(spin.inRange(0));
    EXPECT_FALSE(spin.inRange(1));
}

TEST(OptionGroups, ExcludeEachOtherAndCanHaveNoChoice)
{
    Harness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    c.OptionButton12->setChecked(true);
    EXPECT_FALSE(c.OptionButton14->isChecked());
    EXPECT_TRUE(c.OptionButton10->isChecked()); // another group on the same page keeps its choice
    c.TileOrder->clear();
    EXPECT_EQ(c.TileOrder->chosen(), nullptr);
    EXPECT_FALSE(c.OptionButton10->isChecked());
    EXPECT_FALSE(c.OptionButton11->isChecked());
    c.OptionButton11->click();
    EXPECT_EQ(c.TileOrder->chosen(), c.OptionButton11);
    c.OptionButton10->click();
    EXPECT_FALSE(c.OptionButton11->isChecked());
    EXPECT_EQ(c.P5B->chosen(), c.OptionButton5);
    EXPECT_EQ(c.NAMESEL->chosen(), c.OptionButton9);
}

TEST(PageRules, Check4TickedEnablesUnownUntickedClearsTheNameChange)
{
    Harness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    c.Check11->setChecked(true);
    c.Check1->setEnabled(false);
    c.Check4->click();
    EXPECT_FALSE(c.Check11->isChecked());
    EXPECT_FALSE(c.Check1->isEnabled());
    c.Check4->click();
    EXPECT_TRUE(c.Check1->isEnabled());
    EXPECT_FALSE(c.Check11->isChecked());
}

struct SlotPage {
    const char* name;
    const char* unown;
    const char* trainer;
    const char* number;
    const char* numberSpin;
    std::vector<const char*> trainerDisables; // besides the number
};

void PrintTo(const SlotPage& p, std::ostream* os)
{
    *os << p.name;
}

class UnownAndTrainer : public ::testing::TestWithParam<SlotPage> {};

TEST_P(UnownAndTrainer, RulesOfTheSlotPages)
{
    const SlotPage& p = GetParam();
    Harness h;
    Form1& f = h.start();
    const auto find = [&f](const char* name) { return f.findChild<QWidget*>(QString::fromLatin1(name)); };
    auto* unown = qobject_cast<QCheckBox*>(find(p.unown));
    auto* trainer = qobject_cast<QCheckBox*>(find(p.trainer));
    auto* number = qobject_cast<QLineEdit*>(find(p.number));
    auto* spin = qobject_cast<UpDown*>(find(p.numberSpin));
    ASSERT_TRUE(unown && trainer && number && spin);

    number->setText(QStringLiteral("37"));
    unown->click();
    EXPECT_EQ(number->text(), "201");
    EXPECT_EQ(spin->value(), 201);
    EXPECT_FALSE(number->isEnabled());
    EXPECT_FALSE(spin->isEnabled());
    unown->click();
    EXPECT_EQ(number->text(), "37");
    EXPECT_EQ(spin->value(), 37);
    EXPECT_TRUE(number->isEnabled());

    trainer->click();
    EXPECT_FALSE(number->isEnabled());
    for (const char* name : p.trainerDisables)
        EXPECT_FALSE(find(name)->isEnabled()) << name;
    trainer->click();
    EXPECT_TRUE(number->isEnabled());
    for (const char* name : p.trainerDisables)
        EXPECT_TRUE(find(name)->isEnabled()) << name;

    // With the Unown box ticked the number stays disabled after the trainer box.
    unown->click();
    trainer->click();
    trainer->click();
    EXPECT_FALSE(number->isEnabled());
    EXPECT_TRUE(unown->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    BothPages, UnownAndTrainer,
    ::testing::Values(SlotPage{"Extraction", "Check1", "Check7", "Text1", "UpDown1",
                               {"Text2", "UpDown2", "OptionButton1", "OptionButton2", "Check1", "Check2"}},
                      SlotPage{"Insertion", "Check5", "Check8", "Text3", "UpDown3",
                               {"Label18", "UpDown5", "OptionButton3", "OptionButton4", "OptionButton5",
                                "OptionButton6", "Check5"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageRules, ExtractionByOffsetEnablesItsFields)
{
    Harness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    c.Check12->click();
    EXPECT_TRUE(c.Text12->isEnabled());
    EXPECT_TRUE(c.UpDown9->isEnabled());
    EXPECT_TRUE(c.Check13->isEnabled());
    EXPECT_TRUE(c.Text13->isEnabled());
    c.Check13->click();
    EXPECT_FALSE(c.Text13->isEnabled());
    EXPECT_FALSE(c.Text14->isEnabled());
    c.Check12->click();
    EXPECT_FALSE(c.Text12->isEnabled());
    EXPECT_FALSE(c.Check13->isEnabled());
}

TEST(PageRules, RetainingTheOldDataDisablesTheExchanges)
{
    Harness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    c.Check3->setChecked(true);
    c.OptionButton12->click();
    EXPECT_FALSE(c.Check3->isEnabled());
    EXPECT_FALSE(c.Check14->isEnabled());
    EXPECT_TRUE(c.Check3->isChecked());
    c.OptionButton13->click();
    EXPECT_TRUE(c.Check3->isEnabled());
    EXPECT_TRUE(c.Check14->isEnabled());
}

TEST(PageRules, ColourListsPaintTheirSwatches)
{
    Harness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    c.Combo3->addItem(QStringLiteral("FF0000"), qlonglong{0xFF0000});
    c.Combo3->addItem(QStringLiteral("00FF00"), qlonglong{0x00FF00});
    c.Combo4->addItem(QStringLiteral("FF0000"), qlonglong{0xFF0000});
    c.Combo4->addItem(QStringLiteral("00FF00"), qlonglong{0x00FF00});
    f.selectItem(c.Combo5, 2);
    f.selectItem(c.Combo3, 1);
    EXPECT_EQ(c.Picture3->backColour(), 0x00FF00u);
    EXPECT_EQ(c.Combo5->itemData(2).toLongLong(), 0x00FF00);
    EXPECT_EQ(c.Picture5->backColour(), 0x00FF00u);
    f.selectItem(c.Combo4, 0);
    EXPECT_EQ(c.Picture4->backColour(), 0xFF0000u);
    EXPECT_EQ(c.Combo5->itemData(3).toLongLong(), 0xFF0000);
    EXPECT_EQ(c.Picture5->backColour(), 0x00FF00u); // follows colour 1 only
    f.selectItem(c.Combo5, 3);
    EXPECT_EQ(c.Picture5->backColour(), 0xFF0000u);
    f.selectItem(c.Combo5, 1);
    EXPECT_EQ(c.Picture5->backColour(), 0xFFFFFFu);

    // Choosing the same item again still runs the handler.
    c.Picture3->setButtonFace();
    f.selectItem(c.Combo3, 1);
    EXPECT_EQ(c.Picture3->backColour(), 0x00FF00u);
}

TEST(PageRules, FillingAColourListSelectsNothingAndRunsNoHandler)
{
    Harness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    c.Picture4->setButtonFace();
    const uint32_t face = c.Picture4->backColour();
    f.replaceItems(c.Combo4, {{QStringLiteral("123456"), 0x123456}});
    EXPECT_EQ(c.Combo4->count(), 1);
    EXPECT_EQ(c.Combo4->currentIndex(), -1);
    EXPECT_EQ(c.Combo5->itemData(3).toLongLong(), 0);
    EXPECT_EQ(c.Picture4->backColour(), face);
    EXPECT_EQ(c.Combo4->itemData(0).toLongLong(), 0x123456);
}

TEST(Preview, TheCornerBoxTogglesTheEnlargedPreview)
{
    Harness h;
    Form1& f = h.start();
    h.work.calls.clear();
    f.state().PreviewFlags = kPreviewWide;
    QTest::mouseClick(f.ui().Picture7, Qt::LeftButton);
    EXPECT_EQ(f.state().PreviewFlags, kPreviewWide | kPreviewBig);
    QTest::mouseClick(f.ui().Picture7, Qt::LeftButton);
    EXPECT_EQ(f.state().PreviewFlags, kPreviewWide);
    EXPECT_EQ(h.work.hooks(), (std::vector<std::string>{"layoutPreview", "layoutPreview"}));
}

TEST(Preview, ScrollBarsMoveThePicture)
{
    Harness h;
    Form1& f = h.start();
    f.ui().VScroll1->setRange(0, 50);
    f.ui().HScroll1->setRange(0, 50);
    f.ui().VScroll1->setValue(12);
    f.ui().HScroll1->setValue(7);
    EXPECT_EQ(f.ui().Picture6->pos(), QPoint(-7, -12));
}

} // namespace
} // namespace orv::test
