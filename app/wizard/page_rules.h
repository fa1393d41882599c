#pragma once
// The click and selection rules of the pages' controls. They run on every
// change of state, by the user or by the program, as the window's own
// handlers do.

#include <QObject>
#include <QString>

class QComboBox;
class QLineEdit;

namespace orv {

struct Form1Controls;
class PictureBox;
class UpDown;

class PageRules : public QObject {
    Q_OBJECT
public:
    PageRules(const Form1Controls& c, QObject* parent);

    // Page 5.
    void Check4Clicked();
    // Page 2: Unown and trainer choice.
    void Check1Clicked();
    void Check7Clicked();
    // Page 6: Unown and trainer choice.
    void Check5Clicked();
    void Check8Clicked();
    // Page 10.
    void Check12Clicked();
    void Check13Clicked();
    // Page 11.
    void CompressionChoiceChanged();
    // Page 8.
    void Combo3Chosen();
    void Combo4Chosen();
    void Combo5Chosen();

    // Page 10's Next: the page-11 choices for a picture taken through the
    // pointer tables (vertical order, fixed) or at an offset.
    void setPage11ChoicesForRom(bool pointerTables);
    // Page 8's Next: tile order free, old compression data not available.
    void setPage11ChoicesForPicture();
    // End of page 2's work: front/back and palette choice carried to page 6.
    void copyExtractionChoices();

private:
    // A Pokemon number field that shows 201 while its Unown box is ticked.
    void unownTicked(bool ticked, QString& remembered, QLineEdit* field, UpDown* spin);
    void colourChosen(QComboBox* box, PictureBox* swatch, int substituteIndex);

    const Form1Controls& c_;
    QString unownNumberA_; // number shown on page 2 before 201
    QString unownNumberB_; // same on page 6
};

} // namespace orv
