#include "messages_en.h"

#include <cstdio>

#include "system_error_text.h"
#include "text_format.h"

namespace orv::en {

namespace {

using std::to_string;

const char* fieldText(NumberField field)
{
    switch (field) {
    case NumberField::Offset: return "Offset";
    case NumberField::PokemonNumber: return "Pokemon number";
    case NumberField::UnownIndex: return "Unown index";
    case NumberField::TrainerNumber: return "Trainer number";
    case NumberField::NameLength: return "Name length";
    }
    return "Value";
}

const char* partText(RomPart part)
{
    switch (part) {
    case RomPart::PictureData: return "the picture data";
    case RomPart::PointerTable: return "the pointer table";
    case RomPart::Palette: return "the palette";
    case RomPart::Name: return "the name";
    case RomPart::SizeByte: return "the size byte";
    case RomPart::Header: return "the ROM header";
    case RomPart::NameTablePointer: return "the pointer to the name table";
    }
    return "the data";
}

const char* faultText(StreamFault fault)
{
    switch (fault) {
    case StreamFault::BadCopySource: return "A copy command reads outside the data unpacked so far.";
    case StreamFault::NoEndMarker: return "The end marker is missing before the end of the file.";
    case StreamFault::OutputFull: return "The unpacked data would be larger than a picture of 32767 pixels.";
    case StreamFault::TooLong: return "The data is too long.";
    case StreamFault::ShorterThanTile: return "The unpacked data is shorter than one tile (16 bytes).";
    case StreamFault::Corrupt: return "The data is corrupt.";
    }
    return "";
}

// A pair's 4 bytes in file order, as PaletteText writes them.
std::string pairText(int64_t bytes)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08llX", static_cast<unsigned long long>(bytes & 0xFFFFFFFF));
    return text;
}

std::string file(std::string_view path) { return "The file " + Quoted(path); }
std::string system(int code) { return "(" + SystemErrorEnglish(code) + ")"; }
const char* const kNothingWritten = " Nothing was written.";

// "as a Pokemon front picture", as the shape rules name a slot's kind.
const char* slotWords(const rom::Slot& slot)
{
    switch (rom::KindOf(slot)) {
    case rom::SlotKind::PokemonFront: return "as a Pokemon front picture";
    case rom::SlotKind::PokemonBack: return "as a Pokemon back picture";
    case rom::SlotKind::UnownFront: return "as an Unown front picture";
    case rom::SlotKind::UnownBack: return "as an Unown back picture";
    case rom::SlotKind::Trainer: break;
    }
    return "as a trainer picture";
}

// "40 x 40, 48 x 48 or 56 x 56".
std::string shapeList(const std::vector<rom::PictureShape>& shapes)
{
    std::string list;
    for (size_t i = 0; i < shapes.size(); ++i) {
        if (i > 0)
            list += i + 1 < shapes.size() ? ", " : " or ";
        list += to_string(shapes[i].width) + " x " + to_string(shapes[i].height);
    }
    return list;
}

} // namespace

std::string RegionText(Region region, const rom::Slot& slot)
{
    switch (region) {
    case Region::Header: return "the cartridge header";
    case Region::PokemonPointers: return "the Pokemon picture pointer table";
    case Region::UnownPointers: return "the Unown picture pointer table";
    case Region::TrainerPointers: return "the trainer picture pointer table";
    case Region::PokemonPalettes: return "the Pokemon palette table";
    case Region::TrainerPalettes: return "the trainer palette table";
    case Region::BaseData: return "the Pokemon base-data records";
    case Region::NameTable: return "the Pokemon name table";
    case Region::Picture: break;
    }
    const std::string side = slot.back ? " (back)" : " (front)";
    switch (slot.kind) {
    case rom::Slot::Kind::Trainer: return "the picture of trainer " + to_string(slot.number);
    case rom::Slot::Kind::Unown: return "the picture of Unown " + to_string(slot.number) + side;
    case rom::Slot::Kind::Pokemon: break;
    }
    return "the picture of Pokemon " + to_string(slot.number) + side;
}

std::string Text(const Error& e, std::string_view path)
{
    switch (e.kind) {
    case ErrorKind::OpenFailed: return file(path) + " could not be opened " + system(e.systemCode) + ".";
    case ErrorKind::LockOpenFailed:
        return "The ROM file could not be opened " + system(e.systemCode) + "." + kNothingWritten;
    case ErrorKind::ReadFailed: return file(path) + " could not be read " + system(e.systemCode) + ".";
    case ErrorKind::TooLarge:
        return file(path) + " is too large for a ROM at " + to_string(e.value) + " bytes (at most " +
               to_string(e.high) + ").";
    case ErrorKind::Busy:
        return file(path) + " is being changed by another instance of Orvista. Nothing was written; try again later.";
    case ErrorKind::FileChanged: return file(path) + " changed since it was read, nothing was written.";
    case ErrorKind::TemporaryFailed:
        return "No temporary file can be created beside " + Quoted(path) + " " + system(e.systemCode) +
               ", so the ROM cannot be replaced safely." + kNothingWritten;
    case ErrorKind::WriteFailed:
        return file(path) + " could not be written (" + e.text + ", " + SystemErrorEnglish(e.systemCode) +
               "). It is unchanged.";
    case ErrorKind::TargetMissing:
        return file(path) + " does not exist. Pictures can only be inserted into existing files.";
    case ErrorKind::TargetReadOnly: return file(path) + " is read-only. Orvista cannot write into read-only files.";
    case ErrorKind::TargetLinkLoop:
        return Quoted(path) + " is a loop of symbolic links " + system(e.systemCode) +
               ". Pictures can only be inserted into existing files.";
    case ErrorKind::TargetFolder: return Quoted(path) + " is a folder. Pictures can only be inserted into files.";
    case ErrorKind::TargetNotRegular:
        return Quoted(path) +
               " is not a regular file but a device, a pipe or a socket. Pictures can only be inserted into files.";
    case ErrorKind::OwnerNotKept:
    case ErrorKind::GroupNotKept:
    case ErrorKind::AttributesNotKept: {
        std::string was;
        if (e.kind == ErrorKind::OwnerNotKept)
            was = "belongs to another user (user " + e.text + "); replaced, it would belong to you";
        else if (e.kind == ErrorKind::GroupNotKept)
            was = "belongs to the group " + e.text + ", which you are not in; replaced, it would lose that group";
        else
            was = "has extended attributes or ACLs that its replacement cannot get (" +
                  (e.text.empty() ? "" : "attribute " + Quoted(e.text) + ", ") + SystemErrorEnglish(e.systemCode) + ")";
        return file(path) + " " + was + ". Nothing was written; --patch still writes the change as a patch.";
    }
    case ErrorKind::TargetTooSmall:
        return file(path) + " is too small for the picture data (" + to_string(e.value) + " bytes, the data needs " +
               to_string(e.high) + ").";
    case ErrorKind::TooShort:
        return file(path) + " is too short for " + partText(e.part) + " (needs up to " + HexEnglish(e.high) +
               ", file length " + HexEnglish(e.value) + ").";
    case ErrorKind::LanguageUnknown: return "The language of the ROM could not be recognised.";
    case ErrorKind::NotThisGameLanguage:
    case ErrorKind::NotThisGameNoPicture:
        return Quoted(path) + " is not a ROM of Pokemon Gold or Silver (English or German): " +
               (e.kind == ErrorKind::NotThisGameLanguage ? "the header's language byte is neither D nor E."
                                                         : "no picture pointer leads to a picture.");
    case ErrorKind::OutOfRange: {
        // Offsets as the command line writes them.
        const auto number = [&](int64_t v) {
            return e.field == NumberField::Offset && v >= 0 ? HexEnglish(v) : to_string(v);
        };
        return std::string(fieldText(e.field)) + " " + number(e.value) + " is outside the allowed range " +
               number(e.low) + " to " + number(e.high) + ".";
    }
    case ErrorKind::CodecMissing: return "The library libvexlib.so could not be loaded: " + e.text;
    case ErrorKind::NoPicture:
        return "There is no complete picture data at offset " + HexEnglish(e.offset) + " in the file " +
               Quoted(path) + ". " + faultText(e.fault);
    case ErrorKind::TooNarrow:
        return std::string(e.high ? "The given width " : "The given height ") + to_string(e.value) +
               " is less than 8 pixels.";
    case ErrorKind::PictureTooLarge:
        return "At " + to_string(e.low) + " x " + to_string(e.high) +
               " pixels the picture would be larger than 32767 pixels.";
    case ErrorKind::NoData: return "There is no picture data to write.";
    case ErrorKind::Unreachable:
        return "Offset " + HexEnglish(e.offset) +
               " cannot be reached by any picture pointer (not possible in bank 0, in the banks 0x13 and 0x14 and "
               "from 0x400000 on). Please choose another offset.";
    case ErrorKind::PastBank:
        return "The picture data (" + to_string(e.value) + " bytes from " + HexEnglish(e.offset) +
               ") runs past the end of bank " + HexEnglish(e.high) +
               "; the game reads a picture only within one bank. Please choose another offset.";
    case ErrorKind::InTheWay:
        return "The picture data (" + to_string(e.value) + " bytes from " + HexEnglish(e.offset) +
               ") would overwrite " + RegionText(e.region, e.slot) + " (" + HexEnglish(e.low) + " to " +
               HexEnglish(e.high - 1) + ")." + kNothingWritten;
    case ErrorKind::NotAStream:
        return std::string("The picture data is not a complete stream the game can read.") + kNothingWritten;
    case ErrorKind::SizeMismatch:
        return "The picture size " + to_string(e.low) + " x " + to_string(e.high) +
               " does not match the picture data (" + to_string(e.value) + " tiles)." + kNothingWritten;
    case ErrorKind::OldPictureBroken:
        return "The old picture at offset " + HexEnglish(e.offset) +
               " cannot be deleted because there is no complete picture data there. Nothing was written; without "
               "\"Delete Original Picture\" the picture can be inserted.";
    case ErrorKind::NoRoom:
        return "No free place for " + to_string(e.value) + " bytes after offset " + HexEnglish(e.offset) +
               " found." + kNothingWritten;
    case ErrorKind::BadShape:
        return "The picture is " + to_string(e.low) + " x " + to_string(e.high) + " pixels; " + slotWords(e.slot) +
               " the game draws only pictures of " + shapeList(e.shapes) + " pixels correctly" +
               (e.value ? ", the size that the size byte all 26 Unown share holds now." : ".");
    case ErrorKind::UnownRecord:
        return "The record at offset " + HexEnglish(e.offset) + " does not belong to Pokemon 201 (found: " +
               to_string(e.value) + "), so the size in which the game draws the Unown front pictures is unknown.";
    case ErrorKind::TooManyTiles:
        return "The picture with " + to_string(e.low) + " x " + to_string(e.high) +
               " tiles does not fit the size byte (1 to 9 tiles each way)." + kNothingWritten;
    case ErrorKind::EmptyName:
        return "The new name is empty. A Pokemon is not left without a name; please give one.";
    case ErrorKind::NameUnencodable:
        return "The name " + Quoted(e.text) + " contains the character " + Quoted(e.other) +
               ", which the game's character table cannot encode.";
    case ErrorKind::NameTooLong:
        return "The name " + Quoted(e.text) + " needs " + to_string(e.value) + " bytes, but the ROM only has room for " +
               to_string(e.high) + ".";
    case ErrorKind::IpsTooLarge:
        return "An IPS patch reaches only the first 16 MiB, but the ROM has " + to_string(e.value) +
               " bytes; write a BPS patch instead.";
    case ErrorKind::IpsShortens:
        return "An IPS patch cannot shorten a file (from " + to_string(e.low) + " to " + to_string(e.high) +
               " bytes).";
    case ErrorKind::TooManyColours:
        return "The picture has more than 255 colours besides black and white. Please reduce the number of colours "
               "and load the picture again.";
    case ErrorKind::CompressCodecMissing:
        return "The picture data could not be compressed: the library libvexlib.so is missing or damaged.";
    case ErrorKind::CompressFailed: return "The picture data could not be compressed.";
    case ErrorKind::OrvTooLarge:
        return "The picture is too large for an ORV file: width and height may be at most 255 pixels.";
    case ErrorKind::OrvNotAStream:
        return "The picture data is not a complete compressed data stream and is not saved.";
    case ErrorKind::OrvCheckCodecMissing:
        return "The picture data could not be checked: the library libvexlib.so is missing or damaged.";
    case ErrorKind::OrvWriteFailed: return file(path) + " could not be written " + system(e.systemCode) + ".";
    case ErrorKind::OrvUnreadable: return file(path) + " could not be read.";
    case ErrorKind::OrvCodecMissing:
        return file(path) + " could not be read: the library libvexlib.so is missing or damaged.";
    case ErrorKind::OrvDataTooLarge: return "The picture data in the file " + Quoted(path) + " is too large.";
    case ErrorKind::OrvInvalidStream: return file(path) + " contains no valid picture data stream.";
    case ErrorKind::OrvTooShort:
        return file(path) +
               " is too short for an ORV file: the palette, size or tile order after the picture data is missing.";
    case ErrorKind::OrvNoSize:
        return file(path) +
               " gives no picture size, and its picture data does not make a picture of 1 to 255 pixels a side.";
    case ErrorKind::OrvSizeMismatch:
        return file(path) + " gives the picture size " + to_string(e.low) + " x " + to_string(e.high) +
               " pixels, which does not match its picture data (" + to_string(e.value) +
               " bytes; width x height / 4 are needed, and each side must be at least 8 pixels).";
    case ErrorKind::BitmapEmpty: return "There is no picture to save.";
    case ErrorKind::BitmapWriteFailed:
        return "The picture file " + Quoted(path) + " could not be written " + system(e.systemCode) + ".";
    case ErrorKind::SourceMissing: return file(path) + " could not be found.";
    case ErrorKind::SourceUnreadable: return file(path) + " could not be read " + system(e.systemCode) + ".";
    case ErrorKind::SourceTruncated:
        return "The picture file " + Quoted(path) + " is incomplete: its headers announce " + to_string(e.value) +
               " bytes, but it has only " + to_string(e.high) + ".";
    case ErrorKind::NotAPicture: return file(path) + " is not a readable picture file (GIF, BMP, ICO, CUR or PNG).";
    case ErrorKind::SourceTooSmall:
        return "The picture " + Quoted(path) + " is too small: it must be at least 8 pixels wide and 8 pixels high.";
    case ErrorKind::SourceTooLarge:
        return "The picture " + Quoted(path) + " is too large to process: " + to_string(e.low) + " x " +
               to_string(e.high) + " pixels, at most " + to_string(e.value) + " pixels a side and " +
               to_string(e.limit) + " pixels in all.";
    case ErrorKind::SourceFormatTooLarge:
        return "The picture file " + Quoted(path) + " is too large: its format takes " + to_string(e.value) +
               " bytes, at most " + to_string(e.limit) + " are read.";
    case ErrorKind::SlotConflict: return e.text + " and " + e.other + " are one slot but hold different pictures.";
    case ErrorKind::BatchNoRoom:
        return e.text + " needs " + to_string(e.value) + " bytes (with 2 zero bytes before them), " +
               "but the largest free run is " + to_string(e.low) + " bytes" +
               (e.low ? " at " + HexEnglish(e.offset) : std::string()) + ".";
    case ErrorKind::PaletteConflict:
        return e.text + " and " + e.other + " give one palette different colours (" + pairText(e.low) + " and " +
               pairText(e.high) + "); they must agree.";
    }
    return "Unknown error.";
}

std::string Text(const Note& n)
{
    const std::string sizeByte = "The size byte of the picture was not written: ";
    switch (n.kind) {
    case NoteKind::SizeByteLanguageUnknown: return sizeByte + "the language of the ROM could not be recognised.";
    case NoteKind::SizeByteRecord:
        return sizeByte + "the record at offset " + HexEnglish(n.offset) + " does not belong to Pokemon " +
               to_string(n.value) + " (found: " + to_string(n.low) + ").";
    case NoteKind::OldPictureKept:
        return "The old picture at offset " + HexEnglish(n.offset) +
               " was left in place, because deleting it would also hit " + RegionText(n.region, n.slot) + ".";
    case NoteKind::PaletteShared:
        return n.text + " and " + n.other + " share one palette but give different colours; " + n.text +
               "'s are written.";
    }
    return {};
}

std::string Text(const rom::PalFileError& e, std::string_view path)
{
    const std::string where = file(path) + (e.kind == rom::PalFileError::Kind::WrongLineCount
                                                ? ""
                                                : " (line " + to_string(e.line) + ")");
    switch (e.kind) {
    case rom::PalFileError::Kind::NotAColourLine:
        return where + " holds a line that is not \"RGB r, g, b\" with numbers 0 to 31.";
    case rom::PalFileError::Kind::ComponentTooLarge:
        return where + " gives the colour component " + to_string(e.value) + "; a component is 0 to 31.";
    case rom::PalFileError::Kind::WrongLineCount:
        return where + " holds " + to_string(e.line) + " colour lines; a palette file holds two (colour 1, colour 2).";
    }
    return where + " is not a palette file.";
}

std::string Text(const rom::PackSkipped& skipped, rom::GameVersion version)
{
    const char* edition = version == rom::GameVersion::Gold ? "Gold" : "Silver";
    const std::string instead = skipped.instead.empty() ? "" : "; " + skipped.instead + " is used";
    switch (skipped.why) {
    case rom::PackSkip::OtherEdition:
    case rom::PackSkip::EditionFront: return std::string("not used (the ROM is ") + edition + instead + ")";
    case rom::PackSkip::EditionUnknown:
        return "not used (the ROM's header names neither Gold nor Silver" + instead + ")";
    case rom::PackSkip::Duplicate: return "not used (the same file as " + skipped.instead + ")";
    }
    return "not used";
}

std::string Text(const rom::BatchStep& step, const std::vector<rom::BatchItem>& items)
{
    const std::string bytes = std::to_string(step.bytes) + " bytes";
    switch (step.outcome) {
    case rom::BatchOutcome::Unchanged: return "unchanged";
    case rom::BatchOutcome::SameAs: return "the same as " + items[step.sameAs].name;
    case rom::BatchOutcome::InPlace:
        return "replaced in place at " + HexEnglish(step.offset) + ", " + bytes + " (were " +
               std::to_string(step.oldBytes) + ")";
    case rom::BatchOutcome::Recoloured: return "recoloured: only the palette at " + HexEnglish(step.offset);
    case rom::BatchOutcome::PaletteSet: return "palette set at " + HexEnglish(step.offset);
    case rom::BatchOutcome::Moved: break;
    }
    std::string was;
    switch (step.from) {
    case rom::OldPlace::OutsideRom: was = "a pointer outside the ROM"; break;
    case rom::OldPlace::Zeroed:
        was = HexEnglish(step.fromOffset) + " (" + std::to_string(step.oldBytes) + " bytes)";
        break;
    case rom::OldPlace::NoPicture: was = HexEnglish(step.fromOffset) + " (no complete picture there)"; break;
    case rom::OldPlace::Shared: was = HexEnglish(step.fromOffset) + " (left there: shared)"; break;
    }
    return "moved from " + was + " to " + HexEnglish(step.offset) + ", " + bytes;
}

std::string Text(const rom::PackIgnored& ignored)
{
    return "ignored (not part of the layout" +
           (ignored.files > 1 ? "; " + std::to_string(ignored.files) + " files" : std::string()) + ")";
}

std::string FlatIgnoredText() { return "ignored (not named as extract-all names pictures)"; }

std::string MisshapenBatchText(size_t pictures, bool unownFront)
{
    const bool one = pictures == 1;
    return std::to_string(pictures) + (one ? " picture" : " pictures") + " cannot go into " +
           (one ? "its slot" : "their slots") + " as named above. Nothing was written." +
           (unownFront ? " The Unown fronts take a new size only all 26 together, in one shape." : "");
}

std::string CodecText(codec::Error error)
{
    switch (error) {
    case codec::Error::NoEndMarker: return "no end marker before the end of the data";
    case codec::Error::BadCopySource: return "a copy reads outside the output written so far";
    case codec::Error::OutputFull: return "output larger than the space given";
    case codec::Error::Io: return "file could not be read";
    case codec::Error::TooLong: return "length out of range";
    case codec::Error::LibraryMissing: return "libvexlib.so could not be loaded: " + codec::LoadProblem();
    }
    return "unknown codec error";
}

const char* PatchName(rom::PatchKind kind)
{
    switch (kind) {
    case rom::PatchKind::ZeroOldPicture: return "zeros over the old picture";
    case rom::PatchKind::PictureData: return "picture data";
    case rom::PatchKind::Palette: return "palette";
    case rom::PatchKind::Name: return "name";
    case rom::PatchKind::PicturePointer: return "picture pointer";
    case rom::PatchKind::SizeByte: return "size byte";
    case rom::PatchKind::Checksum: return "global checksum";
    }
    return "?";
}

} // namespace orv::en
