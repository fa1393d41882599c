// Colours to shades, tile coding, the uncompressed wrapper, the coding step and
// the own picture file as bytes.

#include <gtest/gtest.h>

#include "codec.h"
#include "colour_roles.h"
#include "compression.h"
#include "core_facts.h"
#include "orv_format.h"
#include "picture_fixtures.h"
#include "tiles.h"

namespace orv::test {
namespace {

using enum TileOrder;

TEST(Colours, ListLimitShadesAndMapping)
{
    const auto counted = [](int count) {
        return MakePicture(16, 17, [=](int x, int t) { return t * 16 + x < count ? 0x010000u + t * 16 + x : kBlack; });
    };
    EXPECT_EQ(CollectColours(counted(255)).value().size(), 255u);
    EXPECT_FALSE(CollectColours(counted(256)));

    const int restShade[] = {3, 0, 1, 2}; // black, white, colour 1, colour 2
    for (int index = 0; index < 4; ++index) {
        const Palette palette{kWhite, kYellow, kBlue, kBlack, *SubstituteColour(index, kYellow, kBlue)};
        EXPECT_EQ(ShadeIndex(palette, kRed), restShade[index]) << index;
        EXPECT_EQ(ShadeIndex(palette, kBlue), 2) << index;
    }
    EXPECT_EQ(ShadeIndex({kWhite, kRed, kRed, kBlack, kBlack}, kRed), 1);
    EXPECT_EQ(ShadeIndex({kWhite, kYellow, kBlue, kBlack, kGreen}, kRed), 0); // a stale substitute
    EXPECT_EQ(std::tuple(ColourOverrideIndex(3), ColourOverrideIndex(-1), ColourOverrideIndex(4)), std::tuple(3, 0, 0));

    const ColourMapping chosen = ApplyColourMapping({{0x123456, 0, 0, 0x654321, 0}, kYellow, kBlue, kYellow, 96, 48});
    EXPECT_EQ(chosen.palette, (Palette{kWhite, kYellow, kBlue, kBlack, kYellow}));
    EXPECT_EQ(std::pair(chosen.rawLength, chosen.paletteText), std::pair(1152, std::string("FF03007C")));
    // Lists without a selection keep their entries.
    const ColourMapping kept = ApplyColourMapping({{0, kRed, kGreen, 0, kBlue}, kYellow, {}, {}, 8, 10});
    EXPECT_EQ(kept.palette, (Palette{kWhite, kYellow, kGreen, kBlack, kBlue}));
    EXPECT_EQ(std::pair(kept.rawLength, kept.paletteText), std::pair(16, std::string("FF03E003")));
    EXPECT_EQ(ColourItemText(0x0000FF), "0000FF");
}

// Grays beside a given pair: four in their order of lightness, fewer by the
// nearest of four levels; a fifth gray or any colour is no grayscale picture.
TEST(Colours, ShadesByLightness)
{
    const auto picture = [](std::vector<Colour> row) {
        return MakePicture(static_cast<int>(row.size()), 1, [=](int x, int) { return row[static_cast<size_t>(x)]; });
    };
    const auto shades = [&](std::vector<Colour> row) {
        auto made = ShadesByLightness(picture(std::move(row)));
        return made ? made->pixels : std::vector<Colour>{};
    };
    constexpr Colour g1 = kGrayShade1, g2 = kGrayShade2;
    EXPECT_EQ(shades({0x101010, 0xF0F0F0, 0x202020, 0x303030}), (std::vector<Colour>{kBlack, kWhite, g2, g1}));
    EXPECT_EQ(shades({0xFFFFFF, 0xA0A0A0, 0x5A5A5A, 0x0A0A0A}), (std::vector<Colour>{kWhite, g1, g2, kBlack}));
    EXPECT_EQ(shades({0x606060, 0x808080}), (std::vector<Colour>{g2, g1})); // 96 is nearest 85, 128 nearest 170
    EXPECT_FALSE(ShadesByLightness(picture({0x101010, 0x202020, 0x303030, 0x404040, 0x505050})));
    EXPECT_FALSE(ShadesByLightness(picture({0xFFFFFF, 0x102030})));
}

TEST(Tiles, TileOrdersAndRowBits)
{
    // Tiles of one shade each, listed row by row from the top left, and the shades in either tile order.
    const std::tuple<int, std::vector<int>, std::vector<int>, std::vector<int>> cases[] = {
        {2, {1, 2}, {1, 2}, {1, 2}},                   // 16 x 8: left, right
        {1, {1, 3}, {1, 3}, {1, 3}},                   // 8 x 16: top, bottom
        {2, {3, 1, 2, 0}, {3, 1, 2, 0}, {3, 2, 1, 0}}, // 16 x 16
        {3, {1, 2, 3, 0, 3, 2}, {1, 2, 3, 0, 3, 2}, {1, 0, 2, 3, 3, 2}},
    };
    const auto tileBytes = [](const std::vector<int>& shades) {
        std::vector<uint8_t> out;
        for (int shade : shades)
            for (int r = 0; r < 8; ++r)
                out.insert(out.end(), {uint8_t(shade & 1 ? 0xFF : 0), uint8_t(shade & 2 ? 0xFF : 0)});
        return out;
    };
    for (const auto& [across, shades, horizontal, vertical] : cases) {
        const int down = static_cast<int>(shades.size()) / across;
        const WorkingPicture picture = MakePicture(
            8 * across, 8 * down, [&](int x, int t) { return kFourShades[shades[t / 8 * across + x / 8]]; });
        EXPECT_EQ(EncodeTiles(picture, Horizontal, 16 * across * down), tileBytes(horizontal)) << across << "x" << down;
        EXPECT_EQ(EncodeTiles(picture, Vertical, 16 * across * down), tileBytes(vertical)) << across << "x" << down;
    }
    // Top row 0,1,2,3,0,1,2,3, the row below black, the rest white.
    const WorkingPicture row =
        MakePicture(8, 8, [](int x, int t) { return t == 0 ? kFourShades[x % 4] : t == 1 ? kBlack : kWhite; });
    std::vector<uint8_t> expected{0x55, 0x33, 0xFF, 0xFF};
    expected.resize(16);
    EXPECT_EQ(EncodeTiles(row, Horizontal, 16), expected);
}

TEST(Tiles, PartTilesRawLengthAndMissingData)
{
    // 12 x 10: one tile of columns 0..7 and lines 2..9; the rest is neither coded nor decoded.
    const WorkingPicture picture = MakePicture(12, 10, [](int x, int t) {
        return t < 2 || x >= 8 ? kBlack : x == 0 && t == 2 ? kYellow : kWhite;
    });
    std::vector<uint8_t> expected(30, 0);
    expected[0] = 0x80; // shade 1 in the tile's top-left pixel
    EXPECT_EQ(EncodeTiles(picture, Vertical, 30), expected);
    EXPECT_EQ(EncodeTiles(picture, Vertical, 9), std::vector<uint8_t>(expected.begin(), expected.begin() + 9));
    EXPECT_TRUE(EncodeTiles(picture, Vertical, -5).empty());
    const WorkingPicture decoded{12, 10, DecodeTiles(expected, picture.palette, 12, 10, Vertical)};
    EXPECT_EQ(std::tuple(decoded.atTop(0, 2), decoded.atTop(0, 1), decoded.atTop(8, 5), decoded.atTop(7, 9)),
              std::tuple(kYellow, kWhite, kWhite, kWhite));

    // Data ending inside the first of two tiles: the rest reads as shade 0.
    const Palette green{kGreen, kYellow, kBlue, kBlack, kBlack};
    const WorkingPicture partial{16, 8, DecodeTiles(std::vector<uint8_t>{0xFF, 0xFF, 0xFF}, green, 16, 8, Horizontal)};
    EXPECT_EQ(std::tuple(partial.atTop(0, 0), partial.atTop(7, 1), partial.atTop(0, 2), partial.atTop(15, 7)),
              std::tuple(kBlack, kYellow, kGreen, kGreen));
}

TEST(Tiles, EncodeThenDecodeReproducesTheShades)
{
    for (const auto& [w, h] : {std::pair{24, 16}, std::pair{8, 40}, std::pair{56, 56}})
        for (TileOrder order : {Horizontal, Vertical}) {
            const WorkingPicture picture = ShadePattern(w, h);
            EXPECT_EQ(DecodeTiles(EncodeTiles(picture, order, w * h / 4), kFourShades, w, h, order), picture.pixels)
                << w << " x " << h << (order == Vertical ? " vertical" : " horizontal");
        }
}

TEST(Tiles, ExchangesOnStoredBytes)
{
    // black/white, light/dark, a byte pair before and after; an odd last byte stays.
    const std::tuple<bool, bool, uint8_t, uint8_t, uint8_t, uint8_t> cases[] = {
        {true, false, 0x00, 0x00, 0xFF, 0xFF}, {false, true, 0xF0, 0x0F, 0x0F, 0xF0},
        {true, true, 0x55, 0x33, 0xAA, 0xCC},  {true, false, 0x55, 0x33, 0xCC, 0xAA}, // 0,1,2,3 -> 3,1,2,0
    };
    for (const auto& [bw, ld, lo, hi, newLo, newHi] : cases) {
        std::vector<uint8_t> bytes{lo, hi, lo, hi, 0x77};
        ExchangeTileColours(bytes, bw, ld);
        EXPECT_EQ(bytes, (std::vector<uint8_t>{newLo, newHi, newLo, newHi, 0x77})) << bw << ld << " " << int(lo);
    }
}

TEST(Tiles, WrapperLiteralRuns)
{
    // Header bytes, -n for the next n data bytes; the end marker follows.
    const std::pair<size_t, std::vector<int>> cases[] = {
        {784, {0xE3, 0x0F, -784}},  {1024, {0xE3, 0xFF, -1024}}, {1056, {0xE3, 0xFF, -1024, 0x1F, -32}},
        {20, {0x13, -20}},          {33, {0xE0, 0x20, -33}},     {2049, {0xE3, 0xFF, -1024, 0xE3, 0xFF, -1024, 0x00, -1}},
        {0, {}},
    };
    for (const auto& [length, layout] : cases) {
        std::vector<uint8_t> data(length), expected;
        for (size_t i = 0; i < length; ++i)
            data[i] = static_cast<uint8_t>(i * 37 + i / 256);
        auto next = data.begin();
        for (int item : layout)
            if (item >= 0)
                expected.push_back(static_cast<uint8_t>(item));
            else
                expected.insert(expected.end(), next, next - item), next -= item;
        expected.push_back(0xFF);
        EXPECT_EQ(WrapUncompressed(data), expected) << length;
    }
}

TEST(Coding, ChoicesDecodeBack)
{
    Palette palette = kFourShades;
    palette[4] = kBlue;
    WorkingPicture picture = ShadePattern(88, 40, palette);
    picture.at(5, 5) = kRed; // coded as the substitute
    const auto tiles = EncodeTiles(picture, Horizontal, 880), stream = WrapUncompressed(tiles);
    auto more = tiles;
    more.resize(900, 0x5A);

    using enum CompressionChoice;
    // Source, choice, black/white, light/dark, a stored source's tile data, RawLength.
    const std::tuple<bool, CompressionChoice, bool, bool, std::vector<uint8_t>, int32_t> cases[] = {
        {true, BuildNew, false, false, {}, 880},
        // Exchanges on a picture go through the palette and give the bytes of the stored exchanges.
        {true, Uncompressed, true, false, {}, 880},
        {true, BuildNew, false, true, {}, 880},
        {true, Retain, true, true, {}, 880}, // no old stream: compressed anew
        {false, Retain, true, false, tiles, 880}, // old stream and bytes kept
        {false, Uncompressed, false, true, tiles, 880},
        {false, BuildNew, true, true, more, 900},                                       // all data kept
        {false, Uncompressed, false, false, {tiles.begin(), tiles.begin() + 300}, 880}, // zero-filled
    };
    for (const auto& [fromPicture, choice, bw, ld, data, rawLength] : cases) {
        SCOPED_TRACE(testing::Message() << fromPicture << " " << int(choice) << " " << bw << ld << " " << rawLength);
        const auto result = CodePicture({fromPicture, &picture, stream, data, rawLength, Horizontal, choice, bw, ld});
        ASSERT_TRUE(result) << Facts(result);
        const bool retained = !fromPicture && choice == Retain;
        auto expected = fromPicture ? EncodeTiles(picture, Horizontal, rawLength) : data;
        expected.resize(static_cast<size_t>(rawLength), 0);
        if (!retained)
            ExchangeTileColours(expected, bw, ld);
        EXPECT_EQ(result->tileData, expected);
        if (retained || choice == Uncompressed) {
            EXPECT_EQ(result->encodedData, retained ? stream : WrapUncompressed(expected));
        }
        const auto lengths = codec::Measure(result->encodedData);
        ASSERT_TRUE(lengths);
        EXPECT_EQ(lengths->compressed, static_cast<int32_t>(result->encodedData.size()));
        EXPECT_EQ(codec::Decode(result->encodedData, lengths->decompressed), expected);
        EXPECT_EQ(result->pixels, DecodeTiles(expected, palette, 88, 40, Horizontal));
    }
}

} // namespace
} // namespace orv::test

namespace orv::test {
namespace {

// The own picture file as bytes: the trailer after the stream, and its refusals.
TEST(OrvFormat, BytesRoundTripAndRefusals)
{
    const auto tiles = EncodeTiles(ShadePattern(16, 24), TileOrder::Horizontal, 96);
    const auto stream = codec::Encode(tiles).value();
    const auto bytes = EncodeOrv(stream, kYellow, kBlue, 16, 24, TileOrder::Horizontal).value();
    ASSERT_EQ(bytes.size(), stream.size() + 7);
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 7, bytes.end()),
              (std::vector<uint8_t>{0xFF, 0x03, 0x00, 0x7C, 16, 24, 1}));
    const auto read = DecodeOrv(bytes).value();
    EXPECT_EQ(std::tuple(read.stream, read.tileData, read.width, read.height, read.order),
              std::tuple(stream, tiles, 16, 24, TileOrder::Horizontal));

    EXPECT_EQ(Facts(EncodeOrv(stream, kYellow, kBlue, 256, 8, TileOrder::Vertical)), Facts({.kind = ErrorKind::OrvTooLarge}));
    const std::vector<uint8_t> broken{0x05, 0x01};
    EXPECT_EQ(Facts(EncodeOrv(broken, kYellow, kBlue, 8, 8, TileOrder::Vertical)),
              Facts({.kind = ErrorKind::OrvNotAStream}));
    auto wrongSize = bytes;
    wrongSize[wrongSize.size() - 3] = 24; // 24 x 24 does not match 96 bytes
    EXPECT_EQ(Facts(DecodeOrv(wrongSize)), Facts({.kind = ErrorKind::OrvSizeMismatch, .value = 96, .low = 24, .high = 24}));
    EXPECT_EQ(Facts(DecodeOrv(std::span(bytes).first(bytes.size() - 1))), Facts({.kind = ErrorKind::OrvTooShort}));
    EXPECT_EQ(Facts(DecodeOrv(std::vector<uint8_t>{0x02, 0x11})), Facts({.kind = ErrorKind::OrvInvalidStream}));
}

} // namespace
} // namespace orv::test
