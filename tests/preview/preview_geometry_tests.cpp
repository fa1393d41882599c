#include <gtest/gtest.h>

#include "preview_geometry.h"

namespace orv {
namespace {

TEST(PreviewFlags, SizeFlagsFromThePicture)
{
    struct Case {
        uint8_t before;
        int width, height;
        uint8_t after;
    };
    const Case cases[] = {
        {0, 80, 80, 0},
        {kPreviewWide | kPreviewTall, 80, 80, 0},
        {0, 81, 80, kPreviewWide},
        {kPreviewBig, 88, 40, kPreviewBig | kPreviewWide},
        {kPreviewBig | kPreviewWide, 40, 96, kPreviewBig | kPreviewTall},
        {0x80, 96, 96, 0x80 | kPreviewWide | kPreviewTall},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WithSizeFlags(c.before, c.width, c.height), c.after) << c.width << " x " << c.height;
}

TEST(LayoutPreview, SmallPictureShownDirectly)
{
    const PreviewLayout layout = LayoutPreview(WithSizeFlags(kPreviewBig, 80, 80), 80, 80, 9, 9);
    EXPECT_FALSE(layout.viewport);
}

TEST(LayoutPreview, WidePictureOpensViewportWithNegativeVerticalRange)
{
    const PreviewLayout layout = LayoutPreview(WithSizeFlags(0, 88, 40), 88, 40, 9, 9);
    ASSERT_TRUE(layout.viewport);
    EXPECT_EQ(layout.outerWidth, 89);
    EXPECT_EQ(layout.outerHeight, 89);
    EXPECT_EQ(layout.innerWidth, 87);
    EXPECT_EQ(layout.innerHeight, 87);
    EXPECT_EQ(layout.vMax, 40 - 78);
    EXPECT_EQ(layout.hMax, 88 - 78);
}

TEST(LayoutPreview, BarsAndCornerWithDefaults)
{
    const PreviewLayout layout = LayoutPreview(kPreviewWide | kPreviewTall, 120, 100, 9, 9);
    EXPECT_EQ(layout.vBar, (PreviewRect{78, 0, 9, 78}));
    EXPECT_EQ(layout.hBar, (PreviewRect{0, 78, 78, 9}));
    EXPECT_EQ(layout.corner, (PreviewRect{78, 78, 9, 9}));
    EXPECT_EQ(layout.vMax, 22);
    EXPECT_EQ(layout.hMax, 42);
}

TEST(LayoutPreview, CornerToggleWidensByTwoHundred)
{
    const uint8_t small = kPreviewWide | kPreviewTall;
    const uint8_t big = ToggleBigPreview(small);
    EXPECT_EQ(big, small | kPreviewBig);
    EXPECT_EQ(ToggleBigPreview(big), small);

    const PreviewLayout before = LayoutPreview(small, 300, 100, 9, 9);
    const PreviewLayout after = LayoutPreview(big, 300, 100, 9, 9);
    EXPECT_EQ(after.outerWidth, 289);
    EXPECT_EQ(after.outerHeight, 89);
    EXPECT_EQ(after.hMax, before.hMax - 200);
    EXPECT_EQ(after.vMax, before.vMax);
    EXPECT_EQ(after.hBar.width, before.hBar.width + 200);
    EXPECT_EQ(after.corner.left, before.corner.left + 200);
    EXPECT_EQ(BigPreviewSetting(big), 4);
    EXPECT_EQ(BigPreviewSetting(small), 0);
}

TEST(LayoutPreview, ScrollWidthsOwnSettings)
{
    const PreviewLayout layout = LayoutPreview(kPreviewTall, 40, 120, 15, 9);
    EXPECT_EQ(layout.vBar, (PreviewRect{72, 0, 15, 78}));
    EXPECT_EQ(layout.hBar, (PreviewRect{0, 78, 72, 9}));
    EXPECT_EQ(layout.corner, (PreviewRect{72, 78, 15, 9}));
    EXPECT_EQ(layout.hMax, 40 - 72);
}

TEST(LayoutPreview, BorderAndOversizedBars)
{
    const PreviewLayout frameless = LayoutPreview(kPreviewWide, 100, 40, 9, 9, 0);
    EXPECT_EQ(frameless.innerWidth, 89);
    EXPECT_EQ(frameless.hMax, 100 - 80);

    const PreviewLayout huge = LayoutPreview(kPreviewWide, 100, 40, 500, -4);
    EXPECT_EQ(huge.vBar, (PreviewRect{0, 0, 87, 87}));
    EXPECT_EQ(huge.hBar, (PreviewRect{0, 87, 0, 0}));
    EXPECT_EQ(ScrollThickness(500), 87);
    EXPECT_EQ(ScrollThickness(-3), 0);
    EXPECT_EQ(ScrollThickness(15), 15);
}

TEST(Scrolling, ClampWithPositiveAndNegativeMaximum)
{
    const std::tuple<int, int, int> cases[] = {
        {5, 10, 5}, {-3, 10, 0}, {12, 10, 10}, {0, 0, 0},
        {-20, -38, -20}, {-50, -38, -38}, {5, -38, 0},
    };
    for (const auto& [value, maximum, clamped] : cases)
        EXPECT_EQ(ClampScroll(value, maximum), clamped) << value << " in " << maximum;
}

TEST(Scrolling, DragMovesThePictureWithThePointer)
{
    // Dragged 10 pixels to the left: the value grows by 10.
    EXPECT_EQ(DragScroll(0, 50, 40, 42), 10);
    EXPECT_EQ(DragScroll(35, 50, 40, 42), 42);
    // Dragged to the right at value 0: stays 0.
    EXPECT_EQ(DragScroll(0, 50, 60, 42), 0);
    EXPECT_EQ(DragScroll(20, 50, 60, 42), 10);
    // A picture smaller than the view scrolls between 0 and its negative maximum.
    EXPECT_EQ(DragScroll(0, 10, 30, -38), -20);
    EXPECT_EQ(DragScroll(0, 10, 90, -38), -38);
    EXPECT_EQ(PictureOffset(10), -10);
}

TEST(BigPreviewSetting, StoredAndRead)
{
    const std::pair<long long, uint8_t> cases[] = {{0, 0}, {4, kPreviewBig}, {5, kPreviewBig}, {3, 0}, {-1, kPreviewBig}};
    for (const auto& [stored, flags] : cases)
        EXPECT_EQ(FlagsFromBigPreviewSetting(stored), flags) << stored;
    EXPECT_EQ(BigPreviewSetting(kPreviewBig | kPreviewWide), 4);
}

} // namespace
} // namespace orv
