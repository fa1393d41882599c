#pragma once
// Writing an encoded picture into a ROM: planned in full as byte patches and
// checked against what lies in the ROM; the faces commit them.

#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <vector>

#include "byte_patch.h"
#include "error.h"
#include "rom_image.h"
#include "slot.h"

namespace orv::rom {

// The picture to write, where, and what else goes with it.
struct InsertRequest {
    std::vector<uint8_t> encoded; // EncodedData; N is its size
    int64_t offset = 0;           // where the data goes
    std::optional<Slot> slot;     // with a slot also its pointer, palette and size byte
    bool deleteOriginal = false;  // zero the slot's old picture first
    std::optional<std::string> newName; // the Pokemon's new name, UTF-8 (not for trainers)
    int64_t nameLength = 10;      // L, bytes of a name in the table, 1 .. 20
    uint32_t colour1 = 0;         // Palette[1], 0x00RRGGBB
    uint32_t colour2 = 0;         // Palette[2]
    int width = 0;                // PicWidth, for the shape and the front-picture size byte
    int height = 0;               // PicHeight
    // Any shape, for a ROM whose code was changed to draw others; a front
    // picture still needs a size byte (up to 9 x 9 tiles).
    bool anyShape = false;
    // The same batch gives all 26 Unown fronts this picture's shape, so their
    // shared size byte may change with them.
    bool allUnownFronts = false;
};

// Non-zero bytes of data the program does not know (code, text, anything
// outside its tables and the slots' pictures) that the picture data would
// replace: written only when the user agrees.
struct Overwrite {
    int64_t bytes = 0; // how many
    int64_t first = 0; // the first one's offset
};

struct InsertionPlan {
    int64_t fileSize = 0;           // the ROM's length when planned
    int64_t dataOffset = 0;         // where the encoded data goes
    std::vector<BytePatch> patches; // in writing order
    std::vector<Note> notes;    // e.g. a size byte left alone
    Overwrite overwrite;            // bytes == 0: nothing unknown is overwritten
};

// Computes from the ROM as read every byte to write, in the order: zeros over
// the old picture, the data, the palette, the name, the pointer, the size
// byte. Nothing is written; the faces apply the patches and commit them.
// Errors, in the order checked:
//  NoData (N = 0); TooShort (picture data, pointer table, palette, name, size
//  byte); OutOfRange (offset 0 .. length - N - 1, the slot's numbers, L 1 .. 20);
//  InTheWay for the header, the pointer and palette tables, the base-data
//  records, the name table, and every byte it would change of another slot's
//  picture; Unreachable (bank 0, banks 0x13 and 0x14, from 0x400000) and
//  PastBank (the game reads a picture only within one bank); NotAStream and
//  SizeMismatch (a front picture's size byte must describe the data);
//  OldPictureBroken (deleting an incomplete old picture); the shape rules
//  as CheckSlotShape, first for a slot; TooManyTiles for a front picture its
//  size byte cannot describe; EmptyName, NameUnencodable, NameTooLong;
//  LanguageUnknown when a name is to be written; CodecMissing.
// Notes: SizeByteLanguageUnknown, SizeByteRecord when the size byte is left
// as it is; OldPictureKept when the old picture's bytes also belong to
// another slot's picture or a table.
std::expected<InsertionPlan, Error> PlanInsertion(const RomImage& rom, const InsertRequest& request);

// The shape rule of the request's slot (none without one): BadShape with the
// shapes the game draws there whole (front pictures 40, 48 or 56 pixels
// square, backs 48, trainers 56; an Unown front the shape the size byte of
// Pokemon 201, which all 26 share, draws now), which anyShape lets pass; with
// anyShape, TooManyTiles for a front picture beyond 9 x 9 tiles. Reading the
// Unown size byte: LanguageUnknown, TooShort, or UnownRecord when the record
// there is not Pokemon 201's. The slot's numbers are refused as in
// PlanInsertion.
std::expected<void, Error> CheckSlotShape(const RomImage& rom, const InsertRequest& request);

// The zeros deleting the original writes over the slot's old picture, or
// none with a note when its bytes are shared (as PlanInsertion decides);
// the slot's refusals and NoPicture for an incomplete old stream as there.
std::expected<std::optional<BytePatch>, Error> OldPictureZeros(const RomImage& rom, const InsertRequest& request,
                                                                  std::vector<Note>& notes);

// PlanInsertion at the first place the free-space search finds after `from`
// where the plan stands (request.offset is not used): places no picture
// pointer reaches, and zeros that belong to a table or a picture, are passed
// over. NoRoom when there is none.
std::expected<InsertionPlan, Error> PlanInsertionAtFreePlace(const RomImage& rom, InsertRequest request,
                                                                int64_t from);

} // namespace orv::rom
