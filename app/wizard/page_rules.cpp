#include "page_rules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "colour_swatch.h"
#include "form1_controls.h"
#include "option_group.h"
#include "picture_box.h"
#include "up_down.h"

namespace orv {

constexpr int64_t kUnownNumber = 201;

PageRules::PageRules(const Form1Controls& c, QObject* parent) : QObject(parent), c_(c)
{
    connect(c.Check4, &QCheckBox::toggled, this, &PageRules::Check4Clicked);
    connect(c.Check1, &QCheckBox::toggled, this, &PageRules::Check1Clicked);
    connect(c.Check7, &QCheckBox::toggled, this, &PageRules::Check7Clicked);
    connect(c.Check5, &QCheckBox::toggled, this, &PageRules::Check5Clicked);
    connect(c.Check8, &QCheckBox::toggled, this, &PageRules::Check8Clicked);
    connect(c.Check12, &QCheckBox::toggled, this, &PageRules::Check12Clicked);
    connect(c.Check13, &QCheckBox::toggled, this, &PageRules::Check13Clicked);
    for (QRadioButton* b : {c.OptionButton12, c.OptionButton13, c.OptionButton14})
        connect(b, &QRadioButton::toggled, this, &PageRules::CompressionChoiceChanged);
    connect(c.Combo3, &QComboBox::currentIndexChanged, this, &PageRules::Combo3Chosen);
    connect(c.Combo4, &QComboBox::currentIndexChanged, this, &PageRules::Combo4Chosen);
    connect(c.Combo5, &QComboBox::currentIndexChanged, this, &PageRules::Combo5Chosen);
    // Typing a name chooses it; the program's own changes of the text do not.
    connect(c.Text10, &QLineEdit::textEdited, this, [this] { c_.NAMESEL->choose(c_.OptionButton8); });
}

void PageRules::Check4Clicked()
{
    if (c_.Check4->isChecked())
        c_.Check1->setEnabled(true);
    else
        c_.Check11->setChecked(false);
}

void PageRules::unownTicked(bool ticked, QString& remembered, QLineEdit* field, UpDown* spin)
{
    field->setEnabled(!ticked);
    spin->setEnabled(!ticked);
    if (ticked) {
        remembered = field->text();
        spin->setValue(kUnownNumber);
        field->setText(QString::number(kUnownNumber));
    } else {
        field->setText(remembered);
        (void)spin->storeText();
    }
}

void PageRules::Check1Clicked()
{
    unownTicked(c_.Check1->isChecked(), unownNumberA_, c_.Text1, c_.UpDown1);
}

void PageRules::Check5Clicked()
{
    unownTicked(c_.Check5->isChecked(), unownNumberB_, c_.Text3, c_.UpDown3);
}

void PageRules::Check7Clicked()
{
    const bool on = !c_.Check7->isChecked();
    if (!c_.Check1->isChecked()) {
        c_.Text1->setEnabled(on);
        c_.UpDown1->setEnabled(on);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{c_.Text2, c_.UpDown2, c_.OptionButton1, c_.OptionButton2,
                                                      c_.Check1, c_.Check2})
        w->setEnabled(on);
}

void PageRules::Check8Clicked()
{
    const bool on = !c_.Check8->isChecked();
    if (!c_.Check5->isChecked()) {
        c_.Text3->setEnabled(on);
        c_.UpDown3->setEnabled(on);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{c_.Label18, c_.UpDown5, c_.OptionButton3, c_.OptionButton4,
                                                      c_.OptionButton5, c_.OptionButton6, c_.Check5})
        w->setEnabled(on);
}

void PageRules::Check12Clicked()
{
    const bool byOffset = !c_.Check12->isChecked();
    c_.Text12->setEnabled(byOffset);
    c_.UpDown9->setEnabled(byOffset);
    c_.Check13->setEnabled(byOffset);
    Check13Clicked();
}

void PageRules::Check13Clicked()
{
    const bool sized = c_.Check13->isChecked();
    c_.Text13->setEnabled(sized);
    c_.Text14->setEnabled(sized);
}

void PageRules::CompressionChoiceChanged()
{
    const bool retain = c_.OptionButton12->isChecked();
    c_.Check3->setEnabled(!retain);
    c_.Check14->setEnabled(!retain);
}

static uint32_t itemColour(const QComboBox* box, int index)
{
    return static_cast<uint32_t>(box->itemData(index).toLongLong()) & 0xFFFFFF;
}

// A colour chosen in Combo3 or Combo4 shows in its swatch and becomes the
// item data of its "Farbe" entry in Combo5 (index 2 or 3).
void PageRules::colourChosen(QComboBox* box, PictureBox* swatch, int substituteIndex)
{
    const int i = box->currentIndex();
    if (i < 0)
        return;
    const uint32_t colour = itemColour(box, i);
    swatch->setBackColour(colour);
    c_.Combo5->setItemData(substituteIndex, qlonglong{colour});
    ShowColourSwatch(c_.Combo5, substituteIndex);
    if (c_.Combo5->currentIndex() == substituteIndex)
        c_.Picture5->setBackColour(colour);
}

void PageRules::Combo3Chosen()
{
    colourChosen(c_.Combo3, c_.Picture3, 2);
}

void PageRules::Combo4Chosen()
{
    colourChosen(c_.Combo4, c_.Picture4, 3);
}

void PageRules::Combo5Chosen()
{
    const int i = c_.Combo5->currentIndex();
    if (i >= 0)
        c_.Picture5->setBackColour(itemColour(c_.Combo5, i));
}

void PageRules::setPage11ChoicesForRom(bool pointerTables)
{
    c_.OptionButton10->setEnabled(!pointerTables);
    c_.OptionButton11->setEnabled(!pointerTables);
    c_.OptionButton12->setEnabled(true);
    if (pointerTables)
        c_.TileOrder->choose(c_.OptionButton10);
}

void PageRules::setPage11ChoicesForPicture()
{
    c_.OptionButton10->setEnabled(true);
    c_.OptionButton11->setEnabled(true);
    c_.OptionButton12->setEnabled(false);
}

void PageRules::copyExtractionChoices()
{
    if (c_.OptionButton1->isChecked())
        c_.P5A->choose(c_.OptionButton3);
    else if (c_.OptionButton2->isChecked())
        c_.P5A->choose(c_.OptionButton4);
    else
        c_.P5A->clear();
    c_.P5B->choose(c_.Check2->isChecked() ? c_.OptionButton6 : c_.OptionButton5);
}

} // namespace orv
