#include "up_down.h"

#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "number_text.h"

namespace orv {

UpDown::UpDown(QLineEdit* buddy, int64_t minimum, int64_t maximum, int64_t value, QWidget* parent)
    : QWidget(parent), buddy_(buddy), up_(new QToolButton(this)), down_(new QToolButton(this)),
      minimum_(minimum), maximum_(maximum), value_(value)
{
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, [this] { stepFromText(1); });
    connect(down_, &QToolButton::clicked, this, [this] { stepFromText(-1); });
}

void UpDown::stepFromText(int steps)
{
    if (!buddy_) {
        stepBy(steps);
        return;
    }
    // From the number typed, brought into the range; a number typed in hex
    // stays in hex.
    const QString typed = buddy_->text().trimmed();
    const bool hex = typed.startsWith(QLatin1String("&H"), Qt::CaseInsensitive);
    setValue(clamp(ParseTypedNumber(typed.toStdString())) + stepSize(steps));
    buddy_->setText(hex ? QStringLiteral("&H") + QString::number(value_, 16).toUpper() : QString::number(value_));
}

bool UpDown::inRange(int64_t v) const
{
    return v >= std::min(minimum_, maximum_) && v <= std::max(minimum_, maximum_);
}

int64_t UpDown::clamp(int64_t v) const
{
    return std::clamp(v, std::min(minimum_, maximum_), std::max(minimum_, maximum_));
}

void UpDown::setRange(int64_t minimum, int64_t maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
    setValue(value_);
}

void UpDown::setValue(int64_t v)
{
    v = clamp(v);
    if (v == value_)
        return;
    value_ = v;
    if (buddy_)
        buddy_->setText(QString::number(v));
    emit valueChanged(v);
}

int64_t UpDown::stepSize(int steps) const
{
    const int64_t direction = maximum_ >= minimum_ ? 1 : -1;
    return direction * steps * increment_;
}

void UpDown::stepBy(int steps)
{
    setValue(value_ + stepSize(steps));
}

std::expected<int64_t, UpDown::OutOfRange> UpDown::storeText()
{
    const long long typed = buddy_ ? ParseTypedNumber(buddy_->text().toStdString()) : value_;
    if (!inRange(typed))
        return std::unexpected(OutOfRange{typed});
    setValue(typed);
    if (buddy_)
        buddy_->setText(QString::number(typed));
    return typed;
}

void UpDown::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

} // namespace orv
