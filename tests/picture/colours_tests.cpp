#include <gtest/gtest.h>

#include "colours.h"
#include "picture_fixtures.h"

namespace orv {
namespace {

using namespace test;

TEST(CollectColours, ColumnsLeftToRightEachFromTheBottomUp)
{
    // Left column: red at the bottom, green at the top; right column: blue
    // at the bottom, red again at the top. A row-wise scan would list blue
    // before green.
    const WorkingPicture picture = MakePicture(2, 2, [](int x, int t) {
        if (x == 0)
            return t == 1 ? kRed : kGreen;
        return t == 1 ? kBlue : kRed;
    });
    const auto colours = CollectColours(picture);
    ASSERT_TRUE(colours);
    EXPECT_EQ(*colours, (std::vector<Colour>{kRed, kGreen, kBlue}));
}

TEST(CollectColours, SkipsBlackAndWhite)
{
    const WorkingPicture picture = MakePicture(8, 8, [](int x, int t) { return (x + t) % 2 ? kBlack : kWhite; });
    const auto colours = CollectColours(picture);
    ASSERT_TRUE(colours);
    EXPECT_TRUE(colours->empty());
}

TEST(CollectColours, AcceptsTwoHundredFiftyFiveAndRefusesMore)
{
    // Colours 1..n in a 16-pixel-wide picture, black in the remaining pixels.
    auto picture = [](int count) {
        return MakePicture(16, 17, [count](int x, int t) {
            const int i = t * 16 + x;
            return i < count ? static_cast<Colour>(0x010000 + i) : kBlack;
        });
    };
    const auto fits = CollectColours(picture(255));
    ASSERT_TRUE(fits);
    EXPECT_EQ(fits->size(), 255u);

    const auto tooMany = CollectColours(picture(256));
    ASSERT_FALSE(tooMany);
    EXPECT_EQ(tooMany.error().message,
              "Das Bild enthält mehr als 255 Farben außer Schwarz und Weiß. Bitte verringern Sie die Anzahl der "
              "Farben und laden Sie das Bild erneut.");
}

TEST(ShadeIndex, RestColoursFollowTheSubstituteChoice)
{
    const Colour colour1 = kYellow, colour2 = kBlue, other = kRed;
    struct Case {
        int substituteIndex; // "Schwarz", "Weiß", "Farbe 1", "Farbe 2"
        int shade;
    };
    for (const Case c : {Case{0, 3}, Case{1, 0}, Case{2, 1}, Case{3, 2}}) {
        const Palette palette{kWhite, colour1, colour2, kBlack,
                              *SubstituteColour(c.substituteIndex, colour1, colour2)};
        EXPECT_EQ(ShadeIndex(palette, other), c.shade) << kSubstituteTexts[c.substituteIndex];
        EXPECT_EQ(ShadeIndex(palette, kWhite), 0);
        EXPECT_EQ(ShadeIndex(palette, colour1), 1);
        EXPECT_EQ(ShadeIndex(palette, colour2), 2);
        EXPECT_EQ(ShadeIndex(palette, kBlack), 3);
    }
}

TEST(ShadeIndex, SameColourTwiceAndUnmatchedSubstitute)
{
    EXPECT_EQ(ShadeIndex({kWhite, kRed, kRed, kBlack, kBlack}, kRed), 1);
    // A substitute that is none of the four shades ends at shade 0.
    const Palette stale{kWhite, kYellow, kBlue, kBlack, kGreen};
    EXPECT_EQ(ShadeIndex(stale, kRed), 0);
    EXPECT_EQ(ShadeIndex(stale, kGreen), 0);
    EXPECT_EQ(ShadeIndex(stale, kBlue), 2);
}

TEST(ColourOverrideIndex, KeepsTheFourItemsAndTakesBlackOtherwise)
{
    const std::pair<long long, int> cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {-1, 0}, {4, 0}, {1LL << 40, 0}};
    for (const auto& [stored, index] : cases)
        EXPECT_EQ(ColourOverrideIndex(stored), index) << stored;
    EXPECT_FALSE(SubstituteColour(4, kRed, kGreen));
    EXPECT_FALSE(SubstituteColour(-1, kRed, kGreen));
}

TEST(ApplyColourMapping, SetsPaletteRawLengthAndText)
{
    const ColourMapping mapping = ApplyColourMapping(
        {{0x123456, 0, 0, 0x654321, 0}, kYellow, kBlue, kYellow, 96, 48});
    EXPECT_EQ(mapping.palette, (Palette{kWhite, kYellow, kBlue, kBlack, kYellow}));
    EXPECT_EQ(mapping.rawLength, 96 * 12);
    EXPECT_EQ(mapping.paletteText, "FF03007C");
}

TEST(ApplyColourMapping, ListsWithoutSelectionKeepTheirEntries)
{
    const Palette before{kWhite, kRed, kGreen, kBlack, kBlue};
    const ColourMapping mapping = ApplyColourMapping({before, kYellow, std::nullopt, std::nullopt, 8, 10});
    EXPECT_EQ(mapping.palette, (Palette{kWhite, kYellow, kGreen, kBlack, kBlue}));
    EXPECT_EQ(mapping.rawLength, 8 * 2);
    EXPECT_EQ(mapping.paletteText, "FF03E003");
}

TEST(ColourText, ItemTextAndRedBlueSwap)
{
    EXPECT_EQ(ColourItemText(0x0000FF), "0000FF");
    EXPECT_EQ(ColourItemText(0xABCDEF), "ABCDEF");
    EXPECT_EQ(ColourItemText(0x0A0B0C), "0A0B0C");
    EXPECT_EQ(SwapRedBlue(0x123456), 0x563412u);
    EXPECT_EQ(SwapRedBlue(0xFF123456), 0xFF563412u);
    EXPECT_EQ(SwapRedBlue(SwapRedBlue(0x00ABCDEF)), 0x00ABCDEFu);
}

} // namespace
} // namespace orv
