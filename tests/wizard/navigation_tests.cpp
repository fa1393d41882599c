// Next and Back through every route, with hooks that record what ran.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "picture_box.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

TEST(Navigation, NextWalksEveryRoute)
{
    const struct {
        const char *source, *target;
        bool check12, check4, check11, check8;
        Pages pages;       // on show after each Next
        const char* hooks; // after the target page's
    } routes[] = {
        {"pic.bmp", "out.bmp", true, true, false, false, {8, 11, 3, 4, 7, 1}, ""},
        {"pic.gif", "out.orv", true, true, false, false, {8, 11, 3, 4, 7}, ""},
        {"pic.orv", "game.gb", true, true, false, false, {11, 3, 4, 5, 6, 7}, " insertIntoRom@9"},
        {"game.gbc", "game.gb", true, true, true, false, {10, 2, 11, 3, 4, 5, 6, 9, 7},
         " prepareNames@6 insertIntoRom@9"},
        {"game.gbc", "game.gb", false, false, false, false, {10, 11, 3, 4, 5, 7}, " insertIntoRom@9"},
        {"game.gbc", "game.gb", true, true, true, true, {10, 2, 11, 3, 4, 5, 6, 7}, " insertIntoRom@9"}, // a trainer
    };
    for (const auto& r : routes) {
        SCOPED_TRACE(std::string(r.source) + " -> " + r.target + ", check12 " + std::to_string(r.check12) +
                     ", check4 " + std::to_string(r.check4) + ", check8 " + std::to_string(r.check8));
        Harness h;
        Form1& f = h.start();
        const Form1Controls& c = f.ui();
        h.work.trace.clear();
        c.Check12->setChecked(r.check12);
        c.Check4->setChecked(r.check4);
        c.Check11->setChecked(r.check11);
        c.Check8->setChecked(r.check8);
        c.Combo1->setEditText(h.file(QString::fromLatin1(r.source)));
        c.Combo2->setEditText(h.file(QString::fromLatin1(r.target)));
        for (int expected : r.pages) {
            h.next();
            ASSERT_EQ(h.pages(), Pages{expected});
            ASSERT_EQ(f.state().CurrentPage, expected);
            EXPECT_EQ(c.Command3->isEnabled(), expected != 1 && expected != 7) << expected;
            EXPECT_EQ(c.Picture1->isHidden() && c.Picture8->isHidden(), expected != 3) << expected;
        }
        const bool picture = r.pages[0] == 8;
        EXPECT_EQ(h.work.trace, std::string(picture ? "loadSourcePicture@1 applyColourMapping@8 " : "extractPicture@2 ") +
                                    "compressPicture@11 layoutPreview@11 prepareTarget@4" + r.hooks);
        EXPECT_TRUE(h.messages.messages.empty());
        EXPECT_EQ(h.get("count", "Recent"), "1");
        EXPECT_EQ(h.get("Xcount", "Recent"), "1");
        EXPECT_EQ(h.get("LastSaveFile"), h.path(QString::fromLatin1(r.target)));
    }
}

TEST(Navigation, BackFollowsItsTableAndFocusesNext)
{
    const struct {
        int from;
        FileKind source;
        bool check12;
        int to;
    } rows[] = {
        {2, FileKind::Rom, true, 10},      {3, FileKind::Picture, true, 11}, {4, FileKind::Picture, true, 3},
        {5, FileKind::Picture, true, 4},   {6, FileKind::Picture, true, 5},  {8, FileKind::Picture, true, 1},
        {9, FileKind::Picture, true, 6},   {10, FileKind::Rom, true, 1},     {11, FileKind::Picture, true, 8},
        {11, FileKind::Rom, true, 2},      {11, FileKind::Rom, false, 10},   {11, FileKind::Orv, true, 1},
        {1, FileKind::Picture, true, 1},   {7, FileKind::Picture, true, 7},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE("from " + std::to_string(r.from) + ", kind " + std::to_string(int(r.source)) + ", check12 " +
                     std::to_string(r.check12));
        Harness h;
        Form1& f = h.start();
        h.show(r.from);
        f.state().SourceKind = r.source;
        f.ui().Check12->setChecked(r.check12);
        f.ui().Command1->setFocus();
        f.BackClicked();
        EXPECT_EQ(h.pages(), Pages{r.to});
        EXPECT_EQ(f.state().CurrentPage, r.to);
        EXPECT_EQ(f.focusWidget(), f.ui().Command2);
        EXPECT_EQ(f.ui().Picture1->isHidden() && f.ui().Picture8->isHidden(), r.to != 3);
    }
}

// A failing hook leaves everything as it was; after a skip no page is on show.
// The next Next runs the failed work again.
TEST(Navigation, AFailingHookLeavesThePageAndStoresNothing)
{
    const struct {
        const char* hook;
        const char* source; // its kind picks the route
        bool check12, check4;
        int from, stays; // Next on page from fails; CurrentPage stays at stays
        const char* key; // stored only on success (in "Recent" when lower-case)
    } cases[] = {
        {"loadSourcePicture", "pic.bmp", true, true, 1, 1, "count"},
        {"applyColourMapping", "pic.bmp", true, true, 8, 8, "ColorOverride"},
        {"extractPicture", "game.gb", true, true, 2, 2, "PicTypeA"},
        {"compressPicture", "game.gb", true, true, 11, 11, "IsHorizontal"},
        {"prepareTarget", "game.gb", true, true, 4, 4, "Xcount"},
        {"prepareNames", "game.gb", true, true, 6, 6, "IcognitoB"},
        {"insertIntoRom", "game.gb", true, true, 9, 9, "IcognitoB"},
        {"extractPicture", "pic.orv", true, true, 1, 2, "count"},
        {"extractPicture", "game.gb", false, true, 10, 2, "IsHorizontal"},
        {"insertIntoRom", "game.gb", true, false, 5, 9, "IcognitoB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hook) + " from " + std::to_string(c.from));
        Harness h;
        Form1& f = h.start();
        f.ui().Check12->setChecked(c.check12);
        f.ui().Check4->setChecked(c.check4);
        f.ui().Check11->setChecked(true);
        f.ui().Combo1->setEditText(h.file(QString::fromLatin1(c.source)));
        f.ui().Combo2->setEditText(h.file(QStringLiteral("target.gb")));
        for (int guard = 0; f.state().CurrentPage != c.from && guard < 12; ++guard)
            h.next();
        ASSERT_EQ(f.state().CurrentPage, c.from);
        h.work.failing.insert(c.hook);
        const QString key = QString::fromLatin1(c.key);
        const char* section = key.front().isLower() || key == "Xcount" ? "Recent" : "Settings";
        h.store->remove(QString::fromLatin1(section), key);

        h.next();
        EXPECT_EQ(h.pages(), c.from == c.stays ? Pages{c.from} : Pages{});
        EXPECT_EQ(f.state().CurrentPage, c.stays);
        ASSERT_EQ(h.messages.messages.size(), 1u);
        EXPECT_EQ(h.messages.messages[0].text, QString::fromLatin1(c.hook));
        EXPECT_EQ(h.get(key, section), "<missing>");
        h.work.failing.clear();
        h.work.trace.clear();
        h.next();
        EXPECT_EQ(h.work.trace.substr(0, h.work.trace.find(' ')), c.hook + ("@" + std::to_string(c.stays)));
        EXPECT_NE(h.pages(), Pages{c.stays});
    }
}

TEST(Navigation, SuccessPageShowsBothPathsAndNextEmptiesTheTypedName)
{
    Harness h;
    Form1& f = h.start();
    f.state().SourcePath = "/tmp/a & b.bmp";
    f.state().TargetPath = "/tmp/rom.gbc";
    f.ui().Text10->setText(QStringLiteral("PIKA"));
    f.ui().Combo1->setEditText(QStringLiteral("kept"));
    h.show(7);
    EXPECT_EQ(f.ui().Label11->text(), QString::fromUtf8("Das Bild aus der Datei \"/tmp/a & b.bmp\" wurde erfolgreich "
                                                        "in die Datei \"/tmp/rom.gbc\" eingefügt."));
    EXPECT_EQ(f.ui().Label19->text(), QStringLiteral("Click the \"Next\" button and insert more pics.        ."));
    h.next();
    EXPECT_EQ(h.pages(), Pages{1});
    EXPECT_TRUE(f.ui().Text10->text().isEmpty());
    EXPECT_EQ(f.ui().Combo1->currentText(), "kept");
}

} // namespace
} // namespace orv::test
