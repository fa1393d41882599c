#pragma once
// Option buttons that exclude each other by group name, with a state in
// which none of them is chosen.

#include <QButtonGroup>
#include <QString>

class QRadioButton;

namespace orv {

class OptionGroup : public QButtonGroup {
    Q_OBJECT
public:
    OptionGroup(const QString& name, QObject* parent);

    void add(QRadioButton* button);
    void choose(QRadioButton* button);
    // Leaves no button of the group chosen.
    void clear();
    QRadioButton* chosen() const;
};

} // namespace orv
