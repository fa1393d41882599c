// Whole runs of the wizard on real files: pictures into ROM slots, through
// own picture files and into bitmaps, and the refusals that change nothing.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

#include "core_harness.h"
#include "up_down.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kFirstFreeOffset = kFreeArea + 2; // the search keeps two zero bytes in front

void put(std::vector<uint8_t>& rom, int64_t offset, std::span<const uint8_t> bytes)
{
    std::copy(bytes.begin(), bytes.end(), rom.begin() + offset);
}

// A 56 x 56 picture on page 5 with the ROM as target.
Form1& pictureToRom(CoreHarness& h, const std::string& rom)
{
    Form1& f = h.start();
    h.open(h.picture("pic.bmp", 56, 56, [](int x, int t) { return Quadrants(x, t, 56, 56); }));
    h.next(); // 8 -> 11, vertical order by default
    h.next(); // 11 -> 3
    h.next(); // 3 -> 4
    h.saveTo(rom);
    EXPECT_EQ(visiblePages(f), std::vector<int>{5});
    return f;
}

TEST(EndToEnd, PictureReplacesAPokemonWithANewName)
{
    const SyntheticRom content = SyntheticRom::Standard('E');
    CoreHarness h;
    const std::string rom = h.rom("game.gb", content);
    Form1& f = pictureToRom(h, rom);
    const Form1Controls& c = f.ui();
    const WizardState& s = f.state();
    EXPECT_EQ(c.Text4->text(), QString::number(kFirstFreeOffset));
    EXPECT_EQ(c.UpDown4->maximum(), kRomSize - s.EncodedLength - 1);

    c.Check4->setChecked(true);
    c.Check11->setChecked(true);
    h.next();
    ASSERT_EQ(visiblePages(f), std::vector<int>{6});
    c.Text3->setText("7");
    c.Check6->setChecked(false);
    c.OptionButton3->setChecked(true);
    c.OptionButton5->setChecked(true);
    h.next();
    ASSERT_EQ(visiblePages(f), std::vector<int>{9});
    EXPECT_EQ(c.Text8->text(), "pic");
    EXPECT_EQ(c.Text9->text(), "P7");
    EXPECT_EQ(s.NameOffset, content.nameLocation(7));
    c.OptionButton8->setChecked(true);
    c.Text10->setText("NEU");
    h.next();
    ASSERT_EQ(visiblePages(f), std::vector<int>{7});
    EXPECT_TRUE(h.messages.messages.empty());
    EXPECT_EQ(c.Label11->text(), QString::fromStdString("Das Bild aus der Datei \"" + h.path("pic.bmp") +
                                                        "\" wurde erfolgreich in die Datei \"" + rom +
                                                        "\" eingefügt."));

    std::vector<uint8_t> expected = content.bytes;
    put(expected, kFirstFreeOffset, s.EncodedData);
    put(expected, 0xAD3D + 8 * 7, std::vector<uint8_t>{0x1F, 0x00, 0x00, 0x7C}); // red, blue
    put(expected, content.nameLocation(7), NameBytes("NEU"));
    put(expected, 0x48000 + 6 * 6, std::vector<uint8_t>{0x7C, 0x02, 0x40});
    expected[content.sizeByteLocation(7)] = 0x77;
    EXPECT_EQ(ChangedOffsets(expected, ReadFileBytes(rom)), std::vector<int64_t>{});
    EXPECT_EQ(h.store->get("Settings", "PokeIndexB", "?"), "7");
}

TEST(EndToEnd, RomPictureThroughAnOwnFileIntoAnotherRomKeepsItsStream)
{
    const SyntheticRom source = SyntheticRom::Standard('E');
    const SyntheticRom target = SyntheticRom::Standard('D');
    CoreHarness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    h.open(h.rom("source.gb", source));
    c.Check12->setChecked(true);
    h.next();
    c.Text1->setText("1");
    h.next();
    c.OptionButton12->setChecked(true);
    h.next();
    h.next();
    const std::string orv = h.path("keep.orv");
    h.saveTo(orv);
    ASSERT_EQ(visiblePages(f), std::vector<int>{7});
    const std::vector<uint8_t>& stream = source.picture("poke1front").stream;
    std::vector<uint8_t> file = stream;
    file.insert(file.end(), {0xFF, 0x03, 0x00, 0x7C, 56, 56, 0});
    EXPECT_EQ(ReadFileBytes(orv), file);

    h.next(); // back to page 1
    h.open(orv);
    ASSERT_EQ(visiblePages(f), std::vector<int>{11});
    EXPECT_TRUE(c.OptionButton10->isChecked());
    c.OptionButton12->setChecked(true);
    h.next();
    EXPECT_EQ(c.Text5->text(), "FF03007C");
    h.next();
    const std::string rom = h.rom("target.gb", target);
    h.saveTo(rom);
    c.Check4->setChecked(true);
    c.Check11->setChecked(false);
    h.next();
    c.Text3->setText("25");
    c.OptionButton4->setChecked(true);
    c.OptionButton6->setChecked(true);
    c.Check6->setChecked(true);
    h.next();
    ASSERT_EQ(visiblePages(f), std::vector<int>{7});
    EXPECT_TRUE(h.messages.messages.empty());

    std::vector<uint8_t> expected = target.bytes;
    const PlacedPicture& old = target.picture("poke25back");
    std::fill_n(expected.begin() + old.offset, old.stream.size(), 0);
    put(expected, kFirstFreeOffset, stream);
    put(expected, 0xAE09, std::vector<uint8_t>{0xFF, 0x03, 0x00, 0x7C});
    put(expected, 0x48093, std::vector<uint8_t>{0x7C, 0x02, 0x40});
    EXPECT_EQ(ChangedOffsets(expected, ReadFileBytes(rom)), std::vector<int64_t>{});
}

TEST(EndToEnd, BitmapHoldsTheFourShadesOfTheLastCoding)
{
    // Green is neither colour: "Restliche Farben zu:" makes it black.
    const auto colourAt = [](int x, int t) { return t < 4 ? 0x00FF00 : Quadrants(x, t, 40, 24); };
    CoreHarness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    h.open(h.picture("green.bmp", 40, 24, colourAt));
    ASSERT_EQ(c.Combo4->itemText(2), "0000FF");
    f.selectItem(c.Combo4, 2);
    f.selectItem(c.Combo5, 0);
    h.next();
    // A first coding with light and dark exchanged, then again without.
    c.Check3->setChecked(true);
    h.next();
    EXPECT_EQ(f.state().Picture.atTop(0, 23), 0x0000FFu);
    f.BackClicked();
    c.Check3->setChecked(false);
    h.next();
    h.next();
    const std::string bmp = h.path("out.bmp");
    h.saveTo(bmp);
    ASSERT_EQ(visiblePages(f), std::vector<int>{7});

    const QImage image(QString::fromStdString(bmp));
    ASSERT_EQ(image.size(), QSize(40, 24));
    int wrong = 0;
    for (int t = 0; t < 24; ++t)
        for (int x = 0; x < 40; ++x) {
            const Colour want = t < 4 ? kBlack : Quadrants(x, t, 40, 24);
            wrong += (image.pixel(x, t) & 0xFFFFFF) != want;
        }
    EXPECT_EQ(wrong, 0);
}

TEST(EndToEnd, BareOffsetWritesOnlyTheData)
{
    const SyntheticRom content = SyntheticRom::Standard('E');
    CoreHarness h;
    const std::string rom = h.rom("game.gb", content);
    Form1& f = pictureToRom(h, rom);
    f.ui().Check4->setChecked(false);
    f.ui().Text4->setText("&H1F4000");
    h.next();
    ASSERT_EQ(visiblePages(f), std::vector<int>{7});
    std::vector<uint8_t> expected = content.bytes;
    put(expected, 0x1F4000, f.state().EncodedData);
    EXPECT_EQ(ChangedOffsets(expected, ReadFileBytes(rom)), std::vector<int64_t>{});
    EXPECT_EQ(h.store->get("Settings", "PokeIndexB", "?"), "?");
}

// Every file of the test's folder but the settings.
std::map<std::string, std::vector<uint8_t>> files(const CoreHarness& h)
{
    std::map<std::string, std::vector<uint8_t>> all;
    for (const auto& entry : fs::directory_iterator(h.dir.path()))
        if (entry.path().filename() != "settings.ini")
            all[entry.path().filename().string()] = ReadFileBytes(entry.path());
    return all;
}

struct Refusal {
    const char* name;
    // Drives the wizard up to the Next that fails; returns the message expected.
    std::function<std::string(CoreHarness&)> prepare;
    const char* caption;
    std::vector<int> visible; // pages on show afterwards
    int currentPage;
};

void PrintTo(const Refusal& r, std::ostream* os)
{
    *os << r.name;
}

class Refusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refusals, ShowTheMessageAndChangeNoFile)
{
    const Refusal& r = GetParam();
    CoreHarness h;
    const std::string message = r.prepare(h);
    const auto before = files(h);
    h.messages.messages.clear();
    h.next();
    ASSERT_EQ(h.messages.messages.size(), 1u);
    EXPECT_EQ(h.messages.messages[0].text.toStdString(), message);
    EXPECT_EQ(h.messages.messages[0].caption.toStdString(), r.caption);
    EXPECT_EQ(visiblePages(*h.form), r.visible);
    EXPECT_EQ(h.form->state().CurrentPage, r.currentPage);
    EXPECT_EQ(files(h), before);
}

std::string standardRom(CoreHarness& h, char language = 'E')
{
    return h.rom("game.gb", SyntheticRom::Standard(language));
}

// A coded picture on page 4 with target in Combo2.
void pictureOnPage4(CoreHarness& h, const std::string& target)
{
    h.start();
    h.open(h.picture("pic.bmp", 56, 56, [](int x, int t) { return Quadrants(x, t, 56, 56); }));
    h.next();
    h.next();
    h.next();
    h.form->ui().Combo2->setEditText(QString::fromStdString(target));
}

// Page 6 of a picture going into a ROM, with or without a new name.
void onPage6(CoreHarness& h, const std::string& rom, bool changeName)
{
    pictureToRom(h, rom);
    h.form->ui().Check4->setChecked(true);
    h.form->ui().Check11->setChecked(changeName);
    h.next();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refusals,
    ::testing::Values(
        Refusal{"NotAPicture",
                [](CoreHarness& h) {
                    const std::string junk = h.path("junk.bmp");
                    std::ofstream(junk) << "no picture here";
                    h.start();
                    h.form->ui().Combo1->setEditText(QString::fromStdString(junk));
                    return "Die Datei \"" + junk + "\" ist keine lesbare Bilddatei (GIF, BMP, ICO, CUR oder PNG).";
                },
                "Fehler", {1}, 1},
        Refusal{"OffsetWithoutAStream",
                [](CoreHarness& h) {
                    SyntheticRom content = SyntheticRom::Standard('E');
                    content.bytes[kRomSize - 3] = 0x05; // a literal running past the end
                    const std::string rom = h.rom("game.gb", content);
                    h.start();
                    h.open(rom);
                    h.form->ui().Check12->setChecked(false);
                    h.form->ui().Text12->setText("&H1FFFFD");
                    return "An Offset &H1FFFFD der Datei \"" + rom +
                           "\" liegen keine vollständigen Bilddaten. Vor dem Dateiende fehlt das Endezeichen.";
                },
                "Fehler", {}, 2},
        Refusal{"MissingRomTarget",
                [](CoreHarness& h) {
                    const std::string rom = h.path("none.gb");
                    pictureOnPage4(h, rom);
                    return "Die Datei \"" + rom +
                           "\" existiert nicht. Bilder können nur in existierende Dateien insertet werden.";
                },
                "Fehler", {4}, 4},
        Refusal{"ReadOnlyRomTarget",
                [](CoreHarness& h) {
                    const std::string rom = standardRom(h);
                    fs::permissions(rom, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
                    pictureOnPage4(h, rom);
                    return "Die Datei \"" + rom +
                           "\" ist schreibgeschütz. Orvista kann nicht in schreibgeschützte Dateien schreiben.";
                },
                "Fehler", {4}, 4},
        Refusal{"TooShortRomTarget",
                [](CoreHarness& h) {
                    const std::string rom = h.rom("small.gb", SyntheticRom('E', 16));
                    pictureOnPage4(h, rom);
                    return std::string("Datei zu klein für Bilddaten");
                },
                "Fehler", {4}, 4},
        Refusal{"OffsetBeyondTheRom",
                [](CoreHarness& h) {
                    pictureToRom(h, standardRom(h));
                    h.form->ui().Check4->setChecked(false);
                    h.form->ui().Text4->setText("&H1FFFFF");
                    return "Der Offset 2097151 liegt außerhalb des erlaubten Bereichs von 0 bis " +
                           std::to_string(kRomSize - h.form->state().EncodedLength - 1) + ".";
                },
                "Fehler", {}, 9},
        Refusal{"TrainerNumberOutOfRange",
                [](CoreHarness& h) {
                    onPage6(h, standardRom(h), false);
                    h.form->ui().Check8->setChecked(true);
                    h.form->ui().Text7->setText("70");
                    return std::string("Die Trainernummer 70 liegt außerhalb des erlaubten Bereichs von 1 bis 66.");
                },
                "Fehler", {}, 9},
        Refusal{"UnknownLanguage",
                [](CoreHarness& h) {
                    onPage6(h, standardRom(h, 'X'), true);
                    return std::string("Fehler: Sprache des Roms konnte nicht erkannt werden.");
                },
                "Orvista", {6}, 6},
        Refusal{"NameNotWritable",
                [](CoreHarness& h) {
                    onPage6(h, standardRom(h), true);
                    h.next();
                    h.form->ui().OptionButton8->setChecked(true);
                    h.form->ui().Text10->setText("#");
                    return std::string(
                        "Der Name \"#\" enthält das Zeichen \"#\", das im Spiel nicht darstellbar ist.");
                },
                "Fehler", {9}, 9}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orv::test
