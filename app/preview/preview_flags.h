#pragma once
// PreviewFlags: which way the picture exceeds the small preview, and whether
// the big preview is on.

#include <cstdint>

namespace orv {

constexpr uint8_t kPreviewWide = 1; // PicWidth > 80
constexpr uint8_t kPreviewTall = 2; // PicHeight > 80
constexpr uint8_t kPreviewBig = 4;  // viewport 289 pixels wide; stored as "BigPreview"

// Largest picture side shown directly, without the scrolling viewport.
constexpr int kDirectPreviewSide = 80;

// Sets the wide and tall flags for a picture size and keeps the others.
constexpr uint8_t WithSizeFlags(uint8_t flags, int picWidth, int picHeight)
{
    flags &= static_cast<uint8_t>(~(kPreviewWide | kPreviewTall));
    if (picWidth > kDirectPreviewSide)
        flags |= kPreviewWide;
    if (picHeight > kDirectPreviewSide)
        flags |= kPreviewTall;
    return flags;
}

} // namespace orv
