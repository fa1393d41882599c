#include <gtest/gtest.h>

#include "colours.h"
#include "picture_fixtures.h"

namespace orv {
namespace {

using namespace test;

TEST(CollectColours, ColumnsLeftToRightEachFromTheBottomUp)
{
    // Left column: red at the bottom, green, then black; right column: blue
    // at the bottom, white, red. A row-wise scan would list blue before green.
    const Colour columns[2][3] = {{kBlack, kGreen, kRed}, {kRed, kWhite, kBlue}}; // top to bottom
    const WorkingPicture picture = MakePicture(2, 3, [&](int x, int t) { return columns[x][t]; });
    const auto colours = CollectColours(picture);
    ASSERT_TRUE(colours);
    EXPECT_EQ(*colours, (std::vector<Colour>{kRed, kGreen, kBlue}));
}

TEST(CollectColours, AcceptsTwoHundredFiftyFiveAndRefusesMore)
{
    auto picture = [](int count) {
        return MakePicture(16, 17, [count](int x, int t) {
            return t * 16 + x < count ? static_cast<Colour>(0x010000 + t * 16 + x) : kBlack;
        });
    };
    EXPECT_EQ(CollectColours(picture(255)).value().size(), 255u);
    const auto tooMany = CollectColours(picture(256));
    ASSERT_FALSE(tooMany);
    EXPECT_EQ(tooMany.error().message,
              "Das Bild enthält mehr als 255 Farben außer Schwarz und Weiß. Bitte verringern Sie die Anzahl der "
              "Farben und laden Sie das Bild erneut.");
}

TEST(ShadeIndex, RestColoursFollowTheSubstituteChoice)
{
    // "Schwarz", "Weiß", "Farbe 1", "Farbe 2"
    const int restShade[] = {3, 0, 1, 2};
    for (int index = 0; index < 4; ++index) {
        const Palette palette{kWhite, kYellow, kBlue, kBlack, *SubstituteColour(index, kYellow, kBlue)};
        EXPECT_EQ(ShadeIndex(palette, kRed), restShade[index]) << kSubstituteTexts[index];
        EXPECT_EQ(ShadeIndex(palette, kBlue), 2);
        EXPECT_EQ(ShadeIndex(palette, kBlack), 3);
    }
    EXPECT_EQ(ShadeIndex({kWhite, kRed, kRed, kBlack, kBlack}, kRed), 1);
    // A stale substitute that is none of the four shades ends at shade 0.
    EXPECT_EQ(ShadeIndex({kWhite, kYellow, kBlue, kBlack, kGreen}, kRed), 0);
}

TEST(ColourOverrideIndex, KeepsTheFourItemsAndTakesBlackOtherwise)
{
    const std::pair<long long, int> cases[] = {{0, 0}, {3, 3}, {-1, 0}, {4, 0}, {1LL << 40, 0}};
    for (const auto& [stored, index] : cases)
        EXPECT_EQ(ColourOverrideIndex(stored), index) << stored;
    EXPECT_FALSE(SubstituteColour(4, kRed, kGreen));
}

TEST(ApplyColourMapping, PaletteRawLengthAndText)
{
    const ColourMapping mapping = ApplyColourMapping({{0x123456, 0, 0, 0x654321, 0}, kYellow, kBlue, kYellow, 96, 48});
    EXPECT_EQ(mapping.palette, (Palette{kWhite, kYellow, kBlue, kBlack, kYellow}));
    EXPECT_EQ(mapping.rawLength, 96 * 12);
    EXPECT_EQ(mapping.paletteText, "FF03007C");

    // Lists without a selection keep their entries.
    const ColourMapping kept =
        ApplyColourMapping({{kWhite, kRed, kGreen, kBlack, kBlue}, kYellow, std::nullopt, std::nullopt, 8, 10});
    EXPECT_EQ(kept.palette, (Palette{kWhite, kYellow, kGreen, kBlack, kBlue}));
    EXPECT_EQ(kept.rawLength, 8 * 2);
    EXPECT_EQ(kept.paletteText, "FF03E003");
}

TEST(ColourText, ItemTextAndRedBlueSwap)
{
    EXPECT_EQ(ColourItemText(0x0000FF), "0000FF");
    EXPECT_EQ(ColourItemText(0xABCDEF), "ABCDEF");
    EXPECT_EQ(SwapRedBlue(0xFF123456), 0xFF563412u);
}

} // namespace
} // namespace orv
