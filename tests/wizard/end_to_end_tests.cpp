// Whole runs of the wizard on real files: pictures into ROM slots, through
// own picture files and into bitmaps, and refusals that change no file.

#include <map>

#include "game_text.h"
#include "patch_appliers.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr int64_t kFirstFreeOffset = kFreeArea + 2; // the search keeps two zero bytes in front

// A size x size picture coded and on page 5 (ROM target) or 4 (no target yet).
Form1& codedPicture(CoreHarness& h, const QString& rom = {}, int size = 56)
{
    Form1& f = h.start();
    h.open(h.picture("pic.bmp", size, size, Quadrants(size, size)));
    h.next(); // 8 -> 11, vertical order by default
    h.next(); // 11 -> 3
    h.next(); // 3 -> 4
    if (!rom.isEmpty())
        h.saveTo(rom);
    EXPECT_EQ(h.pages(), Pages{rom.isEmpty() ? 4 : 5});
    return f;
}

// Next refuses with the message and changes no file of the test's folder.
void ExpectRefusal(CoreHarness& h, const QString& message, const Pages& visible, int currentPage)
{
    const auto files = [&h] {
        std::map<std::string, std::vector<uint8_t>> all;
        for (const auto& entry : std::filesystem::directory_iterator(h.dir.path()))
            if (entry.path().filename() != "settings.ini")
                all[entry.path().filename().string()] = ReadFileBytes(entry.path());
        return all;
    };
    const auto before = files();
    h.messages.messages.clear();
    h.next();
    ASSERT_EQ(h.messages.messages.size(), 1u);
    EXPECT_EQ(h.messages.messages[0].text, message);
    EXPECT_EQ(h.messages.messages[0].caption, "Fehler");
    EXPECT_EQ(h.pages(), visible);
    EXPECT_EQ(h.form->state().CurrentPage, currentPage);
    EXPECT_EQ(files(), before);
}

TEST(EndToEnd, PictureReplacesAPokemonWithANewName)
{
    const SyntheticRom content = SyntheticRom::Standard('E');
    CoreHarness h;
    const QString rom = h.rom("game.gb", content);
    Form1& f = codedPicture(h, rom);
    const Form1Controls& c = f.ui();
    EXPECT_EQ(c.Text4->text(), QString::number(kFirstFreeOffset));
    c.Command6->click(); // the search goes on behind the place found before
    const int64_t at = c.Text4->text().toLongLong();
    EXPECT_GE(at, kFirstFreeOffset + f.state().EncodedLength + 3);
    EXPECT_LT(at + f.state().EncodedLength, kFreeArea + kFreeAreaLength);
    Tick({c.Check4, c.Check11});
    h.next();
    c.Text3->setText("7");
    c.Check6->setChecked(false);
    Tick({c.OptionButton3, c.OptionButton5});
    h.next();
    ASSERT_EQ(h.pages(), Pages{9});
    EXPECT_EQ(c.Text8->text() + " " + c.Text9->text(), "pic P7");
    c.OptionButton8->setChecked(true);
    c.Text10->setText("NEU");
    h.next();
    ASSERT_EQ(h.pages(), Pages{7});
    EXPECT_TRUE(h.messages.messages.empty());
    EXPECT_EQ(c.Label11->text(), "Das Bild aus der Datei \"" + h.path("pic.bmp") +
                                     "\" wurde erfolgreich in die Datei \"" + rom + "\" eingefügt.");

    SyntheticRom expected = content;
    expected.put(at, f.state().EncodedData);
    expected.put(0xAD3D + 8 * 7, Bytes{0x1F, 0x00, 0x00, 0x7C}); // palette: red, blue
    expected.put(content.nameLocation(7), NameBytes("NEU"));
    expected.setPicturePointer(0x48000 + 6 * 6, at);
    expected.bytes[content.sizeByteLocation(7)] = 0x77;
    SetGlobalChecksum(expected.bytes);
    EXPECT_EQ(ChangedOffsets(expected.bytes, ReadFileBytes(rom.toStdString())), std::vector<int64_t>{});
}

// Page 6 refuses a front picture beyond the size byte, asks before a shape
// the game does not draw whole, and carries a Yes on to page 9's writing.
TEST(EndToEnd, ShapesTheGameDoesNotDrawAreWrittenOnlyAfterAYes)
{
    const SyntheticRom content = SyntheticRom::Standard('E');
    CoreHarness big;
    const QString bigRom = big.rom("game.gb", content);
    const Form1Controls& b = codedPicture(big, bigRom, 96).ui(); // 12 x 12 tiles
    Tick({b.Check4});
    b.Check11->setChecked(false);
    big.next();
    Tick({b.OptionButton3});
    ExpectRefusal(big, "Das Bild passt mit 12 x 12 Kacheln nicht in die Größenangabe (1 bis 9 Kacheln je Richtung). "
                       "Es wurde nichts geschrieben.", {6}, 6);
    EXPECT_EQ(big.messages.questions, 0);
    GrabBox(*big.form, big.messages.messages[0], false, "shape-refusal.png");

    CoreHarness h;
    const QString rom = h.rom("game.gb", content);
    Form1& f = codedPicture(h, rom, 40);
    const Form1Controls& c = f.ui();
    Tick({c.Check4});
    c.Check11->setChecked(false);
    h.next();
    c.Check8->setChecked(true);
    c.Text7->setText("2");
    c.Check6->setChecked(false);
    for (const bool yes : {false, true}) {
        h.messages.messages.clear();
        h.messages.answer = yes;
        h.next();
        ASSERT_EQ(h.messages.messages.size(), 1u);
        const Message& question = h.messages.messages[0];
        EXPECT_EQ(question.text, "Das Bild ist 40 x 40 Pixel groß; als Trainerbild zeichnet das Spiel nur Bilder von "
                                 "56 x 56 Pixeln richtig.\n\nNur wenn der Programmcode des Roms geändert wurde, um "
                                 "andere Größen zu zeichnen, zeigt das Spiel das Bild dort richtig.\n\nTrotzdem "
                                 "schreiben?");
        EXPECT_EQ(question.caption, "Orvista");
        EXPECT_EQ(question.icon, MessageIcon::Warning);
        EXPECT_EQ(h.pages(), yes ? Pages{7} : Pages{6});
        if (!yes)
            GrabBox(*h.form, question, true, "shape-question.png");
        SyntheticRom expected = content;
        if (yes) {
            expected.put(kFirstFreeOffset, f.state().EncodedData);
            expected.put(0xB545, Bytes{0x1F, 0x00, 0x00, 0x7C});
            expected.setPicturePointer(0x80003, kFirstFreeOffset);
            SetGlobalChecksum(expected.bytes);
        }
        EXPECT_EQ(ChangedOffsets(expected.bytes, ReadFileBytes(rom.toStdString())), std::vector<int64_t>{})
            << "answered " << yes;
    }

    // An Unown front in another size than the 26 share: the Yes writes their size byte, after page 9's name.
    CoreHarness u;
    const QString unownRom = u.rom("game.gb", content);
    const Form1Controls& d = codedPicture(u, unownRom, 48).ui();
    Tick({d.Check4, d.Check11});
    u.next();
    Tick({d.Check5, d.OptionButton3});
    d.Label18->setText("7");
    u.messages.answer = true;
    u.next();
    ASSERT_EQ(u.messages.questions, 1);
    EXPECT_TRUE(u.messages.messages[0].text.contains(
        "Die Größenangabe, die alle 26 Unown teilen, wird dabei mit geändert."));
    ASSERT_EQ(u.pages(), Pages{9});
    u.next();
    ASSERT_EQ(u.pages(), Pages{7});
    EXPECT_EQ(ReadFileBytes(unownRom.toStdString()).at(content.sizeByteLocation(201)), 0x66);
}

TEST(EndToEnd, RomPictureThroughAnOwnFileIntoAnotherRomKeepsItsStream)
{
    const SyntheticRom source = SyntheticRom::Standard('E');
    const SyntheticRom target = SyntheticRom::Standard('D');
    CoreHarness h;
    const Form1Controls& c = h.start().ui();
    h.open(h.rom("source.gb", source));
    ASSERT_EQ(h.pages(), Pages{10});
    h.next(); // by slot
    ASSERT_EQ(h.pages(), Pages{2});
    c.Text1->setText("1");
    c.OptionButton2->setChecked(true); // the back picture: 48 x 48
    h.next();
    ASSERT_EQ(h.pages(), Pages{11});
    EXPECT_TRUE(c.OptionButton10->isChecked() && !c.OptionButton10->isEnabled()); // vertical order, locked
    c.OptionButton12->setChecked(true);
    h.next();
    ASSERT_EQ(h.pages(), Pages{3});
    const std::vector<uint8_t>& stream = source.picture("poke1back").stream;
    EXPECT_EQ(h.facts(), (QStringList{"48", "48", "2304", QString::number(stream.size()), "FF03007C"}));
    h.next();
    const QString orv = h.path("keep.orv");
    h.saveTo(orv);
    ASSERT_EQ(h.pages(), Pages{7});
    std::vector<uint8_t> file = stream;
    file.insert(file.end(), {0xFF, 0x03, 0x00, 0x7C, 48, 48, 0});
    EXPECT_EQ(ReadFileBytes(orv.toStdString()), file);

    h.next(); // back to page 1
    h.open(orv);
    ASSERT_EQ(h.pages(), Pages{11});
    c.OptionButton12->setChecked(true);
    EXPECT_EQ(c.OptionButton12->text(), "Retain old Compression Data   .");
    h.next();
    EXPECT_EQ(c.Text5->text(), "FF03007C");
    h.next();
    const QString rom = h.rom("target.gb", target);
    h.saveTo(rom);
    c.Check11->setChecked(false);
    h.next();
    c.Text3->setText("25");
    Tick({c.OptionButton4, c.OptionButton6, c.Check6});
    h.next();
    ASSERT_EQ(h.pages(), Pages{7});
    EXPECT_TRUE(h.messages.messages.empty());

    SyntheticRom expected = target;
    const PlacedPicture& old = target.picture("poke25back");
    std::fill_n(expected.bytes.begin() + old.offset, old.stream.size(), 0);
    expected.put(kFirstFreeOffset, stream);
    expected.put(0xAE09, Bytes{0xFF, 0x03, 0x00, 0x7C});
    expected.put(0x48093, Bytes{0x7C, 0x02, 0x40});
    SetGlobalChecksum(expected.bytes);
    EXPECT_EQ(ChangedOffsets(expected.bytes, ReadFileBytes(rom.toStdString())), std::vector<int64_t>{});
}

TEST(EndToEnd, BitmapHoldsTheFourShadesOfTheLastCoding)
{
    // Green is neither colour: "Restliche Farben zu:" colour 1 makes it red.
    const auto colourAt = [](int x, int t) { return t < 4 ? 0x00FF00 : Quadrants(40, 24)(x, t); };
    CoreHarness h;
    Form1& f = h.start();
    const Form1Controls& c = f.ui();
    h.open(h.picture("green.bmp", 40, 24, colourAt));
    EXPECT_EQ(c.Combo3->currentText() + " " + c.Combo4->itemText(2), "FF0000 0000FF");
    f.selectItem(c.Combo4, 2);
    f.selectItem(c.Combo5, 2);
    EXPECT_EQ(c.Picture5->backColour(), 0xFF0000u);
    h.next();
    c.Check3->setChecked(true); // a first coding with light and dark exchanged, then again without
    h.next();
    EXPECT_EQ(f.state().Picture.atTop(0, 23), 0x0000FFu);
    h.back();
    c.Check3->setChecked(false);
    h.next();
    h.next();
    const QString bmp = h.path("out.bmp");
    h.saveTo(bmp);
    ASSERT_EQ(h.pages(), Pages{7});
    const QImage image(bmp);
    ASSERT_EQ(image.size(), QSize(40, 24));
    int wrong = 0;
    for (int t = 0; t < 24; ++t)
        for (int x = 0; x < 40; ++x)
            wrong += (image.pixel(x, t) & 0xFFFFFF) != (t < 4 ? 0xFF0000u : Quadrants(40, 24)(x, t));
    EXPECT_EQ(wrong, 0);
}

// A bitmap or own file target that is the source under another name (a
// symbolic or a hard link) is refused before anything is written.
TEST(EndToEnd, ATargetThatIsTheSourceIsRefused)
{
    for (const bool hard : {false, true}) {
        CoreHarness h;
        codedPicture(h);
        const QString source = h.path("pic.bmp"), target = h.path(hard ? "same.orv" : "link.bmp");
        if (hard)
            std::filesystem::create_hard_link(source.toStdString(), target.toStdString());
        else
            std::filesystem::create_symlink(source.toStdString(), target.toStdString());
        h.form->ui().Combo2->setEditText(target);
        ExpectRefusal(h, "Die Zieldatei \"" + target + "\" ist die Quelldatei \"" + source +
                             "\" selbst (über einen Link oder einen anderen Namen); sie würde beim Schreiben "
                             "zerstört. Es wurde nichts geschrieben.",
                      {4}, 4);
    }
}

// A ROM target that holds no game is named as such before any search.
TEST(EndToEnd, ATargetThatIsNoRomOfTheGamesIsRefused)
{
    CoreHarness h;
    codedPicture(h);
    const QString target = h.path("zeros.gb");
    WriteFileBytes(target.toStdString(), Bytes(0x8000, 0));
    h.form->ui().Combo2->setEditText(target);
    ExpectRefusal(h, "Die Datei \"" + target + "\" ist kein Rom von Pokemon Gold oder Silber (englisch oder "
                         "deutsch): Das Sprachbyte ihres Kopfes ist weder D noch E.",
                  {4}, 4);
}

TEST(EndToEnd, RefusalsShowTheMessageAndChangeNoFile)
{
    CoreHarness junk;
    junk.start().ui().Combo1->setEditText(junk.file("junk.bmp"));
    ExpectRefusal(junk, "Die Datei \"" + junk.path("junk.bmp") +
                            "\" ist keine lesbare Bilddatei (GIF, BMP, ICO, CUR oder PNG).", {1}, 1);

    CoreHarness cut;
    SyntheticRom content = SyntheticRom::Standard('E');
    content.bytes[kRomSize - 3] = 0x05; // a literal running past the end
    cut.start();
    cut.open(cut.rom("game.gb", content));
    cut.form->ui().Check12->setChecked(false);
    cut.form->ui().Text12->setText("&H1FFFFD");
    ExpectRefusal(cut, "An Offset &H1FFFFD der Datei \"" + cut.path("game.gb") +
                           "\" liegen keine vollständigen Bilddaten. Vor dem Dateiende fehlt das Endezeichen.", {10}, 10);

    CoreHarness h;
    codedPicture(h).ui().Combo2->setEditText(h.path("none.gb"));
    ExpectRefusal(h, "Die Datei \"" + h.path("none.gb") +
                         "\" existiert nicht. Bilder können nur in existierende Dateien insertet werden.", {4}, 4);
    h.saveTo(h.rom("game.gb", SyntheticRom::Standard('E')));
    h.form->ui().Check4->setChecked(false);
    h.form->ui().Text4->setText("&H1FFFFF");
    ExpectRefusal(h, QString("Der Offset 2097151 liegt außerhalb des erlaubten Bereichs von 0 bis %1.")
                         .arg(kRomSize - h.form->state().EncodedLength - 1), {5}, 5);

    h.form->ui().Text4->setText("&H48000");
    ExpectRefusal(h, QString("Die Bilddaten (%1 Bytes ab &H48000) würden die Zeigertabelle der Pokemonbilder "
                             "(&H48000 bis &H485E1) überschreiben. Es wurde nichts geschrieben.")
                         .arg(h.form->state().EncodedLength), {5}, 5);

    CoreHarness name;
    codedPicture(name, name.rom("game.gb", SyntheticRom::Standard('E'))).ui().Check11->setChecked(true);
    name.next();
    name.next();
    name.form->ui().OptionButton8->setChecked(true);
    name.form->ui().Text10->setText("#");
    ExpectRefusal(name, "Der Name \"#\" enthält das Zeichen \"#\", das im Spiel nicht darstellbar ist.", {9}, 9);
}

// With "Type a new name:  " chosen an empty box is refused, also when a
// former insertion left the choice and page 7 emptied the box.
TEST(EndToEnd, AnEmptyTypedNameIsRefusedOnPageNine)
{
    CoreHarness h;
    const QString rom = h.rom("game.gb", SyntheticRom::Standard('E'));
    const Form1Controls& c = codedPicture(h, rom).ui();
    Tick({c.Check4, c.Check11});
    h.next();
    c.Text3->setText("7");
    h.next();
    ASSERT_EQ(h.pages(), Pages{9});
    c.OptionButton8->setChecked(true);
    c.Text10->setText("NEU");
    h.next();
    ASSERT_EQ(h.pages(), Pages{7});

    h.next(); // page 7 empties Text10; the choice stays
    h.open(h.path("pic.bmp"));
    for (int i = 0; i < 3; ++i)
        h.next(); // 8, 11, 3 -> 4
    h.saveTo(rom);
    h.next();
    c.Text3->setText("9");
    h.next();
    ASSERT_EQ(h.pages(), Pages{9});
    ASSERT_TRUE(c.OptionButton8->isChecked() && c.Text10->text().isEmpty());
    ExpectRefusal(h, "Der neue Name ist leer. Ein Pokemon ohne Namen wird nicht geschrieben; bitte einen Namen "
                     "eingeben.", {9}, 9);
    GrabBox(*h.form, h.messages.messages[0], false, "empty-name-refusal.png");
    EXPECT_EQ(rom::ReadPokemonName(rom.toStdString(), 9, 10).value().text, "P9");
}

// A ".gb" source that is no ROM of these games is refused on page 1 with the
// message page 2 would give, and not remembered.
TEST(EndToEnd, PageOneRefusesABrokenRomSource)
{
    SyntheticRom pointless = SyntheticRom::Standard('E');
    pointless.put(kRomSize - 3, Bytes{0x1F, 0x01, 0x02}); // a literal running past the end
    const std::pair<int, int> tables[] = {{0x48000, 2 * 251}, {0x7C000, 2 * 26}, {0x80000, 66}};
    for (const auto& [table, entries] : tables)
        for (int i = 0; i < entries; ++i)
            pointless.setPicturePointer(table + 3 * i, kRomSize - 3);
    const struct {
        const char* file;
        SyntheticRom content;
        QString message; // after the path, or the whole text
        const char* caption;
    } cases[] = {
        {"short.gb", SyntheticRom('E', 0x48050),
         "\" ist zu kurz für die Zeigertabelle (benötigt bis &H800C6, Dateilänge &H48050).", "Fehler"},
        {"unknown.gbc", SyntheticRom::Standard('X'), "Fehler: Sprache des Roms konnte nicht erkannt werden.",
         "Orvista"},
        {"pointless.gb", pointless,
         "\" liegen keine vollständigen Bilddaten. Vor dem Dateiende fehlt das Endezeichen.", "Fehler"},
    };
    for (const auto& c : cases) {
        CoreHarness h;
        h.start();
        const QString path = h.rom(c.file, c.content);
        h.open(path);
        ASSERT_EQ(h.messages.messages.size(), 1u) << c.file;
        const QString text = h.messages.messages[0].text;
        EXPECT_TRUE(text == c.message || (text.contains(path) && text.endsWith(c.message))) << text.toStdString();
        EXPECT_EQ(h.messages.messages[0].caption, c.caption) << c.file;
        EXPECT_EQ(h.pages(), Pages{1}) << c.file;
        EXPECT_EQ(h.get("count", "Recent"), "<missing>") << c.file;
        EXPECT_EQ(h.get("LastOpenFile"), "<missing>") << c.file;
    }
}

TEST(EndToEnd, UnknownBytesAreOverwrittenOnlyAfterAYes)
{
    const SyntheticRom content = SyntheticRom::Standard('E');
    CoreHarness h;
    const QString rom = h.rom("game.gb", content);
    Form1& f = codedPicture(h, rom);
    const Form1Controls& c = f.ui();
    c.Check4->setChecked(false);
    c.Text4->setText("&H120000"); // the synthetic ROM's non-zero filler
    for (const bool yes : {false, true}) {
        h.messages.messages.clear();
        h.messages.answer = yes;
        h.next();
        ASSERT_EQ(h.messages.questions, yes ? 2 : 1);
        const QString question = h.messages.messages.at(0).text;
        EXPECT_TRUE(question.startsWith(QString("Die Bilddaten würden ab Offset &H120000 %1 Bytes überschreiben, "
                                                "die nicht 0 sind")
                                            .arg(f.state().EncodedLength)))
            << question.toStdString();
        EXPECT_TRUE(question.endsWith("Trotzdem schreiben?"));
        SyntheticRom expected = content;
        if (yes) {
            expected.put(0x120000, f.state().EncodedData);
            SetGlobalChecksum(expected.bytes);
        }
        EXPECT_EQ(ReadFileBytes(rom.toStdString()), expected.bytes) << "answered " << yes;
        EXPECT_EQ(h.pages(), yes ? Pages{7} : Pages{5});
    }
}

} // namespace
} // namespace orv::test
