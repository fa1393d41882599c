#include <gtest/gtest.h>

#include <random>

#include "picture_fixtures.h"
#include "tiles.h"

namespace orv {
namespace {

using namespace test;

// Tiles each filled with one shade; a tile's 16 bytes then tell which one.
std::vector<uint8_t> Tiles(std::initializer_list<int> shades)
{
    std::vector<uint8_t> out;
    for (int shade : shades)
        for (int r = 0; r < 8; ++r) {
            out.push_back(shade & 1 ? 0xFF : 0x00);
            out.push_back(shade & 2 ? 0xFF : 0x00);
        }
    return out;
}

// shadeOfTile(column, row) with rows counted from the top.
WorkingPicture TiledPicture(int across, int down, const std::function<int(int, int)>& shadeOfTile)
{
    const Palette palette = FourShades();
    return MakePicture(8 * across, 8 * down,
                       [&](int x, int t) { return palette[static_cast<size_t>(shadeOfTile(x / 8, t / 8))]; });
}

TEST(EncodeTiles, TileOrders)
{
    struct Case {
        int across, down;
        std::vector<int> shadeByTile; // row by row from the top-left
        std::initializer_list<int> horizontal, vertical;
    };
    const Case cases[] = {
        {2, 1, {1, 2}, {1, 2}, {1, 2}},                   // 16 x 8: left, right
        {1, 2, {1, 3}, {1, 3}, {1, 3}},                   // 8 x 16: top, bottom
        {2, 2, {3, 1, 2, 0}, {3, 1, 2, 0}, {3, 2, 1, 0}}, // 16 x 16
        {3, 2, {1, 2, 3, 0, 3, 2}, {1, 2, 3, 0, 3, 2}, {1, 0, 2, 3, 3, 2}},
    };
    for (const Case& c : cases) {
        const WorkingPicture picture =
            TiledPicture(c.across, c.down, [&](int tx, int ty) { return c.shadeByTile[ty * c.across + tx]; });
        const int32_t raw = picture.width * (picture.height / 4);
        EXPECT_EQ(EncodeTiles(picture, TileOrder::Horizontal, raw), Tiles(c.horizontal)) << c.across << "x" << c.down;
        EXPECT_EQ(EncodeTiles(picture, TileOrder::Vertical, raw), Tiles(c.vertical)) << c.across << "x" << c.down;
    }
}

TEST(EncodeTiles, RowBitsAndPlanes)
{
    const Palette palette = FourShades();
    // Top row of the tile 0,1,2,3,0,1,2,3; the line below all black; the rest white.
    const WorkingPicture picture = MakePicture(8, 8, [&](int x, int t) {
        if (t == 0)
            return palette[static_cast<size_t>(x % 4)];
        return t == 1 ? kBlack : kWhite;
    });
    const auto bytes = EncodeTiles(picture, TileOrder::Horizontal, 16);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x55, 0x33, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(EncodeTiles, SizesNotMultipleOfEight)
{
    // 12 x 10: one tile from columns 0..7 and the lowest 8 lines (lines 2..9).
    const WorkingPicture picture = MakePicture(12, 10, [](int x, int t) {
        if (t < 2 || x >= 8)
            return kBlack; // not coded
        return x == 0 && t == 2 ? kYellow : kWhite;
    });
    const int32_t raw = 12 * (10 / 4);
    const auto bytes = EncodeTiles(picture, TileOrder::Vertical, raw);
    std::vector<uint8_t> expected(static_cast<size_t>(raw), 0);
    expected[0] = 0x80; // the tile's top-left pixel has shade 1
    EXPECT_EQ(bytes, expected);

    const auto pixels = DecodeTiles(bytes, picture.palette, 12, 10, TileOrder::Vertical);
    const WorkingPicture decoded{12, 10, pixels, picture.palette};
    for (int t = 0; t < 10; ++t)
        for (int x = 0; x < 12; ++x) {
            const Colour want = (t < 2 || x >= 8) ? kWhite : picture.atTop(x, t);
            EXPECT_EQ(decoded.atTop(x, t), want) << x << "," << t;
        }
}

TEST(EncodeTiles, NeverWritesPastRawLength)
{
    const WorkingPicture picture = TiledPicture(2, 1, [](int tx, int) { return tx == 0 ? 1 : 3; });
    const auto shortData = EncodeTiles(picture, TileOrder::Horizontal, 21);
    const auto full = Tiles({1, 3});
    EXPECT_EQ(shortData, std::vector<uint8_t>(full.begin(), full.begin() + 21));
    EXPECT_TRUE(EncodeTiles(picture, TileOrder::Horizontal, -5).empty());
    // Longer than the tiles: zero-filled.
    auto longData = full;
    longData.resize(40, 0);
    EXPECT_EQ(EncodeTiles(picture, TileOrder::Horizontal, 40), longData);
}

TEST(DecodeTiles, EncodeThenDecodeReproducesTheShades)
{
    for (const auto& [w, h] : {std::pair{24, 16}, std::pair{8, 40}, std::pair{56, 56}})
        for (TileOrder order : {TileOrder::Horizontal, TileOrder::Vertical}) {
            const WorkingPicture picture = ShadePattern(w, h);
            const auto bytes = EncodeTiles(picture, order, w * (h / 4));
            EXPECT_EQ(DecodeTiles(bytes, picture.palette, w, h, order), picture.pixels)
                << w << " x " << h << (order == TileOrder::Vertical ? " vertical" : " horizontal");
        }
}

TEST(DecodeTiles, MissingTilesReadAsShadeZero)
{
    const Palette palette{kGreen, kYellow, kBlue, kBlack, kBlack};
    const auto data = Tiles({3, 3});
    // 16 x 16 needs four tiles; only the first two (and one byte more) are there.
    std::vector<uint8_t> partial(data.begin(), data.end());
    partial.push_back(0xFF);
    const auto pixels = DecodeTiles(partial, palette, 16, 16, TileOrder::Horizontal);
    const WorkingPicture decoded{16, 16, pixels, palette};
    EXPECT_EQ(decoded.atTop(0, 0), kBlack);
    EXPECT_EQ(decoded.atTop(15, 7), kBlack);
    EXPECT_EQ(decoded.atTop(0, 8), kYellow); // low plane of the first row only
    EXPECT_EQ(decoded.atTop(0, 9), kGreen);
    EXPECT_EQ(decoded.atTop(15, 15), kGreen);
    EXPECT_TRUE(DecodeTiles({}, palette, 0, 8, TileOrder::Horizontal).empty());
}

TEST(ExchangeTileColours, StoredBytes)
{
    struct Case {
        bool blackWhite, lightDark;
        uint8_t lo, hi, newLo, newHi;
    };
    const Case cases[] = {
        {true, false, 0x00, 0x00, 0xFF, 0xFF}, {false, true, 0xF0, 0x0F, 0x0F, 0xF0},
        {true, true, 0x55, 0x33, 0xAA, 0xCC},  {true, false, 0x55, 0x33, 0xCC, 0xAA}, // 0,1,2,3 -> 3,1,2,0
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes{c.lo, c.hi, c.lo, c.hi, 0x77};
        ExchangeTileColours(bytes, c.blackWhite, c.lightDark);
        EXPECT_EQ(bytes, (std::vector<uint8_t>{c.newLo, c.newHi, c.newLo, c.newHi, 0x77}))
            << c.blackWhite << c.lightDark << " " << int(c.lo) << "," << int(c.hi);
    }
}

TEST(ExchangeTileColours, PaletteSwapGivesTheSameBytes)
{
    Palette palette = FourShades();
    palette[4] = kYellow;
    // The pattern plus colours that go through the substitute.
    WorkingPicture picture = ShadePattern(24, 16, palette);
    picture.at(3, 3) = kRed;
    picture.at(20, 9) = kGreen;
    for (TileOrder order : {TileOrder::Horizontal, TileOrder::Vertical})
        for (bool bw : {false, true})
            for (bool dl : {false, true}) {
                auto stored = EncodeTiles(picture, order, 24 * 4);
                ExchangeTileColours(stored, bw, dl);
                EXPECT_EQ(EncodeTiles(picture, ExchangedPalette(palette, bw, dl), order, 24 * 4), stored)
                    << bw << dl;
            }
    EXPECT_EQ(ExchangedPalette(palette, true, true), (Palette{kBlack, kBlue, kYellow, kWhite, kYellow}));
}

TEST(WrapUncompressed, LiteralHeadersAndSizes)
{
    std::mt19937 random(7);
    struct Case {
        size_t length;
        size_t wrappedLength;
        std::vector<std::pair<size_t, std::vector<uint8_t>>> headers; // at offset: bytes
    };
    const Case cases[] = {
        {784, 787, {{0, {0xE3, 0x0F}}}},
        {1024, 1027, {{0, {0xE3, 0xFF}}}},
        {1056, 1060, {{0, {0xE3, 0xFF}}, {1026, {0x1F}}}},
        {20, 22, {{0, {0x13}}}},
        {33, 36, {{0, {0xE0, 0x20}}}},
        {2049, 2055, {{0, {0xE3, 0xFF}}, {1026, {0xE3, 0xFF}}, {2052, {0x00}}}},
        {0, 1, {}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> data(c.length);
        for (auto& b : data)
            b = static_cast<uint8_t>(random());
        const auto wrapped = WrapUncompressed(data);
        ASSERT_EQ(wrapped.size(), c.wrappedLength) << c.length;
        EXPECT_EQ(wrapped.back(), 0xFF);
        std::vector<uint8_t> payload;
        size_t pos = 0;
        for (const auto& [offset, header] : c.headers) {
            payload.insert(payload.end(), wrapped.begin() + pos, wrapped.begin() + offset);
            EXPECT_TRUE(std::equal(header.begin(), header.end(), wrapped.begin() + offset)) << c.length;
            pos = offset + header.size();
        }
        payload.insert(payload.end(), wrapped.begin() + pos, wrapped.end() - 1);
        EXPECT_EQ(payload, data) << c.length;
    }
}

} // namespace
} // namespace orv
