// The wizard and orvista-cli, given the same picture, ROM and choices, write
// the same bytes.

#include <QComboBox>
#include <sstream>

#include "cli.h"
#include "wizard_harness.h"

namespace orv::test {
namespace {

struct Choices {
    QString colour1, colour2; // empty: the wizard's preselection
    int others = -1;          // Combo5 index; -1 leaves it
    bool horizontal = false, lightDark = false, blackWhite = false;
    int number = 7;
    bool back = false, shiny = false, deleteOld = false;
    QString name; // empty: the name stays
    std::vector<std::string> cli;
};

// Stripes of red, blue, green and yellow on white, with black dots.
Colour Stripes(int x, int t)
{
    if ((x + t) % 11 == 0)
        return kBlack;
    constexpr Colour colours[] = {kWhite, 0xFF0000, 0x0000FF, 0x00FF00, 0xFFFF00};
    return colours[(x / 5 + t / 7) % 5];
}

// The 48 x 40 picture is no shape the games draw: page 6 asks, and the Yes
// matches the command line's --any-shape.
void RunWizard(CoreHarness& h, const QString& picture, const QString& rom, const Choices& k)
{
    const Form1Controls& c = h.start().ui();
    h.messages.answer = true;
    h.open(picture); // page 8
    if (!k.colour1.isEmpty())
        c.Combo3->setCurrentIndex(c.Combo3->findText(k.colour1));
    if (!k.colour2.isEmpty())
        c.Combo4->setCurrentIndex(c.Combo4->findText(k.colour2));
    if (k.others >= 0)
        c.Combo5->setCurrentIndex(k.others);
    h.next(); // page 11
    if (k.horizontal)
        c.OptionButton11->setChecked(true);
    c.Check3->setChecked(k.lightDark);
    c.Check14->setChecked(k.blackWhite);
    h.next(); // page 3
    h.next(); // page 4
    h.saveTo(rom); // page 5, offset found by the search
    Tick({c.Check4});
    c.Check11->setChecked(!k.name.isEmpty());
    h.next(); // page 6
    c.Text3->setText(QString::number(k.number));
    (k.back ? c.OptionButton4 : c.OptionButton3)->setChecked(true);
    (k.shiny ? c.OptionButton6 : c.OptionButton5)->setChecked(true);
    c.Check6->setChecked(k.deleteOld);
    h.next(); // page 9, or 7 without a name
    if (!k.name.isEmpty()) {
        c.OptionButton8->setChecked(true);
        c.Text10->setText(k.name);
        h.next();
    }
    ASSERT_EQ(h.pages(), Pages{7});
    ASSERT_EQ(h.messages.messages.size(), 1u);
    ASSERT_EQ(h.messages.questions, 1) << h.messages.messages[0].text.toStdString();
}

TEST(CliParity, TheSameChoicesWriteTheSameRom)
{
    const Choices scenarios[] = {
        {.cli = {"--pokemon", "7", "--any-shape"}},
        {.colour1 = "0000FF",
         .colour2 = "FFFF00",
         .others = 1,
         .horizontal = true,
         .lightDark = true,
         .blackWhite = true,
         .number = 25,
         .back = true,
         .shiny = true,
         .deleteOld = true,
         .name = "NEU",
         .cli = {"--pokemon", "25", "--back", "--shiny", "--delete-old", "--any-shape", "--name", "NEU",
                 "--colour1", "0000FF", "--colour2", "FFFF00", "--others", "white", "--order", "horizontal",
                 "--exchange-light-dark", "--exchange-black-white"}},
    };
    for (const Choices& k : scenarios) {
        const SyntheticRom content = SyntheticRom::Standard('E');
        CoreHarness h;
        const QString picture = h.picture("pic.bmp", 48, 40, Stripes);
        const QString byWizard = h.rom("wizard.gb", content), byCli = h.rom("cli.gb", content);
        RunWizard(h, picture, byWizard, k);

        std::vector<std::string> args{"insert", picture.toStdString(), byCli.toStdString()};
        args.insert(args.end(), k.cli.begin(), k.cli.end());
        std::ostringstream out, err;
        ASSERT_EQ(cli::RunCli(args, out, err), 0) << err.str();
        const auto written = ReadFileBytes(byWizard.toStdString());
        EXPECT_FALSE(ChangedOffsets(content.bytes, written).empty());
        EXPECT_EQ(ChangedOffsets(written, ReadFileBytes(byCli.toStdString())), std::vector<int64_t>{})
            << k.cli[1] << ": " << out.str();
    }
}

} // namespace
} // namespace orv::test
