#include "preview_geometry.h"

#include <algorithm>

namespace orv {

PreviewLayout LayoutPreview(uint8_t flags, int picWidth, int picHeight, int scrollWidthV, int scrollWidthH,
                            int border)
{
    PreviewLayout layout;
    if ((flags & (kPreviewWide | kPreviewTall)) == 0)
        return layout;
    layout.viewport = true;
    layout.outerWidth = (flags & kPreviewBig) ? kBigViewportWidth : kViewportSide;
    layout.outerHeight = kViewportSide;
    border = std::clamp(border, 0, kViewportSide / 2);
    layout.innerWidth = layout.outerWidth - 2 * border;
    layout.innerHeight = layout.outerHeight - 2 * border;

    const int v = std::clamp(scrollWidthV, 0, layout.innerWidth);
    const int h = std::clamp(scrollWidthH, 0, layout.innerHeight);
    const int visibleWidth = layout.innerWidth - v, visibleHeight = layout.innerHeight - h;
    layout.vBar = {visibleWidth, 0, v, visibleHeight};
    layout.hBar = {0, visibleHeight, visibleWidth, h};
    layout.corner = {visibleWidth, visibleHeight, v, h};
    layout.vMax = picHeight - visibleHeight;
    layout.hMax = picWidth - visibleWidth;
    return layout;
}

int ScrollThickness(long long stored)
{
    return static_cast<int>(std::clamp<long long>(stored, 0, kViewportSide - 2 * kViewportBorder));
}

int ClampScroll(int value, int maximum)
{
    return maximum >= 0 ? std::clamp(value, 0, maximum) : std::clamp(value, maximum, 0);
}

int DragScroll(int value, int dragStart, int pointer, int maximum)
{
    const long long moved = static_cast<long long>(value) + dragStart - pointer;
    return ClampScroll(static_cast<int>(std::clamp<long long>(moved, INT32_MIN, INT32_MAX)), maximum);
}

} // namespace orv
