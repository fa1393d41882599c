#pragma once
// Every control of the main window, named as the window names them (each also
// carries that name as its Qt object name).

#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace orv {

class OptionGroup;
class PictureBox;
class UpDown;

struct Form1Controls {
    // Outside the pages.
    QPushButton *Command1, *Command2, *Command3;
    PictureBox *Picture1, *Picture2, *Picture8, *Picture6, *Picture7;
    QScrollBar *VScroll1, *HScroll1;

    QFrame *Frame1, *Frame2, *Frame3, *Frame4, *Frame5, *Frame6, *Frame7, *Frame8, *Frame9, *Frame10, *Frame11;

    // Page 1: source file.
    QLabel* Label1;
    QComboBox* Combo1;
    QPushButton *Command4, *Command7, *Command8;
    QCheckBox* Check9;
    QLabel* Label25;
    QLineEdit* Text11;
    UpDown* UpDown8;

    // Page 2: which game picture to extract.
    QLabel* Label2;
    QLineEdit *Text1, *Text2, *Text6;
    UpDown *UpDown1, *UpDown2, *UpDown6;
    QRadioButton *OptionButton1, *OptionButton2;
    QCheckBox *Check1, *Check7, *Check2;
    QLabel* SlotName2; // the chosen picture's name, above the number


    // Page 3: facts about the encoded picture.
    QLabel *Label3, *Label4, *Label5, *Label6, *Label14;
    QLabel *Label7, *Label8, *Label9, *Label10;
    QLineEdit* Text5;

    // Page 4: target file.
    QLabel* Label15;
    QComboBox* Combo2;
    QCheckBox* Check10;
    QPushButton *Command9, *Command5;

    // Page 5: where to write in the ROM.
    QCheckBox *Check4, *Check11;
    QLabel *Label16, *Label21, *Label17;
    QPushButton* Command6;
    QLineEdit* Text4;
    UpDown* UpDown4;

    // Page 6: which game picture to replace.
    QLabel* Label20;
    QLineEdit *Text3, *Label18, *Text7;
    UpDown *UpDown3, *UpDown5, *UpDown7;
    QCheckBox *Check5, *Check8, *Check6;
    QRadioButton *OptionButton3, *OptionButton4, *OptionButton5, *OptionButton6;
    QLabel* SlotName6; // as SlotName2

    // Page 7: success.
    QLabel *Label11, *Label19;

    // Page 8: colour mapping.
    QLabel *Label23, *Label13, *Label22;
    QComboBox *Combo3, *Combo4, *Combo5;
    PictureBox *Picture3, *Picture4, *Picture5;

    // Page 9: new name.
    QLabel* Label12;
    QRadioButton *OptionButton9, *OptionButton7, *OptionButton8;
    QLineEdit *Text8, *Text9, *Text10;

    // Page 10: what to extract.
    QCheckBox *Check12, *Check13;
    QLabel *Label27, *Label26, *Label24;
    QLineEdit *Text12, *Text13, *Text14;
    UpDown* UpDown9;

    // Page 11: tile order and compression.
    QLabel *Label28, *Label29;
    QRadioButton *OptionButton10, *OptionButton11, *OptionButton12, *OptionButton13, *OptionButton14;
    QCheckBox *Check3, *Check14;

    // Option button groups by group name.
    OptionGroup *TileOrder, *NewComp, *P2A, *P5A, *P5B, *NAMESEL;

    // Frame n for page n (1..11).
    QFrame* frame(int page) const
    {
        const std::array<QFrame*, 11> frames{Frame1, Frame2, Frame3, Frame4, Frame5, Frame6,
                                             Frame7, Frame8, Frame9, Frame10, Frame11};
        return page >= 1 && page <= 11 ? frames[static_cast<size_t>(page - 1)] : nullptr;
    }
};

} // namespace orv

class QWidget;

namespace orv {

// Creates every control in its design state on window.
void BuildForm1Controls(QWidget* window, Form1Controls& c);

} // namespace orv
