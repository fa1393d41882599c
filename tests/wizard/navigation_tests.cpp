// Next and Back through every route, with hooks that record what ran.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <gtest/gtest.h>

#include "picture_box.h"
#include "up_down.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

void next(Form1& f)
{
    f.ui().Command2->click();
}

void back(Form1& f)
{
    f.ui().Command3->click();
}

struct RouteCase {
    const char* name;
    const char* source;
    const char* target;
    std::function<void(const Form1Controls&)> setup;
    std::vector<int> pages; // page on show after each Next
    std::vector<std::pair<std::string, int>> hooks; // hook and CurrentPage while it ran
};

void PrintTo(const RouteCase& c, std::ostream* os)
{
    *os << c.name;
}

class Routes : public ::testing::TestWithParam<RouteCase> {};

TEST_P(Routes, NextWalksTheRoute)
{
    const RouteCase& route = GetParam();
    Harness h;
    Form1& f = h.start();
    h.file(QString::fromLatin1(route.source));
    h.file(QStringLiteral("game.gb"));
    h.work.calls.clear();
    route.setup(f.ui());
    f.ui().Combo1->setEditText(h.path(QString::fromLatin1(route.source)));
    f.ui().Combo2->setEditText(h.path(QString::fromLatin1(route.target)));

    for (size_t i = 0; i < route.pages.size(); ++i) {
        next(f);
        const int expected = route.pages[i];
        ASSERT_EQ(visiblePages(f), std::vector<int>{expected}) << "after Next " << i + 1;
        ASSERT_EQ(f.state().CurrentPage, expected);
        EXPECT_EQ(f.ui().Command3->isEnabled(), expected != 1 && expected != 7);
    }
    std::vector<std::pair<std::string, int>> ran;
    for (const auto& c : h.work.calls)
        ran.emplace_back(c.hook, c.page);
    EXPECT_EQ(ran, route.hooks);
    EXPECT_TRUE(h.messages.messages.empty());
    EXPECT_EQ(h.get("count", "Recent"), "1");
    EXPECT_EQ(h.get("Xcount", "Recent"), "1");
    EXPECT_EQ(h.get("LastSaveFile"), h.path(QString::fromLatin1(route.target)));
}

const auto noSetup = [](const Form1Controls&) {};
const auto insertOnly = [](const Form1Controls& c) { c.Check4->setChecked(false); };
const auto withName = [](const Form1Controls& c) {
    c.Check4->setChecked(true);
    c.Check11->setChecked(true);
};

INSTANTIATE_TEST_SUITE_P(
    AllRoutes, Routes,
    ::testing::Values(
        RouteCase{"PictureToBitmap", "pic.bmp", "out.bmp", noSetup, {8, 11, 3, 4, 7, 1},
                  {{"loadSourcePicture", 1}, {"applyColourMapping", 8}, {"compressPicture", 11},
                   {"layoutPreview", 11}, {"prepareTarget", 4}}},
        RouteCase{"PictureToOwnFile", "pic.gif", "out.orv", noSetup, {8, 11, 3, 4, 7},
                  {{"loadSourcePicture", 1}, {"applyColourMapping", 8}, {"compressPicture", 11},
                   {"layoutPreview", 11}, {"prepareTarget", 4}}},
        RouteCase{"OwnFileToRomSlot", "pic.orv", "game.gb", noSetup, {11, 3, 4, 5, 6, 7},
                  {{"extractPicture", 2}, {"compressPicture", 11}, {"layoutPreview", 11}, {"prepareTarget", 4},
                   {"insertIntoRom", 9}}},
        RouteCase{"RomSlotWithNameChange", "game.gbc", "game.gb", withName, {10, 2, 11, 3, 4, 5, 6, 9, 7},
                  {{"extractPicture", 2}, {"compressPicture", 11}, {"layoutPreview", 11}, {"prepareTarget", 4},
                   {"prepareNames", 6}, {"insertIntoRom", 9}}},
        RouteCase{"RomOffsetToRomDataOnly", "game.gbc", "game.gb",
                  [](const Form1Controls& c) {
                      c.Check12->setChecked(false);
                      c.Check4->setChecked(false);
                  },
                  {10, 11, 3, 4, 5, 7},
                  {{"extractPicture", 2}, {"compressPicture", 11}, {"layoutPreview", 11}, {"prepareTarget", 4},
                   {"insertIntoRom", 9}}},
        RouteCase{"TrainerSlotSkipsNames", "game.gbc", "game.gb",
                  [](const Form1Controls& c) {
                      withName(c);
                      c.Check8->setChecked(true);
                  },
                  {10, 2, 11, 3, 4, 5, 6, 7},
                  {{"extractPicture", 2}, {"compressPicture", 11}, {"layoutPreview", 11}, {"prepareTarget", 4},
                   {"insertIntoRom", 9}}},
        RouteCase{"PictureToRomDataOnly", "pic.bmp", "game.gb", insertOnly, {8, 11, 3, 4, 5, 7},
                  {{"loadSourcePicture", 1}, {"applyColourMapping", 8}, {"compressPicture", 11},
                   {"layoutPreview", 11}, {"prepareTarget", 4}, {"insertIntoRom", 9}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Puts the window on page n as the dispatcher would leave it.
void onPage(Form1& f, int n)
{
    f.HidePage(f.state().CurrentPage);
    f.ShowPage(n);
}

struct BackCase {
    int from;
    FileKind source;
    bool check12;
    int to;
};

void PrintTo(const BackCase& c, std::ostream* os)
{
    *os << "page " << c.from << ", kind " << int(c.source) << ", Check12 " << c.check12;
}

class BackTable : public ::testing::TestWithParam<BackCase> {};

TEST_P(BackTable, BackShowsThePreviousPageAndFocusesNext)
{
    const BackCase& c = GetParam();
    Harness h;
    Form1& f = h.start();
    onPage(f, c.from);
    f.state().SourceKind = c.source;
    f.ui().Check12->setChecked(c.check12);
    f.ui().Command1->setFocus();
    f.BackClicked();
    EXPECT_EQ(visiblePages(f), std::vector<int>{c.to});
    EXPECT_EQ(f.state().CurrentPage, c.to);
    EXPECT_EQ(f.focusWidget(), f.ui().Command2);
}

INSTANTIATE_TEST_SUITE_P(
    AllRows, BackTable,
    ::testing::Values(BackCase{2, FileKind::Rom, true, 10}, BackCase{3, FileKind::Picture, true, 11},
                      BackCase{4, FileKind::Picture, true, 3}, BackCase{5, FileKind::Picture, true, 4},
                      BackCase{6, FileKind::Picture, true, 5}, BackCase{8, FileKind::Picture, true, 1},
                      BackCase{9, FileKind::Picture, true, 6}, BackCase{10, FileKind::Rom, true, 1},
                      BackCase{11, FileKind::Picture, true, 8}, BackCase{11, FileKind::Rom, true, 2},
                      BackCase{11, FileKind::Rom, false, 10}, BackCase{11, FileKind::Orv, true, 1},
                      BackCase{1, FileKind::Picture, true, 1}, BackCase{7, FileKind::Picture, true, 7}));

TEST(Back, IsDisabledOnPagesOneAndSeven)
{
    Harness h;
    Form1& f = h.start();
    EXPECT_FALSE(f.ui().Command3->isEnabled());
    onPage(f, 4);
    EXPECT_TRUE(f.ui().Command3->isEnabled());
    onPage(f, 7);
    EXPECT_FALSE(f.ui().Command3->isEnabled());
    back(f);
    EXPECT_EQ(visiblePages(f), std::vector<int>{7});
}

TEST(Back, LeavingThePreviewPageHidesBothPreviewBoxes)
{
    Harness h;
    Form1& f = h.start();
    onPage(f, 3);
    EXPECT_FALSE(f.ui().Picture1->isHidden()); // the default layout shows the picture surface
    back(f);
    EXPECT_TRUE(f.ui().Picture1->isHidden());
    EXPECT_TRUE(f.ui().Picture8->isHidden());
    next(f);
    f.ui().Picture8->show();
    next(f);
    EXPECT_EQ(f.state().CurrentPage, 4);
    EXPECT_TRUE(f.ui().Picture1->isHidden());
    EXPECT_TRUE(f.ui().Picture8->isHidden());
}

// Drives Next until page is on show, a ROM picture going to a ROM target.
void driveTo(Harness& h, int page)
{
    Form1& f = *h.form;
    f.ui().Combo1->setEditText(h.file(QStringLiteral("source.gb")));
    f.ui().Combo2->setEditText(h.file(QStringLiteral("target.gb")));
    for (int guard = 0; f.state().CurrentPage != page && guard < 12; ++guard)
        next(f);
    ASSERT_EQ(f.state().CurrentPage, page);
}

struct FailCase {
    const char* hook;
    int page;
    const char* source;           // file whose kind picks the route
    const char* keyNotStored;     // a key that the page stores only on success
};

void PrintTo(const FailCase& c, std::ostream* os)
{
    *os << c.hook;
}

class FailingHook : public ::testing::TestWithParam<FailCase> {};

TEST_P(FailingHook, LeavesThePageAndStoresNothing)
{
    const FailCase& c = GetParam();
    Harness h;
    Form1& f = h.start();
    f.ui().Check11->setChecked(true);
    f.ui().Combo1->setEditText(h.file(QString::fromLatin1(c.source)));
    f.ui().Combo2->setEditText(h.file(QStringLiteral("target.gb")));
    for (int guard = 0; f.state().CurrentPage != c.page && guard < 12; ++guard)
        next(f);
    ASSERT_EQ(f.state().CurrentPage, c.page);
    h.work.failing.insert(c.hook);
    h.store->remove(QStringLiteral("Settings"), QString::fromLatin1(c.keyNotStored));
    h.store->remove(QStringLiteral("Recent"), QString::fromLatin1(c.keyNotStored));

    next(f);
    EXPECT_EQ(visiblePages(f), std::vector<int>{c.page});
    EXPECT_EQ(f.state().CurrentPage, c.page);
    ASSERT_EQ(h.messages.messages.size(), 1u);
    EXPECT_EQ(h.messages.messages[0].text, QString::fromLatin1(c.hook));
    const char* section = std::string(c.keyNotStored) == "count" || std::string(c.keyNotStored) == "Xcount"
                              ? "Recent"
                              : "Settings";
    EXPECT_EQ(h.get(c.keyNotStored, section), "<missing>");
}

INSTANTIATE_TEST_SUITE_P(
    EveryHook, FailingHook,
    ::testing::Values(FailCase{"loadSourcePicture", 1, "pic.bmp", "count"},
                      FailCase{"applyColourMapping", 8, "pic.bmp", "ColorOverride"},
                      FailCase{"extractPicture", 2, "game.gb", "PicTypeA"},
                      FailCase{"compressPicture", 11, "game.gb", "IsHorizontal"},
                      FailCase{"prepareTarget", 4, "game.gb", "Xcount"},
                      FailCase{"prepareNames", 6, "game.gb", "IcognitoB"},
                      FailCase{"insertIntoRom", 9, "game.gb", "IcognitoB"}),
    [](const auto& info) { return std::string(info.param.hook); });

TEST(FailureAfterSkip, OwnFileLeavesNoPageVisibleAndRemembersNothing)
{
    Harness h;
    Form1& f = h.start();
    h.work.failing.insert("extractPicture");
    f.ui().Combo1->setEditText(h.file(QStringLiteral("pic.orv")));
    next(f);
    EXPECT_TRUE(visiblePages(f).empty());
    EXPECT_EQ(f.state().CurrentPage, 2);
    EXPECT_EQ(h.get("count", "Recent"), "<missing>");

    // Next repeats the skipped-to page's work.
    h.work.failing.clear();
    next(f);
    EXPECT_EQ(visiblePages(f), std::vector<int>{11});
    EXPECT_EQ(h.work.hooks().back(), "extractPicture");
}

TEST(FailureAfterSkip, InsertionFromPageFiveThenBackFollowsTheTableFromNine)
{
    Harness h;
    Form1& f = h.start();
    f.ui().Check4->setChecked(false);
    driveTo(h, 5);
    h.work.failing.insert("insertIntoRom");
    next(f);
    EXPECT_TRUE(visiblePages(f).empty());
    EXPECT_EQ(f.state().CurrentPage, 9);
    EXPECT_EQ(h.get("IsPokeB"), "0"); // page 5 stored its choices before the skip
    back(f);
    EXPECT_EQ(visiblePages(f), std::vector<int>{6});
}

TEST(FailureAfterSkip, ExtractionByOffsetStaysOnTheUnseenPage)
{
    Harness h;
    Form1& f = h.start();
    f.ui().Check12->setChecked(false);
    f.ui().Text12->setText(QStringLiteral("&H1F00"));
    driveTo(h, 10);
    h.work.failing.insert("extractPicture");
    next(f);
    EXPECT_TRUE(visiblePages(f).empty());
    EXPECT_EQ(f.state().CurrentPage, 2);
    EXPECT_EQ(h.get("ExtractPokePic"), "0");
    EXPECT_EQ(h.get("LastExOffset"), "&H1F00");
}

TEST(OwnFileSource, IsRememberedOnlyAfterPageElevenIsOnShow)
{
    Harness h;
    Form1& f = h.start();
    std::vector<QString> countDuringExtraction;
    h.work.onCall = [&](Form1&, const std::string& hook) {
        if (hook == "extractPicture")
            countDuringExtraction.push_back(h.get("count", "Recent"));
    };
    f.ui().Combo1->setEditText(h.file(QStringLiteral("pic.orv")));
    next(f);
    ASSERT_EQ(countDuringExtraction.size(), 1u);
    EXPECT_EQ(countDuringExtraction[0], "<missing>");
    EXPECT_EQ(h.get("count", "Recent"), "1");
    EXPECT_EQ(visiblePages(f), std::vector<int>{11});
}

TEST(SuccessPage, ShowsBothPathsAndNextEmptiesTheTypedName)
{
    Harness h;
    Form1& f = h.start();
    f.state().SourcePath = "/tmp/a & b.bmp";
    f.state().TargetPath = "/tmp/rom.gbc";
    f.ui().Text10->setText(QStringLiteral("PIKA"));
    f.ui().Combo1->setEditText(QStringLiteral("kept"));
    onPage(f, 7);
    EXPECT_EQ(f.ui().Label11->text(), QString::fromUtf8("Das Bild aus der Datei \"/tmp/a & b.bmp\" wurde erfolgreich "
                                                        "in die Datei \"/tmp/rom.gbc\" eingefügt."));
    EXPECT_EQ(f.ui().Label19->text(), QStringLiteral("Click the \"Next\" button and insert more pics.        ."));
    next(f);
    EXPECT_EQ(visiblePages(f), std::vector<int>{1});
    EXPECT_TRUE(f.ui().Text10->text().isEmpty());
    EXPECT_EQ(f.ui().Combo1->currentText(), "kept");
    EXPECT_FALSE(f.ui().Command3->isEnabled());
}

TEST(PreviewPage, ShowsThePictureFactsAndStoresTheEnlargedChoice)
{
    Harness h;
    Form1& f = h.start();
    f.state().Picture.resize(96, 48);
    f.state().EncodedLength = 321;
    f.state().PaletteText = "FF03007C";
    onPage(f, 3);
    EXPECT_EQ(f.ui().Label7->text(), "96");
    EXPECT_EQ(f.ui().Label8->text(), "48");
    EXPECT_EQ(f.ui().Label9->text(), "4608");
    EXPECT_EQ(f.ui().Label10->text(), "321");
    EXPECT_EQ(f.ui().Text5->text(), "FF03007C");

    f.state().PreviewFlags = kPreviewWide | kPreviewBig;
    next(f);
    EXPECT_EQ(h.get("BigPreview"), "4");
    onPage(f, 3);
    f.state().PreviewFlags = kPreviewWide;
    next(f);
    EXPECT_EQ(h.get("BigPreview"), "0");
}

TEST(CompressionPage, SetsTheSizeFlagsKeepsTheEnlargedFlagAndStoresItsChoices)
{
    const struct {
        int w, h;
        uint8_t flags;
    } cases[] = {{80, 80, 0}, {88, 40, kPreviewWide}, {40, 88, kPreviewTall}, {96, 96, kPreviewWide | kPreviewTall}};
    for (const auto& c : cases) {
        Harness h;
        Form1& f = h.start();
        onPage(f, 11);
        f.state().Picture.resize(c.w, c.h);
        f.state().PreviewFlags = kPreviewBig | kPreviewWide | kPreviewTall;
        f.ui().OptionButton13->setChecked(true);
        f.ui().OptionButton11->setChecked(true);
        f.ui().Check14->setChecked(true);
        next(f);
        EXPECT_EQ(f.state().PreviewFlags, c.flags | kPreviewBig) << c.w << "x" << c.h;
        EXPECT_EQ(h.get("ReCodeStyle"), "2");
        EXPECT_EQ(h.get("SwitchBW"), "1");
        EXPECT_EQ(h.get("SwitchDL"), "0");
        EXPECT_EQ(h.get("IsHorizontal"), "1");
    }
}

TEST(ColourPage, StoresTheRemainingColourChoiceAndFreesTheTileOrder)
{
    Harness h;
    Form1& f = h.start();
    onPage(f, 8);
    f.ui().OptionButton10->setEnabled(false);
    f.ui().OptionButton12->setEnabled(true);
    f.ui().Combo5->setCurrentIndex(3);
    next(f);
    EXPECT_EQ(h.get("ColorOverride"), "3");
    EXPECT_TRUE(f.ui().OptionButton10->isEnabled());
    EXPECT_TRUE(f.ui().OptionButton11->isEnabled());
    EXPECT_FALSE(f.ui().OptionButton12->isEnabled());

    onPage(f, 8);
    f.ui().Combo5->setCurrentIndex(-1);
    next(f);
    EXPECT_EQ(h.get("ColorOverride"), "-1");
}

TEST(RomChoicePage, StoresItsFieldsAndSetsThePageElevenChoices)
{
    Harness h;
    Form1& f = h.start();
    onPage(f, 10);
    f.ui().Check12->setChecked(false);
    f.ui().Text12->setText(QStringLiteral("&H4000"));
    f.ui().Text13->setText(QStringLiteral("16"));
    f.ui().Text14->setText(QString());
    f.ui().Check13->setChecked(false);
    f.ui().OptionButton11->setChecked(true);
    next(f);
    EXPECT_EQ(h.get("ExtractPokePic"), "0");
    EXPECT_EQ(h.get("SpecifySize"), "0");
    EXPECT_EQ(h.get("LastExOffset"), "&H4000");
    EXPECT_EQ(h.get("SpecX"), "16");
    EXPECT_EQ(h.get("SpecY"), "");
    EXPECT_TRUE(f.ui().OptionButton10->isEnabled());
    EXPECT_TRUE(f.ui().OptionButton11->isChecked());
    EXPECT_TRUE(f.ui().OptionButton12->isEnabled());

    onPage(f, 10);
    f.ui().Check12->setChecked(true);
    next(f);
    EXPECT_EQ(visiblePages(f), std::vector<int>{2});
    EXPECT_TRUE(f.ui().OptionButton10->isChecked());
    EXPECT_FALSE(f.ui().OptionButton10->isEnabled());
    EXPECT_FALSE(f.ui().OptionButton11->isEnabled());
}

TEST(ExtractionPage, CarriesItsChoicesToPageSixAndStoresThemWhenExtractingBySlot)
{
    Harness h;
    Form1& f = h.start();
    onPage(f, 2);
    f.ui().OptionButton2->setChecked(true);
    f.ui().Check2->setChecked(true);
    f.ui().UpDown1->setValue(25);
    f.ui().Check7->setChecked(true);
    f.ui().UpDown6->setValue(66);
    f.ui().OptionButton12->setEnabled(false);
    next(f);
    EXPECT_TRUE(f.ui().OptionButton4->isChecked());
    EXPECT_TRUE(f.ui().OptionButton6->isChecked());
    EXPECT_TRUE(f.ui().OptionButton12->isEnabled());
    EXPECT_EQ(h.get("PicTypeA"), "2");
    EXPECT_EQ(h.get("ShinyA"), "1");
    EXPECT_EQ(h.get("PokeIndexA"), "25");
    EXPECT_EQ(h.get("TrainerA"), "1");
    EXPECT_EQ(h.get("TrainerIndexA"), "66");

    // By offset nothing is carried or stored.
    Harness h2;
    Form1& g = h2.start();
    g.ui().Check12->setChecked(false);
    onPage(g, 2);
    g.ui().OptionButton2->setChecked(true);
    next(g);
    EXPECT_TRUE(g.ui().OptionButton3->isChecked());
    EXPECT_EQ(h2.get("PicTypeA"), "<missing>");
}

TEST(InsertionPages, StoreTheSlotChoicesOnlyWhenASlotIsReplaced)
{
    Harness h;
    Form1& f = h.start();
    onPage(f, 5);
    f.ui().Check4->setChecked(true);
    f.ui().Check11->setChecked(true);
    next(f);
    EXPECT_EQ(h.get("IsPokeB"), "1");
    EXPECT_EQ(h.get("SaveName"), "1");
    f.ui().Check5->setChecked(true);
    f.ui().UpDown5->setValue(3);
    f.ui().UpDown7->setValue(2);
    next(f); // names
    next(f); // insertion
    EXPECT_EQ(visiblePages(f), std::vector<int>{7});
    EXPECT_EQ(h.get("IcognitoB"), "1");
    EXPECT_EQ(h.get("PokeIndexB"), "201");
    EXPECT_EQ(h.get("IcognitoIndexB"), "3");
    EXPECT_EQ(h.get("TrainerIndexB"), "2");
    EXPECT_EQ(h.get("DeleteB"), "1");

    Harness h2;
    Form1& g = h2.start();
    onPage(g, 5);
    g.ui().Check4->setChecked(false);
    next(g);
    EXPECT_EQ(visiblePages(g), std::vector<int>{7});
    EXPECT_EQ(h2.get("IcognitoB"), "<missing>");
}

TEST(SearchButton, RunsTheFreeSpaceHook)
{
    Harness h;
    Form1& f = h.start();
    onPage(f, 5);
    h.work.calls.clear();
    f.ui().Command6->click();
    EXPECT_EQ(h.work.hooks(), std::vector<std::string>{"searchNextOffset"});
}

} // namespace
} // namespace orv::test
