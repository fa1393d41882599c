#pragma once
// Page 1 for an ordinary picture: the file read by content, cut to whole
// tiles, and its colours other than black and white.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>
#include <vector>

#include "working_picture.h"

namespace orv {

enum class LoadFailure : uint8_t { Missing, Unreadable, Truncated, NotAPicture, TooSmall, TooLarge, TooManyColours };

struct LoadError {
    LoadFailure failure;
    std::string message; // German, UTF-8, for the "Fehler" box
    std::string english; // the same facts in English
};

struct LoadedPicture {
    // Width and height multiples of 8, pixels bottom-up; the default palette
    // (the page-1 handler keeps the wizard's own Palette).
    WorkingPicture picture;
    std::vector<Colour> colours; // for "Farbe 1:" and "Farbe 2:", at most 255
    // The file's own colour table, in its order, when it stores colour
    // indices (GIF, palette PNG and BMP); empty otherwise.
    std::vector<Colour> colourTable;
};

// Largest picture taken: sides are 16-bit counts, and the grid stays below 256 MiB.
constexpr int kMaxSourceSide = 32767;
constexpr int64_t kMaxSourcePixels = int64_t{1} << 26;
// Files are read by structure up to where their format ends (PNG at IEND, GIF
// at its trailer, BMP, ICO and CUR at their declared sizes); a format that
// takes more than this is refused before it is read.
constexpr int64_t kMaxSourceFileBytes = int64_t{512} << 20;

// "Die Datei "<p>" konnte nicht gefunden werden."
std::string MissingSourceMessage(const std::filesystem::path& path);

// GIF, BMP, ICO, CUR and PNG are recognised by content, whatever the file's
// name (so ".bak" and ".old" backups load too). Refusals:
//   Missing:        MissingSourceMessage(path)
//   Unreadable:     "Die Datei "<p>" konnte nicht gelesen werden (Systemfehler <n>: <text>)."
//                    (a folder, a pipe or a device among them; no descriptor or no
//                    memory left for reading a picture)
//   Truncated:      "Die Bilddatei "<p>" ist unvollständig: Ihre Kopfdaten kündigen <k>
//                    Bytes an, sie hat aber nur <n>." (see MeasurePicture)
//   NotAPicture:    "Die Datei "<p>" ist keine lesbare Bilddatei (GIF, BMP, ICO,
//                    CUR oder PNG)."
//   TooSmall:       "Das Bild "<p>" ist zu klein: Es muss mindestens 8 Pixel
//                    breit und 8 Pixel hoch sein."
//   TooLarge:       "Das Bild "<p>" ist zu groß, um es zu verarbeiten: <w> x <h> Pixel,
//                    höchstens 32767 Pixel je Seite und 67108864 Pixel insgesamt." or
//                   "Die Bilddatei "<p>" ist zu groß: Ihr Format belegt <n> Bytes, gelesen
//                    werden höchstens 536870912."
//   TooManyColours: the text of CollectColours.
// English alongside, e.g. "The picture "<p>" is too small: it must be at least 8 pixels
// wide and 8 pixels high."
std::expected<LoadedPicture, LoadError> LoadSourcePicture(const std::filesystem::path& path);

} // namespace orv
