#include "slot_names.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "form1_controls.h"
#include "number_text.h"
#include "up_down.h"

namespace orv {

namespace {

// The typed number when it lies in 1 .. max, else 0.
int typedNumber(const QString& text, int64_t max)
{
    const long long n = ParseTypedNumber(text.toStdString());
    return n >= 1 && n <= max ? static_cast<int>(n) : 0;
}

constexpr int kLetters = 26; // Unown A .. Z

} // namespace

QString SlotCaption(const std::vector<QString>& names, const SlotChoice& choice)
{
    if (names.empty())
        return {};
    if (choice.trainer) {
        const int n = typedNumber(choice.trainerNumber, choice.trainerCount);
        return n ? QStringLiteral("Trainer %1").arg(n) : QString();
    }
    if (choice.unown) {
        const int letter = typedNumber(choice.unownIndex, kLetters);
        return letter ? QStringLiteral("Unown %1").arg(QChar(u'A' + letter - 1)) : QStringLiteral("Unown");
    }
    const int n = typedNumber(choice.pokemon, static_cast<int>(names.size()));
    return n ? names[static_cast<size_t>(n - 1)] : QString();
}

SlotNames::SlotNames(const Form1Controls& c, QObject* parent) : QObject(parent), c_(c)
{
    for (QLineEdit* box : {c.Text1, c.Text2, c.Text6, c.Text3, c.Label18, c.Text7})
        connect(box, &QLineEdit::textChanged, this, &SlotNames::update);
    for (QCheckBox* box : {c.Check1, c.Check7, c.Check5, c.Check8})
        connect(box, &QCheckBox::toggled, this, &SlotNames::update);
}

void SlotNames::setNames(int page, std::vector<QString> names)
{
    (page == 2 ? source_ : target_) = std::move(names);
    update();
}

void SlotNames::update()
{
    c_.SlotName2->setText(SlotCaption(source_, {c_.Check7->isChecked(), c_.Check1->isChecked(), c_.Text1->text(),
                                                c_.Text2->text(), c_.Text6->text(), c_.UpDown6->maximum()}));
    c_.SlotName6->setText(SlotCaption(target_, {c_.Check8->isChecked(), c_.Check5->isChecked(), c_.Text3->text(),
                                                c_.Label18->text(), c_.Text7->text(), c_.UpDown7->maximum()}));
}

} // namespace orv
