#pragma once
// Page 3's preview on the window's controls: Picture1 for small pictures;
// for larger ones the viewport Picture8 with the scrolled copy Picture6, the
// two scroll bars, the corner button Picture7 and dragging with the mouse.

#include <QObject>

#include "preview_geometry.h"

class QScrollBar;

namespace orv {

class Form1;

class PreviewBinding : public QObject {
    Q_OBJECT
public:
    // The form's binding, created on first use. It moves the viewport's
    // children into a frameless inner area, so that they are placed and
    // clipped like the inside of a picture box.
    static PreviewBinding& of(Form1& form);

    void layout();
    // The layout last applied (no viewport before the first).
    const PreviewLayout& current() const { return layout_; }

    // A bar's range may run below 0 (a picture smaller than the visible
    // area): it then spans maximum .. 0 with its appearance inverted, so that
    // 0 still sits at the top or left end.
    static void setBarRange(QScrollBar* bar, int maximum);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit PreviewBinding(Form1& form);
    void drag(int x, int y);

    Form1& form_;
    QWidget* inner_;
    PreviewLayout layout_;
};

} // namespace orv
