#pragma once
// The small name labels of pages 2 and 6: the Pokemon's name from the ROM's
// name table beside the number, "Unown" and the letter for an Unown form,
// the trainer number alone; nothing while no names are known.

#include <QObject>
#include <QString>
#include <cstdint>
#include <vector>

namespace orv {

struct Form1Controls;

// What a label shows. names holds Pokemon 1 .. 251; the texts are the boxes'
// texts as typed; trainers run from 1 to trainerCount.
struct SlotChoice {
    bool trainer = false;
    bool unown = false;
    QString pokemon, unownIndex, trainerNumber;
    int64_t trainerCount = 0;
};
QString SlotCaption(const std::vector<QString>& names, const SlotChoice& choice);

class SlotNames : public QObject {
    Q_OBJECT
public:
    SlotNames(const Form1Controls& c, QObject* parent);

    // Names for page 2 (the source ROM) or page 6 (the target ROM); an empty
    // list clears the label.
    void setNames(int page, std::vector<QString> names);
    void update();

private:
    const Form1Controls& c_;
    std::vector<QString> source_, target_;
};

} // namespace orv
