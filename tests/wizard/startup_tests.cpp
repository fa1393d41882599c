// Start-up from the settings store, shutdown, the command line, and a full
// round trip of every key.

#include <QGuiApplication>
#include <QScreen>
#include <map>

#include "control_settings.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

TEST(StartUp, EmptyStoreGivesTheDefaults)
{
    Harness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    EXPECT_EQ(f.pos(), QPoint(200 / 15, 200 / 15));
    EXPECT_EQ(c.Combo1->count() + c.Combo2->count(), 0);
    EXPECT_TRUE(c.Combo1->currentText().isEmpty() && c.Combo2->currentText().isEmpty());
    for (QCheckBox* ticked : {c.Check12, c.Check13, c.Check4, c.Check6})
        EXPECT_TRUE(ticked->isChecked()) << ticked->objectName().toStdString();
    for (QCheckBox* clear : {c.Check1, c.Check2, c.Check3, c.Check5, c.Check7, c.Check8, c.Check11, c.Check14})
        EXPECT_FALSE(clear->isChecked()) << clear->objectName().toStdString();
    for (QRadioButton* chosen : {c.OptionButton10, c.OptionButton14, c.OptionButton1})
        EXPECT_TRUE(chosen->isChecked()) << chosen->objectName().toStdString();
    EXPECT_EQ(c.Text12->text(), "&H0");
    EXPECT_EQ(c.Picture7->size(), QSize(9, 9));
    EXPECT_EQ(f.state().PreviewFlags, 0);
    EXPECT_EQ(h.pages(), Pages{1});
    EXPECT_FALSE(c.Command3->isEnabled());
    EXPECT_EQ(h.work.trace, "startUp@1");
    EXPECT_TRUE(h.messages.messages.empty());
}

TEST(StartUp, EveryKeySurvivesARestart)
{
    Harness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    c.Combo1->setEditText(h.file(QStringLiteral("source.gbc")));
    c.Combo2->setEditText(h.file(QStringLiteral("target.gb")));
    h.next(); // 1 -> 10
    h.next(); // 10 -> 2: the extraction choices by slot
    Tick({c.OptionButton2, c.Check2, c.Check1, c.Check7});
    c.UpDown2->setValue(26);
    c.UpDown6->setValue(66);
    h.next();
    h.back();
    h.back();
    ASSERT_EQ(f.state().CurrentPage, 10); // now by offset
    Tick({c.Check12, c.Check13}, false);
    c.Text12->setText(QStringLiteral("&H1F00"));
    c.Text13->setText(QStringLiteral("16"));
    c.Text14->setText(QStringLiteral("24"));
    h.next();
    ASSERT_EQ(f.state().CurrentPage, 11);
    Tick({c.OptionButton11, c.OptionButton13, c.Check3, c.Check14});
    h.next();
    f.state().PreviewFlags = kPreviewBig;
    h.next();
    h.next();
    ASSERT_EQ(f.state().CurrentPage, 5);
    c.Check11->setChecked(true);
    h.next();
    Tick({c.Check5, c.Check8});
    c.Check6->setChecked(false);
    c.UpDown5->setValue(3);
    c.UpDown7->setValue(2);
    h.next();
    ASSERT_EQ(f.state().CurrentPage, 7);
    h.show(8);
    c.Combo5->setCurrentIndex(2);
    h.next();
    f.move(40, 30);

    std::map<std::string, QString> before;
    for (const ControlSetting& s : f.controlSettings().table()) {
        before[s.key.name] = f.controlSettings().currentValue(s.key);
        // IsPokeB is ticked to reach page 6, as by default.
        EXPECT_EQ(before[s.key.name] == s.key.defaultValue, std::string(s.key.name) == "IsPokeB") << s.key.name;
    }
    Form1& g = h.restart();
    for (const ControlSetting& s : g.controlSettings().table())
        EXPECT_EQ(g.controlSettings().currentValue(s.key), before[s.key.name]) << s.key.name;
    for (const SettingKey& k : AllSettingKeys()) // the scroll bar widths are never written
        EXPECT_EQ(h.get(k.name) == "<missing>", std::string_view(k.name).ends_with("ScrollWidth")) << k.name;
    EXPECT_EQ(g.pos(), QPoint(40, 30));
    EXPECT_EQ(g.state().PreviewFlags, kPreviewBig);
    EXPECT_EQ(h.get("ColorOverride"), "2");
    EXPECT_EQ(g.ui().Combo1->currentText(), h.path(QStringLiteral("source.gbc")));
    EXPECT_EQ(g.ui().Combo2->currentText(), h.path(QStringLiteral("target.gb")));
    // Restored through their click handlers: the Unown number and the trainer rule.
    EXPECT_EQ(g.ui().Text1->text(), "201");
    EXPECT_FALSE(g.ui().Check1->isEnabled() || g.ui().Label18->isEnabled() || g.ui().Text13->isEnabled());
    EXPECT_TRUE(g.ui().Text12->isEnabled());
}

TEST(StartUp, StoredValuesAreReadAsTheControlsAllow)
{
    Harness h;
    const std::pair<const char*, const char*> stored[] = {
        {"IsHorizontal", "7"}, {"ReCodeStyle", ""}, {"PicTypeA", "3"}, // values that name no option
        {"IsPokeB", "0"},      {"SaveName", "1"},                       // restored in this order
        {"PokeIndexA", "300"}, {"TrainerIndexB", "12abc"}, {"IcognitoIndexA", "x"}, {"BigPreview", "5"},
        {"VScrollWidth", "15"},
    };
    for (const auto& [key, value] : stored)
        h.put(key, value);
    const Form1Controls& c = h.start().ui();
    for (QRadioButton* b : {c.OptionButton10, c.OptionButton11, c.OptionButton12, c.OptionButton13, c.OptionButton14,
                            c.OptionButton1, c.OptionButton2})
        EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
    EXPECT_FALSE(c.Check4->isChecked()); // restored through its click rule, before the name change
    EXPECT_TRUE(c.Check11->isChecked());
    EXPECT_EQ(c.Text1->text(), "251"); // numbers: the leading number, kept in range
    EXPECT_EQ(c.UpDown7->value(), 12);
    EXPECT_EQ(c.UpDown2->value(), 1);
    EXPECT_EQ(h.form->state().PreviewFlags, kPreviewBig);
    EXPECT_EQ(c.Picture7->size(), QSize(15, 9));
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
    // Stored in twips at shutdown, unless minimized.
    Harness h;
    h.start().move(50, 20);
    h.form->close();
    h.start().showMinimized();
    h.form->move(60, 20);
    h.form->ui().Command1->click(); // Exit
    EXPECT_EQ(h.get("WinPosX") + " " + h.get("WinPosY"), "750 300");
}

TEST(CommandLine, AFileIsLoadedAtOnceAMissingOneReportedBeforeTheWindowIsShown)
{
    Harness h;
    Form1& f = h.start(QStringLiteral("  /no/such/folder/pic.bmp  "));
    EXPECT_FALSE(f.isVisible());
    ASSERT_EQ(h.messages.messages.size(), 1u);
    const Message& m = h.messages.messages[0];
    EXPECT_EQ(m.text, "Die Datei \"/no/such/folder/pic.bmp\" konnte nicht gefunden werden.");
    EXPECT_EQ(m.caption, "Fehler");
    EXPECT_EQ(m.icon, MessageIcon::Critical);
    EXPECT_EQ(h.pages(), Pages{1});
    EXPECT_EQ(h.get("count", "Recent"), "<missing>");

    const QString pic = h.file(QStringLiteral("pic.bmp"));
    h.work.trace.clear();
    h.start(pic + " ");
    EXPECT_EQ(h.work.trace, "startUp@1 loadSourcePicture@1");
    EXPECT_EQ(h.pages(), Pages{8});
    EXPECT_EQ(h.get("1", "Recent"), pic);
}

} // namespace
} // namespace orv::test
