// The recent-file lists (files, folders and patterns that exist) and the browse dialogs.

#include <QDir>

#include "wizard_harness.h"

namespace orv::test {
namespace {

using Paths = QStringList;

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
    const auto choose = [&h](const QString& path) {
        h.open(path);
        h.show(1);
    };
    for (const QString& s : {p, q, r, q})
        choose(s);
    EXPECT_EQ(storedSources(h), (Paths{p, r, q}));
    EXPECT_EQ(items(h.form->ui().Combo1), (Paths{p, q, r}));
    EXPECT_EQ(h.get("LastOpenFile"), q);

    Form1& g = h.restart();
    EXPECT_EQ(items(g.ui().Combo1), (Paths{p, r, q}));
    EXPECT_EQ(g.ui().Combo1->currentText(), q);

    g.ui().Command8->click(); // reset: the entries go, the last file stays
    EXPECT_EQ(h.get("count", "Recent") + h.get("1", "Recent"), "0<missing>");
    EXPECT_EQ(h.get("LastOpenFile"), q);
    EXPECT_EQ(g.ui().Combo1->count(), 0);
    EXPECT_TRUE(g.ui().Combo1->currentText().isEmpty());
    Form1& next = h.restart(); // and returns while it exists
    EXPECT_EQ(next.ui().Combo1->count(), 0);
    EXPECT_EQ(next.ui().Combo1->currentText(), q);
    h.put("Xcount", "2", "Recent");
    h.put("X2", "b", "Recent");
    next.ui().Command9->click();
    EXPECT_EQ(h.get("Xcount", "Recent") + h.get("X2", "Recent"), "0<missing>");
}

TEST(RecentSources, AMissingFileShowsTheMessageAndIsNotRemembered)
{
    Harness h;
    Form1& f = h.start();
    h.open(h.path("gone.bmp"));
    ASSERT_EQ(h.messages.messages.size(), 1u);
    EXPECT_EQ(h.messages.messages[0].text, "Die Datei \"" + h.path("gone.bmp") + "\" konnte nicht gefunden werden.");
    EXPECT_EQ(h.messages.messages[0].caption, "Fehler");
    EXPECT_EQ(h.messages.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(h.pages(), Pages{1});
    EXPECT_EQ(h.get("count", "Recent"), "<missing>");
    EXPECT_EQ(f.ui().Combo1->count(), 0);
    EXPECT_EQ(h.work.trace, "startUp@1");
}

TEST(RecentLists, StartUpLeavesOutSourcesThatHaveGoneButLoadsEveryTarget)
{
    Harness h;
    const QString p = h.file("p.bmp"), r = h.file("r.bmp"), folder = h.path("sub"), pattern = h.path("?.bmp");
    QDir().mkdir(folder);
    const std::pair<const char*, QString> recent[] = {
        {"count", "6"}, {"1", p},         {"2", h.path("gone.bmp")}, {"3", folder},           {"4", h.path("*.gb")},
        {"5", pattern}, {"6", r},         {"Xcount", "3"},           {"X1", "/no/such/a.gb"}, {"X2", ""},
        {"X3", "/no/such/b.bmp"}};
    for (const auto& [key, value] : recent)
        h.put(key, value, "Recent");
    Form1& f = h.start(); // folders and patterns that match something count as existing
    EXPECT_EQ(items(f.ui().Combo1), (Paths{p, folder, pattern, r}));
    EXPECT_EQ(f.ui().Combo1->currentText(), r); // "LastOpenFile" defaults to the last entry
    EXPECT_EQ(items(f.ui().Combo2), (Paths{"/no/such/a.gb", "/no/such/b.bmp"}));
    EXPECT_EQ(f.ui().Combo2->currentText(), "/no/such/b.bmp");

    Harness gone;
    gone.put("LastOpenFile", gone.path("gone.bmp"));
    EXPECT_TRUE(gone.start().ui().Combo1->currentText().isEmpty());
}

TEST(Browse, HandsTheTextInAndTheChosenNameBack)
{
    Harness h;
    Form1& f = h.start();
    f.ui().Combo1->setEditText(QStringLiteral("/start/name.bmp"));
    f.ui().Combo2->setEditText(QStringLiteral("/rom.gbc"));
    h.dialogs.answers = {QString("/chosen/pic.gif"), std::nullopt, QString("/out.orv")};
    f.ui().Command4->click();
    f.ui().Command4->click(); // cancelled
    f.ui().Command5->click();
    EXPECT_EQ(f.ui().Combo1->currentText(), "/chosen/pic.gif");
    EXPECT_EQ(f.ui().Combo2->currentText(), "/out.orv");
    QStringList started;
    for (const auto& call : h.dialogs.calls)
        started << (call.save ? "save " : "open ") + call.startName;
    ASSERT_EQ(started, (QStringList{"open /start/name.bmp", "open /chosen/pic.gif", "save /rom.gbc"}));
    EXPECT_EQ(h.dialogs.calls[0].filter,
              "Alle Unterstützten Formate|*.gif;*.bmp;*.ico;*.cur;*.orv;*.gb*|Bild-Dateien (*.gif;*.bmp;*.ico;*.cur)|"
              "*.bmp;*.gif;*.ico;*.cur|PNG-Bilder (*.png)|*.png|Gameboy-Roms (*.gb*)|*.gb*|"
              "Backup-Dateien (Als Bilder) (*.bak;*.old)|"
              "*.bak;*.old|ORV Bild-Dateien (*.orv)|*.orv");
    EXPECT_EQ(h.dialogs.calls[2].filter,
              "Gameboy-Roms (*.gb*)|*.gbc;*.gb*|Bitmaps (*.dib;*.bmp)|*.dib;*.bmp|ORV Bild-Dateien (*.orv)|*.orv");
}

} // namespace
} // namespace orv::test
