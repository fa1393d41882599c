// The recent-file lists, FileExists, the browse dialogs and the drop-down width.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include "file_exists.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

using Paths = std::vector<QString>;

void chooseSource(Harness& h, const QString& path)
{
    h.open(path);
    h.show(1);
}

Paths storedSources(const Harness& h)
{
    Paths list;
    for (int i = 1; i <= h.get("count", "Recent").toInt(); ++i)
        list.push_back(h.get(QString::number(i), "Recent"));
    return list;
}

Paths items(const QComboBox* box)
{
    Paths list;
    for (int i = 0; i < box->count(); ++i)
        list.push_back(box->itemText(i));
    return list;
}

TEST(RecentSources, ChosenAgainMovesToTheEndOfTheStoreButNotOfTheList)
{
    Harness h;
    h.start();
    const QString p = h.file("p.bmp"), q = h.file("q.bmp"), r = h.file("r.bmp");
    for (const QString& s : {p, q, r, q})
        chooseSource(h, s);
    EXPECT_EQ(storedSources(h), (Paths{p, r, q}));
    EXPECT_EQ(items(h.form->ui().Combo1), (Paths{p, q, r}));
    EXPECT_EQ(h.get("LastOpenFile"), q);

    Form1& g = h.restart();
    EXPECT_EQ(items(g.ui().Combo1), (Paths{p, r, q}));
    EXPECT_EQ(g.ui().Combo1->currentText(), q);

    // With "Remember" unticked nothing more is stored.
    g.ui().Check9->setChecked(false);
    chooseSource(h, h.file("s.bmp"));
    EXPECT_EQ(storedSources(h), (Paths{p, r, q}));
    EXPECT_EQ(items(g.ui().Combo1), (Paths{p, r, q}));
    EXPECT_EQ(h.get("LastOpenFile"), q);
}

TEST(RecentSources, AMissingFileShowsTheMessageAndIsNotRemembered)
{
    Harness h;
    Form1& f = h.start();
    const QString missing = h.path("gone.bmp");
    h.open(missing);
    ASSERT_EQ(h.messages.messages.size(), 1u);
    EXPECT_EQ(h.messages.messages[0].text,
              QStringLiteral("Die Datei \"") + missing + QStringLiteral("\" konnte nicht gefunden werden."));
    EXPECT_EQ(h.messages.messages[0].caption, "Fehler");
    EXPECT_EQ(h.messages.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(h.pages(), Pages{1});
    EXPECT_EQ(h.get("count", "Recent"), "<missing>");
    EXPECT_EQ(f.ui().Combo1->count(), 0);
    EXPECT_EQ(h.work.trace(), "startUp@1");
}

TEST(RecentLists, StartUpLeavesOutSourcesThatHaveGoneButLoadsEveryTarget)
{
    Harness h;
    const QString p = h.file("p.bmp"), r = h.file("r.bmp");
    h.put("count", "3", "Recent");
    h.put("1", p, "Recent");
    h.put("2", h.path("gone.bmp"), "Recent");
    h.put("3", r, "Recent");
    h.put("Xcount", "3", "Recent");
    h.put("X1", "/no/such/a.gb", "Recent");
    h.put("X2", "", "Recent");
    h.put("X3", "/no/such/b.bmp", "Recent");
    Form1& f = h.start();
    EXPECT_EQ(items(f.ui().Combo1), (Paths{p, r}));
    EXPECT_EQ(f.ui().Combo1->currentText(), r); // "LastOpenFile" defaults to the last entry
    EXPECT_EQ(items(f.ui().Combo2), (Paths{"/no/such/a.gb", "/no/such/b.bmp"}));
    EXPECT_EQ(f.ui().Combo2->currentText(), "/no/such/b.bmp");

    Harness gone;
    gone.put("LastOpenFile", gone.path("gone.bmp"));
    EXPECT_TRUE(gone.start().ui().Combo1->currentText().isEmpty());
}

TEST(RecentLists, ResetDeletesTheEntriesAndKeepsTheLastFile)
{
    Harness h;
    Form1& f = h.start();
    const QString p = h.file("p.bmp"), q = h.file("q.bmp");
    chooseSource(h, p);
    chooseSource(h, q);
    f.ui().Command8->click();
    EXPECT_EQ(h.get("count", "Recent"), "0");
    EXPECT_EQ(h.get("1", "Recent") + h.get("2", "Recent"), "<missing><missing>");
    EXPECT_EQ(h.get("LastOpenFile"), q);
    EXPECT_EQ(f.ui().Combo1->count(), 0);
    EXPECT_TRUE(f.ui().Combo1->currentText().isEmpty());

    Form1& g = h.restart(); // the last file returns while it exists
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
    QDir(h.path({})).mkdir("sub");
    const std::pair<QString, bool> cases[] = {
        {file, true},           {h.path("sub"), true},         {h.path("*.bmp"), true},
        {h.path("p?c.bmp"), true}, {h.path("*.gb"), false},    {h.path("missing.bmp"), false},
        {h.path("nofolder/*.bmp"), false}, {QString(), false},
    };
    for (const auto& [path, exists] : cases)
        EXPECT_EQ(FileExists(path), exists) << path.toStdString();
}

TEST(Browse, HandsTheTextInAndTheChosenNameBack)
{
    Harness h;
    Form1& f = h.start();
    f.ui().Combo1->setEditText(QStringLiteral("/start/name.bmp"));
    h.dialogs.answers = {QString("/chosen/pic.gif"), std::nullopt};
    f.ui().Command4->click();
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

    // The drop-down list is widened to its longest entry.
    const QString longPath = QStringLiteral("/a/very/long/folder/name/that/does/not/fit/into/the/box/at/all.gbc");
    f.ui().Combo2->addItem(longPath);
    f.FitDropDownWidth(f.ui().Combo2);
    EXPECT_GT(f.ui().Combo2->view()->minimumWidth(), QFontMetrics(f.font()).horizontalAdvance(longPath));
}

} // namespace
} // namespace orv::test
