#pragma once
// A check box whose caption wraps onto further lines when its box is tall
// enough, as the window's two-line check boxes show it.

#include <QCheckBox>

namespace orv {

class WrapCheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

private:
    QRect textRect(int width) const;
    int textFlags() const;
};

} // namespace orv
