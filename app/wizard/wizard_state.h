#pragma once
// The window-level record that all wizard pages share. Widget-free, so page
// work and its tests can use it without a window.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "classify_path.h"
#include "preview_flags.h"
#include "working_picture.h"

namespace orv {

struct WizardState {
    uint8_t CurrentPage = 1;                   // page on show, 1..11
    FileKind SourceKind = FileKind::Picture;   // from the text of Combo1
    FileKind TargetKind = FileKind::Picture;   // from the text of Combo2
    std::string SourcePath;                    // UTF-8, as typed in Combo1
    std::string TargetPath;                    // UTF-8, as typed in Combo2

    // PicWidth, PicHeight, PixelGrid and Palette.
    WorkingPicture Picture;
    // An ordinary picture's pixels as loaded: page 11 codes them afresh on
    // every pass, while Picture.pixels then holds the four-shade result.
    std::vector<Colour> LoadedPixels;
    std::string PaletteText; // shown in Text5 on page 3

    int32_t RawLength = 0;             // bytes of 2bpp tile data
    std::vector<uint8_t> TileData;
    std::vector<uint8_t> SourceStream; // compressed bytes as read from a ROM or own file
    int32_t SourceStreamLength = 0;
    std::vector<uint8_t> SourceTileData;
    std::vector<uint8_t> EncodedData;  // the stream written to the target
    int32_t EncodedLength = 0;         // valid bytes of EncodedData

    int32_t NameOffset = 0; // file offset of the chosen Pokemon's name
    bool AnyShape = false;  // page 6's Yes to a shape the game does not draw whole
    uint8_t PreviewFlags = 0; // kPreviewWide | kPreviewTall | kPreviewBig
    std::array<std::string, 256> CharTable;

    int32_t ScrollWidthV = 9; // preview scroll bar thickness, pixels
    int32_t ScrollWidthH = 9;
    bool DragActive = false;
    int32_t DragStartX = 0;
    int32_t DragStartY = 0;
    // Files are opened and closed inside one page's work (BinaryFile), so the
    // record holds no file or bitmap handles.
};

} // namespace orv
