#pragma once
// Geometry of page 3's preview: a picture up to 80 x 80 is shown directly;
// a larger one in a viewport with two scroll bars and a corner button that
// widens it. All in pixels, relative to the viewport's inner area.

#include <cstdint>

#include "preview_flags.h"

namespace orv {

constexpr int kViewportSide = 89;     // outer width (small) and height
constexpr int kBigViewportWidth = 289; // outer width with the big preview
constexpr int kViewportBorder = 1;    // frame on each side
constexpr int kDefaultScrollWidth = 9; // "VScrollWidth", "HScrollWidth"

struct PreviewRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PreviewRect&) const = default;
};

struct PreviewLayout {
    bool viewport = false; // false: the picture surface is shown directly
    int outerWidth = 0;    // viewport size, frame included
    int outerHeight = 0;
    int innerWidth = 0; // W8: outer size less the frame on both sides
    int innerHeight = 0; // H8
    PreviewRect vBar;   // along the right edge, above the corner
    PreviewRect hBar;   // along the bottom edge, left of the corner
    PreviewRect corner; // toggles the big preview
    int vMax = 0;       // picture height - visible height; negative when it fits
    int hMax = 0;       // picture width - visible width
};

// Bar thicknesses beyond the viewport's inner size are cut to it (and
// negative ones to 0), so no rectangle gets a negative size.
PreviewLayout LayoutPreview(uint8_t flags, int picWidth, int picHeight, int scrollWidthV, int scrollWidthH,
                            int border = kViewportBorder);

// A stored bar thickness ("VScrollWidth", "HScrollWidth") cut to 0..87, the
// small viewport's inner size.
int ScrollThickness(long long stored);

// A scroll value within 0..maximum; for a negative maximum the range runs
// from 0 down to it.
int ClampScroll(int value, int maximum);

// New scroll value while dragging: the picture moves with the pointer, so
// the value grows by start - pointer; clamped to the bar's range.
int DragScroll(int value, int dragStart, int pointer, int maximum);

// Offset of the scrolled picture inside the viewport for a bar's value.
constexpr int PictureOffset(int scrollValue) { return -scrollValue; }

// A click on the corner button flips the big preview.
constexpr uint8_t ToggleBigPreview(uint8_t flags) { return flags ^ kPreviewBig; }

// "BigPreview" as stored ("0" or "4") and as read back.
constexpr int BigPreviewSetting(uint8_t flags) { return flags & kPreviewBig; }
constexpr uint8_t FlagsFromBigPreviewSetting(long long stored)
{
    return static_cast<uint8_t>(stored & kPreviewBig);
}

} // namespace orv
