#include "option_group.h"

#include <QRadioButton>

namespace orv {

OptionGroup::OptionGroup(const QString& name, QObject* parent) : QButtonGroup(parent)
{
    setObjectName(name);
    setExclusive(true);
}

void OptionGroup::add(QRadioButton* button)
{
    addButton(button);
}

void OptionGroup::choose(QRadioButton* button)
{
    button->setChecked(true);
}

void OptionGroup::clear()
{
    // An exclusive group refuses to uncheck its chosen button.
    setExclusive(false);
    for (QAbstractButton* b : buttons())
        b->setChecked(false);
    setExclusive(true);
}

QRadioButton* OptionGroup::chosen() const
{
    return qobject_cast<QRadioButton*>(checkedButton());
}

} // namespace orv
