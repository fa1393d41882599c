#include <gtest/gtest.h>

#include "preview_geometry.h"

namespace orv {
namespace {

TEST(PreviewFlags, SizeFlagsAndBigPreviewSetting)
{
    const std::tuple<uint8_t, int, int, uint8_t> cases[] = {
        {kPreviewWide | kPreviewTall, 80, 80, 0},
        {0, 81, 80, kPreviewWide},
        {kPreviewBig, 88, 40, kPreviewBig | kPreviewWide},
        {kPreviewBig | kPreviewWide, 40, 96, kPreviewBig | kPreviewTall},
    };
    for (const auto& [before, width, height, after] : cases)
        EXPECT_EQ(WithSizeFlags(before, width, height), after) << width << " x " << height;
    for (const auto& [stored, flags] : {std::pair{0LL, 0}, std::pair{4LL, 4}, std::pair{5LL, 4}, std::pair{3LL, 0}})
        EXPECT_EQ(FlagsFromBigPreviewSetting(stored), flags) << stored;
    EXPECT_EQ(BigPreviewSetting(kPreviewBig | kPreviewWide), 4);
    EXPECT_EQ(BigPreviewSetting(kPreviewWide), 0);
}

TEST(LayoutPreview, DirectOrViewport)
{
    EXPECT_FALSE(LayoutPreview(WithSizeFlags(kPreviewBig, 80, 80), 80, 80, 9, 9).viewport);

    // 88 x 40: the viewport opens, the picture is lower than the view.
    const PreviewLayout layout = LayoutPreview(WithSizeFlags(0, 88, 40), 88, 40, 9, 9);
    ASSERT_TRUE(layout.viewport);
    EXPECT_EQ(layout.outerWidth, 89);
    EXPECT_EQ(layout.outerHeight, 89);
    EXPECT_EQ(layout.innerWidth, 87);
    EXPECT_EQ(layout.vMax, 40 - 78);
    EXPECT_EQ(layout.hMax, 88 - 78);
    // The defaults (9, 9): bars span inner size - 9, the corner sits between them.
    EXPECT_EQ(layout.vBar, (PreviewRect{78, 0, 9, 78}));
    EXPECT_EQ(layout.hBar, (PreviewRect{0, 78, 78, 9}));
    EXPECT_EQ(layout.corner, (PreviewRect{78, 78, 9, 9}));
}

TEST(LayoutPreview, CornerToggleWidensByTwoHundred)
{
    const uint8_t small = kPreviewWide | kPreviewTall, big = ToggleBigPreview(small);
    EXPECT_EQ(ToggleBigPreview(big), small);
    const PreviewLayout before = LayoutPreview(small, 300, 100, 9, 9);
    const PreviewLayout after = LayoutPreview(big, 300, 100, 9, 9);
    EXPECT_EQ(after.outerWidth, 289);
    EXPECT_EQ(after.hMax, before.hMax - 200);
    EXPECT_EQ(after.vMax, before.vMax);
    EXPECT_EQ(after.corner.left, before.corner.left + 200);
}

TEST(LayoutPreview, ScrollWidthsAndBorder)
{
    const PreviewLayout layout = LayoutPreview(kPreviewTall, 40, 120, 15, 9);
    EXPECT_EQ(layout.vBar, (PreviewRect{72, 0, 15, 78}));
    EXPECT_EQ(layout.hBar, (PreviewRect{0, 78, 72, 9}));
    EXPECT_EQ(layout.corner, (PreviewRect{72, 78, 15, 9}));

    EXPECT_EQ(LayoutPreview(kPreviewWide, 100, 40, 9, 9, 0).hMax, 100 - 80);
    // Thicknesses beyond the inner size never give negative rectangles.
    const PreviewLayout huge = LayoutPreview(kPreviewWide, 100, 40, 500, -4);
    EXPECT_EQ(huge.vBar, (PreviewRect{0, 0, 87, 87}));
    EXPECT_EQ(huge.hBar, (PreviewRect{0, 87, 0, 0}));
    EXPECT_EQ(ScrollThickness(500), 87);
    EXPECT_EQ(ScrollThickness(-3), 0);
}

TEST(Scrolling, ClampAndDrag)
{
    const std::tuple<int, int, int> clamps[] = {{-3, 10, 0}, {12, 10, 10}, {-50, -38, -38}, {5, -38, 0}, {-20, -38, -20}};
    for (const auto& [value, maximum, clamped] : clamps)
        EXPECT_EQ(ClampScroll(value, maximum), clamped) << value << " in " << maximum;
    // Dragged 10 pixels to the left: the value grows by 10, up to the maximum.
    EXPECT_EQ(DragScroll(0, 50, 40, 42), 10);
    EXPECT_EQ(DragScroll(35, 50, 40, 42), 42);
    // Dragged to the right at value 0: stays 0.
    EXPECT_EQ(DragScroll(0, 50, 60, 42), 0);
    EXPECT_EQ(DragScroll(0, 10, 90, -38), -38);
}

} // namespace
} // namespace orv
