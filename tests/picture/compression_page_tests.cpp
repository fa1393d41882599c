#include <gtest/gtest.h>

#include "codec_library.h"
#include "compression_page.h"
#include "picture_fixtures.h"
#include "preview_flags.h"
#include "tiles.h"

namespace orv {
namespace {

using namespace test;

std::vector<uint8_t> Decompressed(const std::vector<uint8_t>& stream)
{
    const auto lengths = codec::measure(stream);
    EXPECT_TRUE(lengths);
    if (!lengths)
        return {};
    EXPECT_EQ(static_cast<size_t>(lengths->compressed), stream.size());
    const auto raw = codec::decode(stream, lengths->decompressed);
    EXPECT_TRUE(raw);
    return raw ? *raw : std::vector<uint8_t>{};
}

CompressionRequest PictureRequest(const WorkingPicture& picture, CompressionChoice choice)
{
    CompressionRequest request;
    request.sourceKind = FileKind::Picture;
    request.picture = &picture;
    request.rawLength = picture.width * (picture.height / 4);
    request.choice = choice;
    return request;
}

CompressionRequest StoredRequest(const WorkingPicture& picture, std::span<const uint8_t> tiles,
                                 CompressionChoice choice)
{
    CompressionRequest request;
    request.sourceKind = FileKind::Rom;
    request.picture = &picture;
    request.sourceTileData = tiles;
    request.rawLength = static_cast<int32_t>(tiles.size());
    request.choice = choice;
    return request;
}

TEST(CompressionPage, PictureSourceEveryChoice)
{
    Palette palette = FourShades();
    palette[4] = kBlue;
    WorkingPicture picture = ShadePattern(88, 40, palette);
    picture.at(5, 5) = kRed; // coded as the substitute, shade 2
    WorkingPicture fourShades = picture;
    fourShades.at(5, 5) = kBlue;

    // "Retain" has no old stream for a picture: it compresses anew.
    for (CompressionChoice choice :
         {CompressionChoice::BuildNew, CompressionChoice::Uncompressed, CompressionChoice::Retain}) {
        CompressionRequest request = PictureRequest(picture, choice);
        request.order = TileOrder::Horizontal;
        request.previewFlags = kPreviewBig | kPreviewTall;
        const auto result = CompressionPageNext(request);
        ASSERT_TRUE(result) << result.error().message;
        EXPECT_EQ(result->tileData, EncodeTiles(picture, TileOrder::Horizontal, 88 * 10));
        EXPECT_EQ(Decompressed(result->encodedData), result->tileData);
        if (choice == CompressionChoice::Uncompressed) {
            EXPECT_EQ(result->encodedData, WrapUncompressed(result->tileData));
        }
        EXPECT_EQ(result->pixels, fourShades.pixels);
        EXPECT_EQ(result->previewFlags, kPreviewBig | kPreviewWide);
    }
}

TEST(CompressionPage, PictureExchangesChangeDataAndPreviewNotPalette)
{
    const WorkingPicture picture = ShadePattern(16, 16);
    CompressionRequest request = PictureRequest(picture, CompressionChoice::BuildNew);
    request.blackWhite = true;
    request.lightDark = true;
    const auto result = CompressionPageNext(request);
    ASSERT_TRUE(result) << result.error().message;

    auto expected = EncodeTiles(picture, TileOrder::Vertical, 64);
    ExchangeTileColours(expected, true, true);
    EXPECT_EQ(result->tileData, expected);
    EXPECT_EQ(picture.palette, FourShades());
    // Every shade turned into its opposite in the preview.
    const Palette palette = FourShades();
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        const int shade = ShadeIndex(palette, picture.pixels[i]);
        ASSERT_EQ(result->pixels[i], palette[static_cast<size_t>(3 - shade)]) << i;
    }
}

TEST(CompressionPage, StoredSourceRetainKeepsStreamAndBytes)
{
    const WorkingPicture picture = ShadePattern(16, 16);
    const auto tiles = EncodeTiles(picture, TileOrder::Vertical, 64);
    const auto stream = WrapUncompressed(tiles);

    CompressionRequest request = StoredRequest(picture, tiles, CompressionChoice::Retain);
    request.sourceStream = stream;
    request.blackWhite = true; // ignored when the old stream is kept
    const auto result = CompressionPageNext(request);
    ASSERT_TRUE(result) << result.error().message;
    EXPECT_EQ(result->encodedData, stream);
    EXPECT_EQ(result->tileData, tiles);
    EXPECT_EQ(result->pixels, picture.pixels);
    EXPECT_EQ(result->previewFlags, 0);
}

TEST(CompressionPage, StoredSourceExchangedThenWrappedOrCompressed)
{
    const WorkingPicture picture = ShadePattern(24, 8);
    const auto tiles = EncodeTiles(picture, TileOrder::Horizontal, 48);
    for (CompressionChoice choice : {CompressionChoice::Uncompressed, CompressionChoice::BuildNew}) {
        CompressionRequest request = StoredRequest(picture, tiles, choice);
        request.sourceKind = FileKind::Orv;
        request.order = TileOrder::Horizontal;
        request.lightDark = true;
        const auto result = CompressionPageNext(request);
        ASSERT_TRUE(result) << result.error().message;
        auto exchanged = tiles;
        ExchangeTileColours(exchanged, false, true);
        EXPECT_EQ(result->tileData, exchanged);
        EXPECT_EQ(Decompressed(result->encodedData), exchanged);
        EXPECT_EQ(result->pixels, DecodeTiles(exchanged, picture.palette, 24, 8, TileOrder::Horizontal));
    }
}

TEST(CompressionPage, TileDataHoldsRawLengthWhateverThePictureSize)
{
    const WorkingPicture picture = ShadePattern(16, 16);
    const auto tiles = EncodeTiles(picture, TileOrder::Vertical, 64);

    // More data than the 16 x 16 picture shows: everything is kept and written.
    std::vector<uint8_t> more = tiles;
    more.resize(100, 0x5A);
    CompressionRequest request = StoredRequest(picture, more, CompressionChoice::Uncompressed);
    auto result = CompressionPageNext(request);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->tileData, more);
    EXPECT_EQ(Decompressed(result->encodedData), more);
    EXPECT_EQ(result->pixels, picture.pixels);

    // Less data: zero-filled to RawLength, the missing tiles shown as shade 0.
    request.sourceTileData = std::span(tiles).first(32);
    request.rawLength = 64;
    result = CompressionPageNext(request);
    ASSERT_TRUE(result);
    std::vector<uint8_t> padded(tiles.begin(), tiles.begin() + 32);
    padded.resize(64, 0);
    EXPECT_EQ(result->tileData, padded);
    const WorkingPicture shown{16, 16, result->pixels, picture.palette};
    EXPECT_EQ(shown.atTop(0, 0), picture.atTop(0, 0));
    EXPECT_EQ(shown.atTop(9, 0), kWhite);
    EXPECT_EQ(shown.atTop(15, 15), kWhite);
}

} // namespace
} // namespace orv
