// Next and Back through every route, with hooks that record what ran.

#include "wizard_harness.h"

namespace orv::test {
namespace {

struct Route {
    const char *source, *target;
    bool check12 = true, check4 = true, check11 = false, check8 = false;
};

Form1& startRoute(Harness& h, const Route& r)
{
    const Form1Controls& c = h.start().ui();
    h.work.trace.clear();
    c.Check12->setChecked(r.check12);
    c.Check4->setChecked(r.check4);
    c.Check11->setChecked(r.check11);
    c.Check8->setChecked(r.check8);
    c.Combo1->setEditText(h.file(QString::fromLatin1(r.source)));
    c.Combo2->setEditText(h.file(QString::fromLatin1(r.target)));
    return *h.form;
}

TEST(Navigation, NextWalksEveryRoute)
{
    const struct {
        Route route;
        Pages pages;       // on show after each Next
        const char* hooks; // after the target page's
    } routes[] = {
        {{"pic.bmp", "out.bmp"}, {8, 11, 3, 4, 7, 1}, ""},
        {{"pic.gif", "out.orv"}, {8, 11, 3, 4, 7}, ""},
        {{"pic.orv", "game.gb"}, {11, 3, 4, 5, 6, 7}, " insertIntoRom@9"},
        {{"game.gbc", "game.gb", true, true, true}, {10, 2, 11, 3, 4, 5, 6, 9, 7}, " prepareNames@6 insertIntoRom@9"},
        {{"game.gbc", "game.gb", false, false}, {10, 11, 3, 4, 5, 7}, " insertIntoRom@9"},
        {{"game.gbc", "game.gb", true, true, true, true}, {10, 2, 11, 3, 4, 5, 6, 7}, " insertIntoRom@9"}, // trainer
    };
    for (const auto& [route, pages, hooks] : routes) {
        SCOPED_TRACE(std::string(route.source) + " -> " + route.target + ", check12 " +
                     std::to_string(route.check12) + ", check4 " + std::to_string(route.check4) + ", check8 " +
                     std::to_string(route.check8));
        Harness h;
        Form1& f = startRoute(h, route);
        const Form1Controls& c = f.ui();
        c.Text10->setText(QStringLiteral("NEU"));
        for (int expected : pages) {
            h.next();
            ASSERT_EQ(h.pages(), Pages{expected});
            ASSERT_EQ(f.state().CurrentPage, expected);
            EXPECT_EQ(c.Command3->isEnabled(), expected != 1 && expected != 7) << expected;
            EXPECT_EQ(c.Picture1->isHidden() && c.Picture8->isHidden(), expected != 3) << expected;
        }
        const bool picture = pages[0] == 8;
        const std::string start = picture ? "loadSourcePicture@1 applyColourMapping@8 " : "extractPicture@2 ";
        EXPECT_EQ(h.work.trace, start + "compressPicture@11 layoutPreview@11 prepareTarget@4" + hooks);
        EXPECT_TRUE(h.messages.messages.empty());
        EXPECT_EQ(h.get("count", "Recent") + h.get("Xcount", "Recent"), "11");
        EXPECT_EQ(h.get("LastSaveFile"), h.path(QString::fromLatin1(route.target)));
        EXPECT_EQ(c.Text10->text().isEmpty(), pages.back() == 1); // Next on the success page empties it
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
        {2, FileKind::Rom, true, 10},    {3, FileKind::Picture, true, 11}, {4, FileKind::Picture, true, 3},
        {5, FileKind::Picture, true, 4}, {6, FileKind::Picture, true, 5},  {8, FileKind::Picture, true, 1},
        {9, FileKind::Picture, true, 6}, {10, FileKind::Rom, true, 1},     {11, FileKind::Picture, true, 8},
        {11, FileKind::Rom, true, 2},    {11, FileKind::Rom, false, 10},   {11, FileKind::Orv, true, 1},
        {1, FileKind::Picture, true, 1}, {7, FileKind::Picture, true, 7},
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

// A failing hook leaves everything as it was, after a skip too: the page of
// the click is on show again. The next Next runs the failed work again.
TEST(Navigation, AFailingHookLeavesThePageAndStoresNothing)
{
    const struct {
        const char* hook;
        Route route;
        int from, hookPage;  // Next on page from fails in the work of hookPage
        const char* section; // of a key stored only on success
        const char* key;
    } cases[] = {
        {"loadSourcePicture", {"pic.bmp", "t.gb"}, 1, 1, "Recent", "count"},
        {"applyColourMapping", {"pic.bmp", "t.gb"}, 8, 8, "Settings", "ColorOverride"},
        {"extractPicture", {"game.gb", "t.gb"}, 2, 2, "Settings", "PicTypeA"},
        {"compressPicture", {"game.gb", "t.gb"}, 11, 11, "Settings", "IsHorizontal"},
        {"prepareTarget", {"game.gb", "t.gb"}, 4, 4, "Recent", "Xcount"},
        {"prepareNames", {"game.gb", "t.gb", true, true, true}, 6, 6, "Settings", "IcognitoB"},
        {"insertIntoRom", {"game.gb", "t.gb", true, true, true}, 9, 9, "Settings", "IcognitoB"},
        {"extractPicture", {"pic.orv", "t.gb"}, 1, 2, "Recent", "count"},
        {"extractPicture", {"game.gb", "t.gb", false}, 10, 2, "Settings", "IsHorizontal"},
        {"insertIntoRom", {"game.gb", "t.gb", true, false}, 5, 9, "Settings", "IcognitoB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hook) + " from " + std::to_string(c.from));
        Harness h;
        Form1& f = startRoute(h, c.route);
        for (int guard = 0; f.state().CurrentPage != c.from && guard < 12; ++guard)
            h.next();
        ASSERT_EQ(f.state().CurrentPage, c.from);
        h.work.failing.insert(c.hook);
        h.store->remove(QString::fromLatin1(c.section), QString::fromLatin1(c.key));

        h.next();
        EXPECT_EQ(h.pages(), Pages{c.from});
        EXPECT_EQ(f.state().CurrentPage, c.from);
        EXPECT_EQ(f.ui().Command3->isEnabled(), c.from != 1);
        ASSERT_EQ(h.messages.messages.size(), 1u);
        EXPECT_EQ(h.messages.messages[0].text, QString::fromLatin1(c.hook));
        EXPECT_EQ(h.get(QString::fromLatin1(c.key), c.section), "<missing>");
        h.work.failing.clear();
        h.work.trace.clear();
        h.next();
        EXPECT_EQ(h.work.trace.substr(0, h.work.trace.find(' ')), c.hook + ("@" + std::to_string(c.hookPage)));
        EXPECT_NE(h.pages(), Pages{c.from});
    }
}

} // namespace
} // namespace orv::test
