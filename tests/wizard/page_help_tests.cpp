// The wizard's help to its user on the real cores: offsets that step from
// what was typed, a typed name that is the one written, names beside the
// numbers, files dropped on the window, dialog filters and suffixes, the
// German Yes/No, page 3's palette on its label's line and page 8's colour
// swatches. Each page is grabbed for a look.

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QtTest/QTest>

#include "game_text.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

void saveScreen(Form1& f, const char* name)
{
    QDir().mkpath(QStringLiteral(ORV_SCREENS_DIR));
    EXPECT_TRUE(f.grab().save(QStringLiteral(ORV_SCREENS_DIR "/") + QLatin1String(name)));
}

// A ROM opened as the source, on page 10.
Form1& romSource(CoreHarness& h)
{
    Form1& f = h.start();
    h.open(h.rom("game.gb", SyntheticRom::Standard('E')));
    EXPECT_EQ(h.pages(), Pages{10});
    return f;
}

TEST(PageHelp, TheOffsetStepsFromTheTypedValueWithinTheRom)
{
    CoreHarness h;
    const Form1Controls& c = romSource(h).ui();
    EXPECT_EQ(c.UpDown9->minimum(), 0);
    EXPECT_EQ(c.UpDown9->maximum(), kRomSize - 1);
    c.Check12->setChecked(false);

    const struct {
        const char* typed;
        QToolButton* button;
        const char* shown;
    } steps[] = {
        {"&H757E9", c.UpDown9->upButton(), "&H757EA"},
        {"&h757E9", c.UpDown9->downButton(), "&H757E8"},
        {"481257", c.UpDown9->upButton(), "481258"},
        {"&H1FFFFF", c.UpDown9->upButton(), "&H1FFFFF"}, // the last byte of the ROM
        {"&H300000", c.UpDown9->downButton(), "&H1FFFFE"}, // from the end, not from where it was
        {"0", c.UpDown9->downButton(), "0"},
    };
    for (const auto& s : steps) {
        c.Text12->setText(QString::fromLatin1(s.typed));
        s.button->click();
        EXPECT_EQ(c.Text12->text(), QString::fromLatin1(s.shown)) << s.typed;
    }
    c.Text12->setText("&H757E9");
    c.UpDown9->upButton()->click();
    c.UpDown9->upButton()->click();
    EXPECT_EQ(c.Text12->text(), "&H757EB");
    saveScreen(*h.form, "help-page10.png");

    // The stepped offset is the one extracted from.
    c.Text12->setText("&H1FFFFE");
    c.UpDown9->downButton()->click();
    h.next();
    ASSERT_EQ(h.messages.messages.size(), 1u);
    EXPECT_TRUE(h.messages.messages[0].text.startsWith("An Offset &H1FFFFD ")) << h.messages.messages[0].text.toStdString();
}

TEST(PageHelp, TypingANameChoosesItAndThatNameIsWritten)
{
    CoreHarness h;
    const QString rom = h.rom("game.gb", SyntheticRom::Standard('E'));
    Form1& f = h.start();
    h.open(h.picture("pic.bmp", 40, 40, Quadrants(40, 40)));
    for (int i = 0; i < 3; ++i)
        h.next(); // 8, 11, 3 -> 4
    h.saveTo(rom);
    const Form1Controls& c = f.ui();
    Tick({c.Check4, c.Check11});
    h.next();
    c.Text3->setText("12");
    h.next();
    ASSERT_EQ(h.pages(), Pages{9});
    ASSERT_TRUE(c.OptionButton9->isChecked());

    c.Text10->setText("SET"); // the program's own change chooses nothing
    EXPECT_TRUE(c.OptionButton9->isChecked());
    c.Text10->clear();
    QTest::keyClicks(c.Text10, "ZAP");
    EXPECT_TRUE(c.OptionButton8->isChecked());
    EXPECT_FALSE(c.OptionButton9->isChecked());
    saveScreen(f, "help-page09.png");
    h.next();
    ASSERT_EQ(h.pages(), Pages{7}) << (h.messages.messages.empty() ? "" : h.messages.messages[0].text.toStdString());
    auto name = rom::ReadPokemonName(rom.toStdString(), 12, 10);
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(name->text, "ZAP");
}

TEST(PageHelp, TheNameLabelFollowsTheNumber)
{
    CoreHarness h;
    Form1& f = romSource(h);
    const Form1Controls& c = f.ui();
    h.next(); // 10 -> 2
    ASSERT_EQ(h.pages(), Pages{2});
    const struct {
        std::function<void()> change;
        const char* shown;
    } page2[] = {
        {[&] { c.Text1->setText("25"); }, "P25"},
        {[&] { c.UpDown1->upButton()->click(); }, "P26"},
        {[&] { c.Text1->setText("&HFB"); }, "P251"},
        {[&] { c.Text1->setText("252"); }, ""},
        {[&] { c.Check1->setChecked(true); }, "Unown A"},
        {[&] { c.Text2->setText("26"); }, "Unown Z"},
        {[&] { c.Check7->setChecked(true); c.Text6->setText("9"); }, "Trainer 9"},
        {[&] { c.Check7->setChecked(false); c.Check1->setChecked(false); c.Text1->setText("3"); }, "P3"},
    };
    for (const auto& step : page2) {
        step.change();
        EXPECT_EQ(c.SlotName2->text(), QString::fromLatin1(step.shown));
    }
    saveScreen(f, "help-page02.png");

    // Page 6 reads the target's table; a name length that is no length shows nothing.
    h.next(); // 2 -> 11
    h.next(); // 11 -> 3
    h.next(); // 3 -> 4
    h.saveTo(h.rom("target.gb", SyntheticRom::Standard('D')));
    c.Check4->setChecked(true);
    h.next();
    ASSERT_EQ(h.pages(), Pages{6});
    c.Text3->setText("100");
    EXPECT_EQ(c.SlotName6->text(), "P100");
    c.Check5->setChecked(true);
    c.Label18->setText("2");
    EXPECT_EQ(c.SlotName6->text(), "Unown B");
    c.Label18->setText("40");
    EXPECT_EQ(c.SlotName6->text(), "Unown");
    c.Check5->setChecked(false);
    saveScreen(f, "help-page06.png");

    h.back();
    std::filesystem::resize_file(h.path("target.gb").toStdString(), 0x1000); // no name table any more
    h.next();
    ASSERT_EQ(h.pages(), Pages{6});
    EXPECT_EQ(c.SlotName6->text(), "");
}

void drop(QWidget& f, const QString& path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    data.setText(QUrl::fromLocalFile(path).toString()); // as file managers offer it
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&f, &enter);
    if (!enter.isAccepted())
        return;
    QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&f, &dropped);
}

TEST(PageHelp, AFileDroppedOnPageOneIsLoaded)
{
    CoreHarness h;
    Form1& f = h.start();
    const QString rom = h.rom("game.gb", SyntheticRom::Standard('E'));
    drop(f, rom);
    EXPECT_EQ(f.ui().Combo1->currentText(), rom);
    EXPECT_EQ(h.pages(), Pages{10});
    EXPECT_EQ(h.get("LastOpenFile"), rom);

    const QString picture = h.picture("pic.bmp", 16, 16, Quadrants(16, 16));
    drop(f, picture); // page 10 takes no drops
    EXPECT_EQ(h.pages(), Pages{10});
    EXPECT_EQ(f.ui().Combo1->currentText(), rom);

    h.back();
    drop(*f.ui().Combo1->lineEdit(), picture); // the source box takes it as a file, not as text
    EXPECT_EQ(f.ui().Combo1->currentText(), picture);
    EXPECT_EQ(h.pages(), Pages{8});
    EXPECT_EQ(f.ui().Combo3->count(), 2); // red and blue

    h.back();
    drop(f, h.path("gone.bmp")); // as a typed path: the not-found message
    EXPECT_EQ(h.pages(), Pages{1});
    ASSERT_EQ(h.messages.messages.size(), 1u);
    EXPECT_EQ(h.messages.messages[0].text, "Die Datei \"" + h.path("gone.bmp") + "\" konnte nicht gefunden werden.");
}

TEST(PageHelp, DialogsShowEachFilterCaptionOnce)
{
    const struct {
        QString filter;
        QStringList shown;
        QString firstFilter; // as Qt gets it, with the patterns that filter
    } cases[] = {
        {Form1::sourceFilter(),
         {"Alle Unterstützten Formate", "Bild-Dateien (*.gif;*.bmp;*.ico;*.cur)", "PNG-Bilder (*.png)",
          "Gameboy-Roms (*.gb*)", "Backup-Dateien (Als Bilder) (*.bak;*.old)", "ORV Bild-Dateien (*.orv)"},
         "Alle Unterstützten Formate (*.gif *.bmp *.ico *.cur *.orv *.gb*)"},
        {Form1::targetFilter(),
         {"Gameboy-Roms (*.gb*)", "Bitmaps (*.dib;*.bmp)", "ORV Bild-Dateien (*.orv)"},
         "Gameboy-Roms (*.gb*) (*.gbc *.gb*)"},
    };
    for (const auto& c : cases) {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        setUpFileDialog(dialog, {}, c.filter, QFileDialog::AcceptOpen);
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        QStringList shown;
        for (int i = 0; i < types->count(); ++i)
            shown << types->itemText(i);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(dialog.nameFilters().constFirst(), c.firstFilter);
    }
}

// A name typed without a suffix gets the one of the chosen filter; the
// bitmap target is then written under that name.
TEST(PageHelp, ASavedNameWithoutSuffixTakesTheFiltersOne)
{
    const struct {
        const char* chosen;
        const char* suffix;
        const char* named;
    } names[] = {
        {"/d/pika2", "bmp", "/d/pika2.bmp"},
        {"/d.old/pika2", "bmp", "/d.old/pika2.bmp"},
        {"/d/pika2.dib", "bmp", "/d/pika2.dib"},
        {"/d/pika2", "", "/d/pika2"},
    };
    for (const auto& n : names)
        EXPECT_EQ(WithSuffix(n.chosen, n.suffix), n.named);

    TempDir dir;
    QtSettingsStore store(QString::fromStdString((dir / "settings.ini").string()));
    RecordingMessageSink messages;
    QtFileDialogs dialogs;
    CorePageWork work;
    Form1 f(store, messages, dialogs, work, [](const QUrl&) {});
    f.startUp();
    const QString picture = QString::fromStdString((dir / "pic.bmp").string());
    QImage quadrants(16, 16, QImage::Format_RGB32);
    for (int t = 0; t < 16; ++t)
        for (int x = 0; x < 16; ++x)
            quadrants.setPixel(x, t, 0xFF000000u | Quadrants(16, 16)(x, t));
    ASSERT_TRUE(quadrants.save(picture, "BMP"));
    f.ui().Combo1->setEditText(picture);
    for (int i = 0; i < 4; ++i)
        f.ui().Command2->click(); // 1 -> 8 -> 11 -> 3 -> 4
    ASSERT_EQ(f.state().CurrentPage, 4);
    f.ui().Combo2->setEditText(QString::fromStdString((dir / "start").string()));
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectNameFilter(qtFilterList(Form1::targetFilter()).at(1));
        dialog->selectFile(QStringLiteral("pika2"));
        QMetaObject::invokeMethod(dialog, "accept"); // as the Save button does
    });
    f.BrowseTarget();
    EXPECT_EQ(f.ui().Combo2->currentText(), QString::fromStdString((dir / "pika2.bmp").string()));
    f.ui().Command2->click();
    EXPECT_EQ(f.state().CurrentPage, 7) << (messages.messages.empty() ? "" : messages.messages[0].text.toStdString());
    EXPECT_EQ(QImage(QString::fromStdString((dir / "pika2.bmp").string())).size(), QSize(16, 16));
    EXPECT_FALSE(std::filesystem::exists(dir / "pika2"));
}

// Page 8's lists show each colour beside its text; "Farbe 1" and "Farbe 2"
// follow the colours chosen.
TEST(PageHelp, TheColourListsShowASwatchOfEachColour)
{
    CoreHarness h;
    Form1& f = h.start();
    h.open(h.picture("pic.bmp", 16, 16, Quadrants(16, 16)));
    ASSERT_EQ(h.pages(), Pages{8});
    const Form1Controls& c = f.ui();
    const auto swatches = [](QComboBox* box) {
        std::vector<std::pair<QString, Colour>> items;
        for (int i = 0; i < box->count(); ++i) {
            const QImage icon = box->itemIcon(i).pixmap(box->iconSize()).toImage();
            items.emplace_back(box->itemText(i), icon.isNull() ? 0xBADu : icon.pixel(icon.rect().center()) & 0xFFFFFF);
        }
        return items;
    };
    using Items = std::vector<std::pair<QString, Colour>>;
    const Items colours{{"FF0000", 0xFF0000}, {"0000FF", 0x0000FF}};
    EXPECT_EQ(swatches(c.Combo3), colours);
    EXPECT_EQ(swatches(c.Combo4), colours);
    EXPECT_EQ(swatches(c.Combo5),
              (Items{{"Schwarz", 0}, {"Weiß", 0xFFFFFF}, {"Farbe 1", 0xFF0000}, {"Farbe 2", 0x0000FF}}));
    f.selectItem(c.Combo3, 1);
    EXPECT_EQ(swatches(c.Combo5)[2], (std::pair<QString, Colour>{"Farbe 1", 0x0000FF}));
    f.selectItem(c.Combo3, 0);
    f.selectItem(c.Combo5, 3);
    saveScreen(f, "page08-swatches.png");
    c.Combo3->showPopup();
    QDir().mkpath(QStringLiteral(ORV_SCREENS_DIR));
    EXPECT_TRUE(c.Combo3->view()->window()->grab().save(QStringLiteral(ORV_SCREENS_DIR "/page08-swatch-list.png")));
    c.Combo3->hidePopup();
}

TEST(PageHelp, TheQuestionAsksInGermanAndDefaultsToNo)
{
    QWidget parent;
    BoxMessageSink sink(&parent);
    QStringList buttons;
    bool defaultNo = false;
    QTimer::singleShot(0, [&] {
        auto* box = parent.findChild<QMessageBox*>();
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons())
            buttons << b->text();
        defaultNo = box->defaultButton() == box->button(QMessageBox::No);
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(sink.ask({"Trotzdem schreiben?", "Orvista", MessageIcon::Warning}));
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"&Ja", "&Nein"}));
    EXPECT_TRUE(defaultNo);
}

// The first and last rows with ink inside r of the image.
std::pair<int, int> inkRows(const QImage& image, QRect r)
{
    const QRgb paper = image.pixel(r.left(), r.top());
    int first = -1, last = -1;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < qGray(paper) - 80) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    return {first, last};
}

TEST(PageHelp, ThePaletteStandsOnTheLineOfItsLabel)
{
    CoreHarness h;
    Form1& f = h.start();
    h.open(h.picture("pic.bmp", 16, 16, Quadrants(16, 16)));
    h.next();
    h.next();
    ASSERT_EQ(h.pages(), Pages{3});
    const Form1Controls& c = f.ui();
    ASSERT_FALSE(c.Text5->text().isEmpty());
    const QImage image = c.Frame3->grab().toImage();
    const auto label = inkRows(image, c.Label14->geometry());
    const auto value = inkRows(image, c.Text5->geometry());
    ASSERT_GE(label.first, 0);
    ASSERT_GE(value.first, 0);
    // Digits and letters share a baseline; the label's "P" and the value's digits are one line high.
    EXPECT_LE(std::abs(label.second - value.second), 1) << label.second << " vs " << value.second;
    saveScreen(f, "help-page03.png");
}

} // namespace
} // namespace orv::test
