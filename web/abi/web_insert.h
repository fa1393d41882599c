#pragma once
// A decoded picture into a slot, as `orvista-cli insert PICTURE ROM --pokemon
// N` does it: cut to whole tiles over white, colours by the command line's
// rules, coded, placed at the next free place in a shape the game draws
// there, the global checksum last.
// Errors are the command line's English texts or the wizard's German ones.

#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <vector>

#include "rom_image.h"
#include "slot.h"
#include "web_text.h"
#include "working_picture.h"

namespace orv::web {

// Pixels as the browser decodes them: RGBA, rows from the top.
struct SourcePicture {
    std::span<const uint8_t> rgba;
    int width = 0, height = 0;
    std::vector<Colour> colourTable; // an indexed file's own colours, in its order
};

struct CodedPicture {
    std::vector<uint8_t> tileData, stream;
    Colour colour1 = 0, colour2 = 0;
    int width = 0, height = 0;
};

// name: how messages name the picture.
std::expected<CodedPicture, std::string> CodeForSlot(const rom::RomImage& rom, const rom::Slot& slot,
                                                     const SourcePicture& source, const std::string& name,
                                                     Language language);

struct Inserted {
    std::vector<uint8_t> bytes; // the whole ROM as changed
    int64_t dataOffset = 0;
    size_t patches = 0;
    std::string report; // the command line's lines: what went where, then its notes (in the call's language)
};

// romName: how messages and the report name the ROM.
std::expected<Inserted, std::string> InsertCoded(const rom::RomImage& rom, const rom::Slot& slot,
                                                 const CodedPicture& coded, const std::string& romName,
                                                 Language language);

} // namespace orv::web
