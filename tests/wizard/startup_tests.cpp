// Start-up from the settings store, shutdown, and a full round trip of every key.

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <map>

#include "control_settings.h"
#include "picture_box.h"
#include "settings_keys.h"
#include "up_down.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

void next(Form1& f)
{
    f.ui().Command2->click();
}

TEST(StartUp, EmptyStoreGivesTheDefaults)
{
    Harness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    EXPECT_EQ(f.pos(), QPoint(200 / 15, 200 / 15));
    EXPECT_EQ(c.Combo1->count(), 0);
    EXPECT_EQ(c.Combo2->count(), 0);
    EXPECT_TRUE(c.Combo1->currentText().isEmpty());
    EXPECT_TRUE(c.Combo2->currentText().isEmpty());
    for (QCheckBox* ticked : {c.Check12, c.Check13, c.Check4, c.Check6})
        EXPECT_TRUE(ticked->isChecked()) << ticked->objectName().toStdString();
    for (QCheckBox* clear : {c.Check1, c.Check2, c.Check3, c.Check5, c.Check7, c.Check8, c.Check11, c.Check14})
        EXPECT_FALSE(clear->isChecked()) << clear->objectName().toStdString();
    EXPECT_TRUE(c.OptionButton10->isChecked());
    EXPECT_FALSE(c.OptionButton11->isChecked());
    EXPECT_TRUE(c.OptionButton14->isChecked());
    EXPECT_TRUE(c.OptionButton1->isChecked());
    EXPECT_EQ(c.Text12->text(), "&H0");
    EXPECT_EQ(c.VScroll1->width(), 9);
    EXPECT_EQ(c.HScroll1->height(), 9);
    EXPECT_EQ(c.Picture7->size(), QSize(9, 9));
    EXPECT_EQ(f.state().PreviewFlags, 0);
    EXPECT_EQ(f.state().CurrentPage, 1);
    EXPECT_EQ(visiblePages(f), std::vector<int>{1});
    EXPECT_FALSE(c.Command3->isEnabled());
    ASSERT_FALSE(h.work.calls.empty());
    EXPECT_EQ(h.work.calls.front().hook, "startUp");
    EXPECT_TRUE(h.messages.messages.empty());
}

TEST(StartUp, EveryKeySurvivesARestart)
{
    Harness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    c.Combo1->setEditText(h.file(QStringLiteral("source.gbc")));
    c.Combo2->setEditText(h.file(QStringLiteral("target.gb")));

    // Page 1 -> 10 -> 2: the extraction choices by slot.
    next(f);
    next(f);
    c.OptionButton2->setChecked(true);
    c.Check2->setChecked(true);
    c.Check1->setChecked(true);
    c.UpDown2->setValue(26);
    c.Check7->setChecked(true);
    c.UpDown6->setValue(66);
    next(f);
    ASSERT_EQ(f.state().CurrentPage, 11);
    // Back to page 10 for an extraction by offset.
    c.Command3->click();
    c.Command3->click();
    ASSERT_EQ(f.state().CurrentPage, 10);
    c.Check12->setChecked(false);
    c.Check13->setChecked(false);
    c.Text12->setText(QStringLiteral("&H1F00"));
    c.Text13->setText(QStringLiteral("16"));
    c.Text14->setText(QStringLiteral("24"));
    next(f);
    ASSERT_EQ(f.state().CurrentPage, 11);
    c.OptionButton11->setChecked(true);
    c.OptionButton13->setChecked(true);
    c.Check3->setChecked(true);
    c.Check14->setChecked(true);
    next(f);
    f.state().PreviewFlags = kPreviewBig;
    next(f);
    next(f);
    ASSERT_EQ(f.state().CurrentPage, 5);
    c.Check11->setChecked(true);
    next(f);
    c.Check5->setChecked(true);
    c.UpDown5->setValue(3);
    c.Check6->setChecked(false);
    c.Check8->setChecked(true);
    c.UpDown7->setValue(2);
    next(f);
    ASSERT_EQ(f.state().CurrentPage, 7);
    // The colour page's choice.
    f.HidePage(7);
    f.ShowPage(8);
    c.Combo5->setCurrentIndex(2);
    next(f);
    f.move(40, 30);

    std::map<std::string, QString> before;
    for (const ControlSetting& s : f.controlSettings().table()) {
        const QString value = f.controlSettings().currentValue(s.key);
        before[s.key.name] = value;
        if (std::string(s.key.name) != "IsPokeB") // ticked to reach page 6, as by default
            EXPECT_NE(value, QString::fromUtf8(s.key.defaultValue)) << s.key.name;
    }

    Form1& g = h.restart();
    for (const ControlSetting& s : g.controlSettings().table())
        EXPECT_EQ(g.controlSettings().currentValue(s.key), before[s.key.name]) << s.key.name;
    for (const SettingKey& k : allSettingKeys()) {
        if (std::string(k.name) == "VScrollWidth" || std::string(k.name) == "HScrollWidth")
            continue; // never written
        EXPECT_NE(h.get(k.name), "<missing>") << k.name;
    }
    EXPECT_EQ(g.pos(), QPoint(40, 30));
    EXPECT_EQ(g.state().PreviewFlags, kPreviewBig);
    EXPECT_EQ(h.get("ColorOverride"), "2");
    EXPECT_EQ(g.ui().Combo1->currentText(), h.path(QStringLiteral("source.gbc")));
    EXPECT_EQ(g.ui().Combo2->currentText(), h.path(QStringLiteral("target.gb")));
    EXPECT_EQ(g.ui().Combo1->count(), 1);
    EXPECT_EQ(g.ui().Combo2->count(), 1);
    // Restored by their click handlers: the Unown number and the trainer rule.
    EXPECT_EQ(g.ui().Text1->text(), "201");
    EXPECT_FALSE(g.ui().Check1->isEnabled());
    EXPECT_FALSE(g.ui().Label18->isEnabled());
    EXPECT_TRUE(g.ui().Text12->isEnabled());
    EXPECT_FALSE(g.ui().Text13->isEnabled());
}

TEST(StartUp, ValuesThatNameNoOptionLeaveTheGroupUnchosen)
{
    const struct {
        const char* key;
        const char* value;
        std::vector<const char*> group;
    } cases[] = {
        {"IsHorizontal", "7", {"OptionButton10", "OptionButton11"}},
        {"IsHorizontal", "01", {"OptionButton10", "OptionButton11"}},
        {"ReCodeStyle", "", {"OptionButton12", "OptionButton13", "OptionButton14"}},
        {"PicTypeA", "3", {"OptionButton1", "OptionButton2"}},
    };
    for (const auto& c : cases) {
        Harness h;
        h.put(c.key, QString::fromLatin1(c.value));
        Form1& f = h.start();
        for (const char* name : c.group)
            EXPECT_FALSE(f.findChild<QRadioButton*>(QString::fromLatin1(name))->isChecked())
                << c.key << "=" << c.value << ": " << name;
    }
}

TEST(StartUp, CheckBoxesAreRestoredThroughTheirClickHandlers)
{
    {
        Harness h;
        h.put("IsPokeB", QStringLiteral("0"));
        h.put("SaveName", QStringLiteral("1"));
        Form1& f = h.start();
        EXPECT_FALSE(f.ui().Check4->isChecked());
        EXPECT_TRUE(f.ui().Check11->isChecked());
    }
    {
        Harness h;
        h.put("IcognitoA", QStringLiteral("1"));
        h.put("PokeIndexA", QStringLiteral("201"));
        h.put("TrainerA", QStringLiteral("1"));
        Form1& f = h.start();
        const Form1Controls& c = f.ui();
        EXPECT_EQ(c.Text1->text(), "201");
        for (QWidget* w : std::initializer_list<QWidget*>{c.Text1, c.UpDown1, c.Text2, c.UpDown2, c.OptionButton1,
                                                          c.OptionButton2, c.Check1, c.Check2})
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        c.Check7->setChecked(false);
        c.Check1->setChecked(false);
        EXPECT_EQ(c.Text1->text(), "1"); // the design number shown before 201
        EXPECT_TRUE(c.Text1->isEnabled());
    }
    {
        Harness h;
        h.put("ExtractPokePic", QStringLiteral("0"));
        h.put("ReCodeStyle", QStringLiteral("1"));
        Form1& f = h.start();
        const Form1Controls& c = f.ui();
        for (QWidget* w : std::initializer_list<QWidget*>{c.Text12, c.UpDown9, c.Check13, c.Text13, c.Text14})
            EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_TRUE(c.OptionButton12->isChecked());
        EXPECT_FALSE(c.Check3->isEnabled());
        EXPECT_FALSE(c.Check14->isEnabled());
    }
}

TEST(StartUp, NumbersAreReadAsTheirLeadingNumberAndKeptInRange)
{
    Harness h;
    h.put("PokeIndexA", QStringLiteral("300"));
    h.put("TrainerIndexB", QStringLiteral("12abc"));
    h.put("IcognitoIndexA", QStringLiteral("x"));
    h.put("BigPreview", QStringLiteral("5"));
    h.put("VScrollWidth", QStringLiteral("15"));
    Form1& f = h.start();
    EXPECT_EQ(f.ui().UpDown1->value(), 251);
    EXPECT_EQ(f.ui().Text1->text(), "251");
    EXPECT_EQ(f.ui().UpDown7->value(), 12);
    EXPECT_EQ(f.ui().UpDown2->value(), 1);
    EXPECT_EQ(f.state().PreviewFlags, kPreviewBig);
    EXPECT_EQ(f.state().ScrollWidthV, 15);
    EXPECT_EQ(f.ui().VScroll1->width(), 15);
    EXPECT_EQ(f.ui().HScroll1->height(), 9);
    EXPECT_EQ(f.ui().Picture7->size(), QSize(15, 9));
}

TEST(WindowPosition, BeyondTheScreenFallsBackTo200Twips)
{
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const struct {
        long long x, y;
        QPoint expected;
    } cases[] = {
        {3000, 1500, {200, 100}},
        {screen.width() * 15LL + 1, 1500, {13, 100}},
        {3000, screen.height() * 15LL + 15, {200, 13}},
        {screen.width() * 15LL, screen.height() * 15LL, {screen.width(), screen.height()}},
        {-300, -150, {-20, -10}},
        {99999999999LL, 0, {13, 0}},
    };
    for (const auto& c : cases) {
        Harness h;
        h.put("WinPosX", QString::number(c.x));
        h.put("WinPosY", QString::number(c.y));
        EXPECT_EQ(h.start().pos(), c.expected) << c.x << ", " << c.y;
    }
}

TEST(Shutdown, StoresThePositionInTwipsUnlessMinimized)
{
    Harness h;
    Form1& f = h.start();
    f.move(50, 20);
    f.close();
    EXPECT_EQ(h.get("WinPosX"), "750");
    EXPECT_EQ(h.get("WinPosY"), "300");

    Harness h2;
    Form1& g = h2.start();
    g.showMinimized();
    g.move(60, 20);
    g.ui().Command1->click(); // Exit
    EXPECT_EQ(h2.get("WinPosX"), "<missing>");
    EXPECT_FALSE(g.isVisible());
}

TEST(CommandLine, AMissingFileIsReportedBeforeTheWindowIsShown)
{
    Harness h;
    Form1& f = h.start(QStringLiteral("  /no/such/folder/pic.bmp  "));
    EXPECT_FALSE(f.isVisible());
    ASSERT_EQ(h.messages.messages.size(), 1u);
    const Message& m = h.messages.messages[0];
    EXPECT_EQ(m.text, QStringLiteral("Die Datei \"/no/such/folder/pic.bmp\" konnte nicht gefunden werden."));
    EXPECT_EQ(m.caption, "Fehler");
    EXPECT_EQ(m.icon, MessageIcon::Critical);
    EXPECT_EQ(f.ui().Combo1->currentText(), "/no/such/folder/pic.bmp");
    EXPECT_EQ(visiblePages(f), std::vector<int>{1});
    EXPECT_EQ(h.get("count", "Recent"), "<missing>");
}

TEST(CommandLine, AnExistingFileIsLoadedAtOnce)
{
    Harness h;
    const QString pic = h.file(QStringLiteral("pic.bmp"));
    Form1& f = h.start(pic + QStringLiteral(" "));
    EXPECT_EQ(h.work.hooks(), (std::vector<std::string>{"startUp", "loadSourcePicture"}));
    EXPECT_EQ(visiblePages(f), std::vector<int>{8});
    EXPECT_EQ(f.state().SourcePath, pic.toStdString());
    EXPECT_EQ(h.get("count", "Recent"), "1");
    EXPECT_EQ(h.get("1", "Recent"), pic);

    // A blank command line does nothing.
    Harness h2;
    h2.start(QStringLiteral("   "));
    EXPECT_EQ(h2.work.hooks(), std::vector<std::string>{"startUp"});
    EXPECT_TRUE(h2.messages.messages.empty());
}

} // namespace
} // namespace orv::test
