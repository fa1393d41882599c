// The recent-file lists, FileExists, the browse dialogs and the drop-down width.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QPushButton>
#include <gtest/gtest.h>

#include "file_exists.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

void chooseSource(Harness& h, const QString& path)
{
    h.form->ui().Combo1->setEditText(path);
    h.form->ui().Command2->click();
    h.form->HidePage(h.form->state().CurrentPage);
    h.form->ShowPage(1);
}

std::vector<QString> storedSources(const Harness& h)
{
    std::vector<QString> list;
    const int n = h.get("count", "Recent").toInt();
    for (int i = 1; i <= n; ++i)
        list.push_back(h.get(QString::number(i).toLatin1().constData(), "Recent"));
    return list;
}

std::vector<QString> items(const QComboBox* box)
{
    std::vector<QString> list;
    for (int i = 0; i < box->count(); ++i)
        list.push_back(box->itemText(i));
    return list;
}

TEST(RecentSources, ChosenAgainMovesToTheEndOfTheStoreButNotOfTheList)
{
    Harness h;
    h.start();
    const QString p = h.file("p.bmp"), q = h.file("q.bmp"), r = h.file("r.bmp");
    chooseSource(h, p);
    chooseSource(h, q);
    chooseSource(h, r);
    EXPECT_EQ(storedSources(h), (std::vector<QString>{p, q, r}));

    chooseSource(h, q);
    EXPECT_EQ(h.get("count", "Recent"), "3");
    EXPECT_EQ(storedSources(h), (std::vector<QString>{p, r, q}));
    EXPECT_EQ(items(h.form->ui().Combo1), (std::vector<QString>{p, q, r}));
    EXPECT_EQ(h.get("LastOpenFile"), q);

    Form1& g = h.restart();
    EXPECT_EQ(items(g.ui().Combo1), (std::vector<QString>{p, r, q}));
    EXPECT_EQ(g.ui().Combo1->currentText(), q);
}

TEST(RecentSources, NothingIsRememberedWithTheBoxUnticked)
{
    Harness h;
    Form1& f = h.start();
    f.ui().Check9->setChecked(false);
    chooseSource(h, h.file("p.bmp"));
    EXPECT_EQ(h.get("count", "Recent"), "<missing>");
    EXPECT_EQ(h.get("LastOpenFile"), "<missing>");
    EXPECT_EQ(f.ui().Combo1->count(), 0);
}

TEST(RecentSources, AMissingFileShowsTheMessageAndIsNotRemembered)
{
    Harness h;
    Form1& f = h.start();
    const QString missing = h.path("gone.bmp");
    f.ui().Combo1->setEditText(missing);
    f.ui().Command2->click();
    ASSERT_EQ(h.messages.messages.size(), 1u);
    EXPECT_EQ(h.messages.messages[0].text,
              QStringLiteral("Die Datei \"") + missing + QStringLiteral("\" konnte nicht gefunden werden."));
    EXPECT_EQ(h.messages.messages[0].caption, "Fehler");
    EXPECT_EQ(h.messages.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(visiblePages(f), std::vector<int>{1});
    EXPECT_EQ(h.get("count", "Recent"), "<missing>");
    EXPECT_EQ(f.ui().Combo1->count(), 0);
    EXPECT_TRUE(h.work.hooks() == std::vector<std::string>{"startUp"});
}

TEST(RecentSources, StartUpLeavesOutFilesThatHaveGone)
{
    Harness h;
    const QString p = h.file("p.bmp"), r = h.file("r.bmp");
    h.put("count", "3", "Recent");
    h.put("1", p, "Recent");
    h.put("2", h.path("gone.bmp"), "Recent");
    h.put("3", r, "Recent");
    Form1& f = h.start();
    EXPECT_EQ(items(f.ui().Combo1), (std::vector<QString>{p, r}));
    EXPECT_EQ(f.ui().Combo1->currentText(), r); // "LastOpenFile" defaults to the last entry
    EXPECT_EQ(h.get("2", "Recent"), h.path("gone.bmp")); // kept until the list is written

    Harness h2;
    h2.put("LastOpenFile", h2.path("gone.bmp"));
    EXPECT_TRUE(h2.start().ui().Combo1->currentText().isEmpty());
}

TEST(RecentTargets, LoadEveryNonEmptyEntryWithoutTestingIt)
{
    Harness h;
    h.put("Xcount", "3", "Recent");
    h.put("X1", "/no/such/a.gb", "Recent");
    h.put("X2", "", "Recent");
    h.put("X3", "/no/such/b.bmp", "Recent");
    Form1& f = h.start();
    EXPECT_EQ(items(f.ui().Combo2), (std::vector<QString>{"/no/such/a.gb", "/no/such/b.bmp"}));
    EXPECT_EQ(f.ui().Combo2->currentText(), "/no/such/b.bmp");
}

TEST(RecentTargets, AreRememberedAfterASuccessfulTargetPageOnly)
{
    Harness h;
    Form1& f = h.start();
    f.HidePage(1);
    f.ShowPage(4);
    f.ui().Combo2->setEditText(QStringLiteral("/out/a.bmp"));
    h.work.failing.insert("prepareTarget");
    f.ui().Command2->click();
    EXPECT_EQ(h.get("Xcount", "Recent"), "<missing>");
    h.work.failing.clear();
    f.ui().Command2->click();
    EXPECT_EQ(h.get("Xcount", "Recent"), "1");
    EXPECT_EQ(h.get("X1", "Recent"), "/out/a.bmp");
    EXPECT_EQ(h.get("LastSaveFile"), "/out/a.bmp");
    EXPECT_EQ(items(f.ui().Combo2), std::vector<QString>{"/out/a.bmp"});
}

TEST(ResetList, DeletesTheEntriesAndKeepsTheLastFile)
{
    Harness h;
    Form1& f = h.start();
    const QString p = h.file("p.bmp"), q = h.file("q.bmp");
    chooseSource(h, p);
    chooseSource(h, q);
    f.ui().Command8->click();
    EXPECT_EQ(h.get("count", "Recent"), "0");
    EXPECT_EQ(h.get("1", "Recent"), "<missing>");
    EXPECT_EQ(h.get("2", "Recent"), "<missing>");
    EXPECT_EQ(h.get("LastOpenFile"), q);
    EXPECT_EQ(f.ui().Combo1->count(), 0);
    EXPECT_TRUE(f.ui().Combo1->currentText().isEmpty());

    // The last file returns at the next start while it exists.
    Form1& g = h.restart();
    EXPECT_EQ(g.ui().Combo1->count(), 0);
    EXPECT_EQ(g.ui().Combo1->currentText(), q);

    h.put("Xcount", "2", "Recent");
    h.put("X1", "a", "Recent");
    h.put("X2", "b", "Recent");
    g.ui().Command9->click();
    EXPECT_EQ(h.get("Xcount", "Recent"), "0");
    EXPECT_EQ(h.get("X2", "Recent"), "<missing>");
}

TEST(FileExistsTest, FilesFoldersAndPatterns)
{
    Harness h;
    const QString file = h.file("pic.bmp");
    QDir(h.dir.path()).mkdir("sub");
    const struct {
        QString path;
        bool exists;
    } cases[] = {
        {file, true},
        {h.path("sub"), true},
        {h.path("*.bmp"), true},
        {h.path("p?c.bmp"), true},
        {h.path("*.gb"), false},
        {h.path("missing.bmp"), false},
        {h.path("nofolder/*.bmp"), false},
        {QString(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileExists(c.path), c.exists) << c.path.toStdString();
}

TEST(Browse, HandsTheTextInAndTheChosenNameBack)
{
    Harness h;
    Form1& f = h.start();
    f.ui().Combo1->setEditText(QStringLiteral("/start/name.bmp"));
    h.dialogs.answers = {QString("/chosen/pic.gif"), std::nullopt};
    f.ui().Command4->click();
    EXPECT_EQ(f.ui().Combo1->currentText(), "/chosen/pic.gif");
    f.ui().Command4->click(); // cancelled
    EXPECT_EQ(f.ui().Combo1->currentText(), "/chosen/pic.gif");
    ASSERT_EQ(h.dialogs.calls.size(), 2u);
    EXPECT_FALSE(h.dialogs.calls[0].save);
    EXPECT_EQ(h.dialogs.calls[0].startName, "/start/name.bmp");
    EXPECT_EQ(h.dialogs.calls[1].startName, "/chosen/pic.gif");
    EXPECT_EQ(h.dialogs.calls[0].filter,
              QString::fromUtf8("Alle Unterstützten Formate|*.gif;*.bmp;*.ico;*.cur;*.orv;*.gb*|Bild-Dateien "
                                "(*.gif;*.bmp;*.ico;*.cur)|*.bmp;*.gif;*.ico;*.cur|Gameboy-Roms (*.gb*)|*.gb*|"
                                "Backup-Dateien (Als Bilder) (*.bak;*.old)|*.bak;*.old|ORV Bild-Dateien "
                                "(*.orv)|*.orv"));

    f.ui().Combo2->setEditText(QStringLiteral("/rom.gbc"));
    h.dialogs.answers = {QString("/out.orv")};
    f.ui().Command5->click();
    ASSERT_EQ(h.dialogs.calls.size(), 3u);
    EXPECT_TRUE(h.dialogs.calls[2].save);
    EXPECT_EQ(h.dialogs.calls[2].startName, "/rom.gbc");
    EXPECT_EQ(h.dialogs.calls[2].filter, QStringLiteral("Gameboy-Roms (*.gb*)|*.gbc;*.gb*|Bitmaps (*.dib;*.bmp)|"
                                                        "*.dib;*.bmp|ORV Bild-Dateien (*.orv)|*.orv"));
    EXPECT_EQ(f.ui().Combo2->currentText(), "/out.orv");
}

TEST(FitDropDownWidth, WidensTheListToItsLongestEntry)
{
    Harness h;
    Form1& f = h.start();
    QComboBox* box = f.ui().Combo2;
    f.FitDropDownWidth(box);
    EXPECT_EQ(box->view()->minimumWidth(), box->width());
    const QString longPath = QStringLiteral("/a/very/long/folder/name/that/does/not/fit/into/the/box/at/all.gbc");
    box->addItem(longPath);
    f.FitDropDownWidth(box);
    EXPECT_GT(box->view()->minimumWidth(), QFontMetrics(f.font()).horizontalAdvance(longPath));
}

} // namespace
} // namespace orv::test
