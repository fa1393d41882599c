#pragma once
// What went wrong, as facts: a kind and the values involved. The faces make
// the texts (German in the wizard, English on the command line) and give the
// path a message names; the core knows no path.

#include <cstdint>
#include <string>
#include <vector>

#include "picture_shape.h"
#include "slot.h"

namespace orv {

// The numbers a request carries, as OutOfRange names them.
enum class NumberField { Offset, PokemonNumber, UnownIndex, TrainerNumber, NameLength };

// The places in a ROM that TooShort names when the file ends before them.
enum class RomPart { PictureData, PointerTable, Palette, Name, SizeByte, Header, NameTablePointer };

// What lies where picture data may not go: a table, or a slot's picture.
enum class Region {
    Header,
    PokemonPointers,
    UnownPointers,
    TrainerPointers,
    PokemonPalettes,
    TrainerPalettes,
    BaseData,
    NameTable,
    Picture,
};

// Why no complete picture lies at an offset.
enum class StreamFault { BadCopySource, NoEndMarker, OutputFull, TooLong, ShorterThanTile, Corrupt };

// The fields each kind fills are named beside it; the others stay 0 or empty.
enum class ErrorKind {
    // Files, at the edges. systemCode is errno (0 for an unexpected end).
    OpenFailed,        // systemCode
    LockOpenFailed,    // systemCode; the insertion's own wording
    ReadFailed,        // systemCode
    TooLarge,          // value: the file's size, high: the most a ROM may have
    Busy,              // another instance holds the ROM's lock
    FileChanged,       // the ROM changed between planning and writing
    TemporaryFailed,   // systemCode: no temporary file beside the ROM
    WriteFailed,       // systemCode, text: the step ("write", "flush", "close", "rename")
    TargetMissing,     // the ROM target does not exist (or is a folder)
    TargetReadOnly,    // the ROM target is read-only
    TargetLinkLoop,    // systemCode: a loop of symbolic links
    TargetFolder,      // the ROM target is a folder
    TargetNotRegular,  // the ROM target is a device, a pipe or a socket
    OwnerNotKept,      // text: the ROM's owner (user id), which a replacement would lose
    GroupNotKept,      // text: the ROM's group, which you are not in
    AttributesNotKept, // systemCode, text: the attribute (may be empty) a replacement cannot get
    TargetTooSmall,    // value: the target's length, high: the bytes the data needs
    // A ROM's content and a request's numbers.
    TooShort,          // part, high: the end needed, value: the ROM's length
    LanguageUnknown,   // the header's language byte is neither D nor E
    NotThisGameLanguage,  // as a ROM of these games: the language byte is neither D nor E
    NotThisGameNoPicture, // as a ROM of these games: no picture pointer leads to a picture
    OutOfRange,        // field, value, low, high
    CodecMissing,      // text: why the codec could not be loaded
    NoPicture,         // offset, fault
    TooNarrow,         // value; high 1 for the width, 0 for the height
    PictureTooLarge,   // low: width, high: height (more than 32767 pixels)
    NoData,            // no picture data to write
    Unreachable,       // offset: no picture pointer leads there
    PastBank,          // offset, value: data bytes, high: the bank
    InTheWay,          // offset, value: data bytes, region (slot for a picture), low .. high - 1
    NotAStream,        // the data is no complete stream the game can read
    SizeMismatch,      // low x high: the picture size, value: the tiles of the data
    OldPictureBroken,  // offset: the slot's old picture is no complete stream
    NoRoom,            // value: data bytes, offset: where the search started
    BadShape,          // low x high pixels, slot; shapes the game draws there; value 1: the Unown fronts' shared size byte
    UnownRecord,       // offset: the record of Pokemon 201, value: the number found there
    TooManyTiles,      // low x high tiles do not fit a front picture's size byte
    EmptyName,         // a new name without a character
    NameUnencodable,   // text: the name, other: the character
    NameTooLong,       // text: the name, value: bytes needed, high: bytes of room
    IpsTooLarge,       // value: the ROM's size
    IpsShortens,       // low: the source's size, high: the target's
    // Pictures and picture files.
    TooManyColours,       // more than 255 colours besides black and white
    CompressCodecMissing, // the codec is missing while compressing
    CompressFailed,       // the codec refused the tile data
    OrvTooLarge,          // a side beyond 255 pixels
    OrvNotAStream,        // the data to save is no complete stream
    OrvCheckCodecMissing, // the codec is missing while checking the data to save
    OrvWriteFailed,       // systemCode
    OrvUnreadable,        // the file could not be read
    OrvCodecMissing,      // the codec is missing while reading
    OrvDataTooLarge,      // the stream unpacks beyond the largest picture
    OrvInvalidStream,     // no valid stream at the start
    OrvTooShort,          // the trailer after the stream is missing
    OrvNoSize,            // no size, and no square of 1 .. 255 pixels a side
    OrvSizeMismatch,      // low x high: the size given, value: bytes of tile data
    BitmapEmpty,          // no picture to save
    BitmapWriteFailed,    // systemCode
    SourceMissing,        // the picture file does not exist
    SourceUnreadable,     // systemCode
    SourceTruncated,      // value: the bytes its headers announce, high: the bytes it has
    NotAPicture,          // no GIF, BMP, ICO, CUR or PNG
    SourceTooSmall,       // under 8 x 8 pixels
    SourceTooLarge,       // low x high pixels; value: the longest side, limit: the most pixels taken
    SourceFormatTooLarge, // value: the bytes its format takes, limit: the most read
    // Batches (several pictures into their slots at once).
    SlotConflict,     // text, other: two items for one slot with different pictures
    BatchNoRoom,      // text: the item, value: data bytes, low: the largest run, offset: where it lies
    PaletteConflict,  // text, other: two items give one palette different pairs; low, high: their 4 bytes in
                      // file order, as 32-bit numbers (0xFF03007C for FF 03 00 7C)
};

struct Error {
    ErrorKind kind{};
    int64_t offset = 0;
    int64_t value = 0;
    int64_t low = 0, high = 0;
    int64_t limit = 0;
    int systemCode = 0;
    NumberField field{};
    RomPart part{};
    Region region{};
    rom::Slot slot;
    StreamFault fault{};
    std::vector<rom::PictureShape> shapes;
    std::string text, other;
};

// Something the user is told although the work goes ahead.
enum class NoteKind {
    SizeByteLanguageUnknown,// the size byte was left: the language is unknown
    SizeByteRecord,         // offset: the record, value: the Pokemon, low: the number found there
    OldPictureKept,         // offset: the old picture, region (slot) that shares its bytes
    PaletteShared,          // text, other: two items share one palette with different colours
};

struct Note {
    NoteKind kind{};
    int64_t offset = 0;
    int64_t value = 0;
    int64_t low = 0, high = 0;
    Region region{};
    rom::Slot slot;
    std::string text, other;
};

// Short forms of the common facts.
Error OutOfRangeError(NumberField field, int64_t value, int64_t low, int64_t high);
Error TooShortError(RomPart part, int64_t end, int64_t size);
Error CodecMissingError(std::string detail);

} // namespace orv
