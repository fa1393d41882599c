#pragma once
// The own picture file (".orv"): the compressed stream, then colour 1 and
// colour 2 as game colour words (low byte first), width, height (one byte
// each, 0 = not given) and the tile order (0 vertical, else horizontal).

#include <array>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "gbc_color.h"
#include "picture_error.h"
#include "working_picture.h"

namespace orv {

// Bytes after the stream: palette pair, width, height, tile order.
constexpr int64_t kOrvTrailerBytes = 7;
// Largest side a size byte can hold.
constexpr int kOrvMaxSide = 255;
// The tile data of the largest picture a file can describe; measuring stops
// beyond it, before anything is allocated.
constexpr int32_t kOrvMaxTileBytes = kOrvMaxSide * kOrvMaxSide / 4;
// Bytes read from a file: the stream of kOrvMaxTileBytes is far shorter.
constexpr size_t kOrvMaxReadBytes = 1 << 20;

// What the reader hands on to page 11, like a picture taken from a ROM.
struct OrvPicture {
    std::vector<uint8_t> stream;   // SourceStream, end marker included
    std::vector<uint8_t> tileData; // SourceTileData; RawLength is its size
    PalettePair palettePair{};
    std::array<Colour, 2> colours{}; // Palette[1], Palette[2]
    std::string paletteText;         // e.g. "FF03007C"
    int width = 0;
    int height = 0;
    TileOrder order = TileOrder::Vertical;
};

// Side of the square picture assumed when a size byte is 0: 8 times the
// square root of the tile count (RawLength / 16), to the nearest whole number.
int OrvSquareSide(int32_t rawLength);

// Replaces path atomically. Refusals (German, <p> the path; each has its English text,
// e.g. "The picture is too large for an ORV file: width and height may be at most 255 pixels."):
//   "Das Bild ist zu groß für eine ORV-Datei: Breite und Höhe dürfen höchstens
//    255 Pixel betragen."
//   "Die Bilddaten sind kein vollständiger komprimierter Datenstrom und werden
//    nicht gespeichert."
//   "Die Bilddaten konnten nicht geprüft werden: Die Bibliothek libvexlib.so
//    fehlt oder ist beschädigt."
//   "Die Datei "<p>" konnte nicht geschrieben werden (Systemfehler <n>: <text>)."
// flush: whether the file reaches the device first.
std::expected<void, PictureError> WriteOrvFile(const std::filesystem::path& path,
                                               std::span<const uint8_t> encoded, Colour colour1,
                                               Colour colour2, int width, int height, TileOrder order,
                                               bool flush = true);

// Reads and decompresses a file. Sound rules where the format leaves room:
// - a stored size must describe exactly the tile data (width x height / 4
//   bytes) with sides of at least 8 pixels;
// - a zero size whose square side would be 0 or exceed 255 is refused;
// - bytes after the 7 trailing ones are ignored.
// Refusals (English alongside, e.g. "The file "<p>" contains no valid picture data stream."):
//   "Die Datei "<p>" konnte nicht geöffnet werden."
//   "Die Datei "<p>" konnte nicht gelesen werden."
//   "Die Datei "<p>" enthält keinen gültigen Bilddatenstrom."
//   "Die Datei "<p>" ist zu kurz für eine ORV-Datei: Nach den Bilddaten fehlen
//    Palette, Größe oder Kachelreihenfolge."
//   "Die Datei "<p>" gibt keine Bildgröße an, und ihre Bilddaten ergeben kein
//    Bild von 1 bis 255 Pixeln Seitenlänge."
//   "Die Bilddaten in der Datei "<p>" sind zu groß."
//   "Die Datei "<p>" gibt die Bildgröße <w> x <h> Pixel an, die nicht zu ihren
//    Bilddaten passt (<n> Bytes; nötig sind Breite x Höhe / 4, und jede Seite
//    muss mindestens 8 Pixel lang sein)."
//   "Die Datei "<p>" konnte nicht gelesen werden: Die Bibliothek libvexlib.so
//    fehlt oder ist beschädigt."
// At most kOrvMaxReadBytes of the file are read.
std::expected<OrvPicture, PictureError> ReadOrvFile(const std::filesystem::path& path);
// The same on the file's first bytes (path only names it in the messages).
std::expected<OrvPicture, PictureError> ParseOrvFile(std::span<const uint8_t> bytes,
                                                     const std::filesystem::path& path);

} // namespace orv
