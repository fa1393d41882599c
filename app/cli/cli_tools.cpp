// orvista-cli info, encode and decode.

#include <ostream>

#include "binary_file.h"
#include "cli.h"
#include "cli_commands.h"
#include "codec_library.h"
#include "game_text.h"
#include "rom_file.h"
#include "rom_layout.h"

namespace orv::cli {

namespace {

std::string pointerText(const rom::RomFile& rom, int64_t location)
{
    auto offset = rom::ReadPicturePointer(rom, location);
    return offset ? rom::HexText(*offset) : "-";
}

} // namespace

int Info(const Args& args, Streams s)
{
    if (args.positional.size() != 1)
        return Usage(s, "info needs ROM");
    auto rom = rom::RomFile::open(args.positional[0]);
    if (!rom)
        return Failed(s, rom.error().message);
    s.out << "size: " << rom::HexText(rom->size()) << "\n";
    auto language = rom::DetectRomLanguage(*rom);
    if (!language) {
        s.out << "language: unknown\n";
    } else {
        s.out << "language: " << (*language == rom::RomLanguage::German ? "German" : "English") << "\n";
        if (auto base = rom::ReadNameTableBase(*rom, *language))
            s.out << "name table: " << rom::HexText(*base) << "\n";
        if (auto name = rom::ReadPokemonName(rom->path(), 1, 10))
            s.out << "pokemon 1 name: " << name->text << "\n";
    }
    s.out << "pokemon 1 front: " << pointerText(*rom, rom::PicturePointerLocation(false, 1, 1, false))
          << ", back: " << pointerText(*rom, rom::PicturePointerLocation(false, 1, 1, true)) << "\n";
    s.out << "unown 1 front: " << pointerText(*rom, rom::PicturePointerLocation(false, rom::kUnownNumber, 1, false))
          << "\n";
    s.out << "trainer 1: " << pointerText(*rom, rom::PicturePointerLocation(true, 1, 1, false)) << "\n";
    return kExitOk;
}

namespace {

// Reads IN, transforms it, writes OUT.
template <class Transform>
int convert(const Args& args, Streams s, const char* command, Transform transform)
{
    if (args.positional.size() != 2)
        return Usage(s, std::string(command) + " needs IN and OUT");
    auto in = readWholeFile(args.positional[0]);
    if (!in)
        return Failed(s, args.positional[0] + ": " + describeIoError(in.error()));
    auto result = transform(*in);
    if (!result)
        return Failed(s, args.positional[0] + ": " + codec::describe(result.error()));
    if (auto written = writeWholeFile(args.positional[1], *result); !written)
        return Failed(s, args.positional[1] + ": " + describeIoError(written.error()));
    s.out << in->size() << " bytes -> " << result->size() << " bytes\n";
    return kExitOk;
}

} // namespace

int Encode(const Args& args, Streams s)
{
    return convert(args, s, "encode", [](const std::vector<uint8_t>& raw) { return codec::encode(raw); });
}

int Decode(const Args& args, Streams s)
{
    return convert(args, s, "decode", [](const std::vector<uint8_t>& data) {
        auto lengths = codec::measure(data);
        if (!lengths)
            return std::expected<std::vector<uint8_t>, codec::Error>(std::unexpected(lengths.error()));
        return codec::decode(std::span(data).first(static_cast<size_t>(lengths->compressed)),
                             lengths->decompressed);
    });
}

} // namespace orv::cli
