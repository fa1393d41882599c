#include "colour_swatch.h"

#include <QComboBox>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace orv {

namespace {
constexpr int kSide = 12; // pixels, the lists' icon size
} // namespace

void ShowColourSwatch(QComboBox* list, int index)
{
    const auto colour = static_cast<QRgb>(list->itemData(index).toLongLong()) & 0xFFFFFF;
    QPixmap swatch(kSide, kSide);
    swatch.fill(QColor::fromRgb(colour));
    // A grey frame, so that white shows on a white list.
    QPainter painter(&swatch);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(0, 0, kSide - 1, kSide - 1);
    painter.end();
    list->setIconSize(QSize(kSide, kSide));
    list->setItemIcon(index, QIcon(swatch));
}

void ShowColourSwatches(QComboBox* list)
{
    for (int i = 0; i < list->count(); ++i)
        ShowColourSwatch(list, i);
}

} // namespace orv
