#include "wrap_check_box.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace orv {

int WrapCheckBox::textFlags() const
{
    return Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
}

QRect WrapCheckBox::textRect(int width) const
{
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
    const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
    const int left = indicator + spacing + 2;
    return QRect(left, 0, std::max(1, width - left), 10000);
}

int WrapCheckBox::heightForWidth(int width) const
{
    const QRect bounds = fontMetrics().boundingRect(textRect(width), textFlags(), text());
    return std::max(bounds.height(), style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this));
}

QSize WrapCheckBox::sizeHint() const
{
    const QSize single = QCheckBox::sizeHint();
    return {single.width(), heightForWidth(single.width())};
}

void WrapCheckBox::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const int lineHeight = fontMetrics().height();
    QStyleOptionButton indicator = option;
    indicator.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    indicator.rect.moveTop((lineHeight - indicator.rect.height()) / 2);
    p.drawPrimitive(QStyle::PE_IndicatorCheckBox, indicator);
    const QRect area = textRect(width()).intersected(rect());
    style()->drawItemText(&p, area, textFlags(), option.palette, isEnabled(), text(), QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics().boundingRect(area, textFlags(), text()).adjusted(-1, 0, 1, 0);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace orv
