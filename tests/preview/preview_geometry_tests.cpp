#include <gtest/gtest.h>

#include "preview_geometry.h"

namespace orv {
namespace {

TEST(PreviewGeometry, DirectOrViewport)
{
    // A side over 80 opens the viewport.
    EXPECT_FALSE(LayoutPreview(WithSizeFlags(kPreviewBig, 80, 80), 80, 80, 9, 9).viewport);
    EXPECT_TRUE(LayoutPreview(WithSizeFlags(kPreviewBig, 80, 81), 80, 81, 9, 9).viewport);

    // 88 x 40 with the default bar widths (9, 9): lower than the view, so the vertical range is negative.
    // The size flags follow the picture; the others stay.
    EXPECT_EQ(WithSizeFlags(kPreviewBig | kPreviewTall, 88, 40), kPreviewBig | kPreviewWide);
    const PreviewLayout layout = LayoutPreview(WithSizeFlags(0, 88, 40), 88, 40, 9, 9);
    ASSERT_TRUE(layout.viewport);
    EXPECT_EQ(std::tuple(layout.outerWidth, layout.outerHeight, layout.innerWidth, layout.vMax, layout.hMax),
              std::tuple(89, 89, 87, -38, 10));
    EXPECT_EQ(std::tuple(layout.vBar, layout.hBar, layout.corner),
              std::tuple(PreviewRect{78, 0, 9, 78}, PreviewRect{0, 78, 78, 9}, PreviewRect{78, 78, 9, 9}));
}

TEST(PreviewGeometry, CornerToggleAndBarWidths)
{
    const uint8_t small = kPreviewWide | kPreviewTall, big = ToggleBigPreview(small);
    EXPECT_EQ(ToggleBigPreview(big), small);
    const PreviewLayout before = LayoutPreview(small, 300, 100, 9, 9), after = LayoutPreview(big, 300, 100, 9, 9);
    EXPECT_EQ(std::tuple(after.outerWidth, after.hMax, after.vMax, after.corner.left),
              std::tuple(289, before.hMax - 200, before.vMax, before.corner.left + 200));

    // "VScrollWidth" 15, "HScrollWidth" 9.
    const PreviewLayout wide = LayoutPreview(kPreviewTall, 40, 120, 15, 9);
    EXPECT_EQ(std::tuple(wide.vBar, wide.hBar, wide.corner),
              std::tuple(PreviewRect{72, 0, 15, 78}, PreviewRect{0, 78, 72, 9}, PreviewRect{72, 78, 15, 9}));
    // Widths beyond the inner size never give negative rectangles.
    const PreviewLayout huge = LayoutPreview(kPreviewWide, 100, 40, 500, -4);
    EXPECT_EQ(std::pair(huge.vBar, huge.hBar), std::pair(PreviewRect{0, 0, 87, 87}, PreviewRect{0, 87, 0, 0}));
}

TEST(PreviewGeometry, ClampAndDrag)
{
    const std::tuple<int, int, int> clamps[] = {{-3, 10, 0}, {12, 10, 10}, {-50, -38, -38}, {5, -38, 0}, {-20, -38, -20}};
    for (const auto& [value, maximum, clamped] : clamps)
        EXPECT_EQ(ClampScroll(value, maximum), clamped) << value << " in " << maximum;
    // The picture follows the pointer: 10 pixels to the left adds 10, up to the maximum.
    const std::tuple<int, int, int, int, int> drags[] = {
        {0, 50, 40, 42, 10}, {35, 50, 40, 42, 42}, {0, 50, 60, 42, 0}, {0, 10, 90, -38, -38}};
    for (const auto& [value, start, pointer, maximum, result] : drags)
        EXPECT_EQ(DragScroll(value, start, pointer, maximum), result) << value << " " << start << "->" << pointer;
}

} // namespace
} // namespace orv
