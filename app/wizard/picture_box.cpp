#include "picture_box.h"

#include <QApplication>
#include <QMouseEvent>

namespace orv {

PictureBox::PictureBox(QWidget* parent) : QLabel(parent)
{
    setAutoFillBackground(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureBox::setBackColour(uint32_t colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor::fromRgb(colour & 0xFFFFFF));
    setPalette(p);
}

void PictureBox::setButtonFace()
{
    QPalette p = palette();
    p.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    setPalette(p);
}

uint32_t PictureBox::backColour() const
{
    return palette().color(QPalette::Window).rgb() & 0xFFFFFF;
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

} // namespace orv
