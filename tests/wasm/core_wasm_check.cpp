// The core built for wasm32-wasi: a picture coded, put into a ROM made in
// memory as one checked patch list, and read back; its refusals as facts.
// Run under a WASI host (run_wasi.mjs); exits 1 on any mismatch.

#include <algorithm>
#include <cstdio>
#include <vector>

#include "cartridge_header.h"
#include "compression.h"
#include "extraction.h"
#include "insertion.h"
#include "orv_format.h"
#include "rom_layout.h"

namespace {

int passed = 0;
int failed = 0;

void expect(bool ok, const char* what)
{
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAIL %s\n", what);
    }
}

// A 2 MiB English ROM: filler, the language byte, Pokemon 1's record, and
// zeros where the picture goes.
std::vector<uint8_t> makeRom()
{
    std::vector<uint8_t> rom(0x200000, 0x11);
    rom[orv::rom::kLanguageByteLocation] = 'E';
    rom[static_cast<size_t>(orv::rom::BaseDataRecordLocation(orv::rom::RomLanguage::English, 1))] = 1;
    std::fill(rom.begin() + 0x1F0000, rom.begin() + 0x1F8000, 0);
    return rom;
}

} // namespace

int main()
{
    using namespace orv;
    // 40 x 40: a shape the game draws whole in a front slot.
    WorkingPicture picture{40, 40, {}, {kWhite, 0xFFFF00, 0x0000FF, kBlack, kBlack}};
    for (int i = 0; i < 40 * 40; ++i)
        picture.pixels.push_back(picture.palette[static_cast<size_t>(i * 7 % 5 % 4)]);
    auto coded = CodePicture({.picture = &picture, .rawLength = 400, .order = TileOrder::Vertical});
    expect(coded && coded->tileData.size() == 400, "the picture codes");
    if (!coded)
        return 1;

    const rom::RomImage rom(makeRom());
    rom::InsertRequest request{.encoded = coded->encodedData, .offset = 0x1F0002, .slot = rom::Slot{},
                               .colour1 = 0xFFFF00, .colour2 = 0x0000FF, .width = 40, .height = 40};
    auto plan = rom::PlanInsertion(rom, request);
    expect(plan.has_value(), "the insertion is planned");
    if (!plan)
        return 1;
    if (auto checksum = rom::GlobalChecksumPatch(rom, plan->patches))
        plan->patches.push_back(*checksum);
    auto bytes = rom::ApplyPatches(rom, plan->patches);
    expect(bytes.has_value(), "the patches apply");
    const rom::RomImage changed(bytes.value_or(std::vector<uint8_t>{}));
    auto back = rom::ExtractFromRom(changed, {.slot = rom::Slot{}});
    expect(back && back->tileData == coded->tileData, "the slot reads back the tiles");
    expect(back && back->palette.text == "FF03007C", "the slot reads back the palette");
    const auto header = rom::ReadCartridgeHeader(changed.bytes());
    expect(header && header->globalChecksumRight(), "the global checksum is right");

    auto refused = rom::PlanInsertion(
        rom, {.encoded = coded->encodedData, .offset = 0x2000, .slot = rom::Slot{}, .width = 40, .height = 40});
    expect(!refused && refused.error().kind == ErrorKind::Unreachable && refused.error().offset == 0x2000,
           "bank 0 is refused as a fact");
    auto misshapen = rom::PlanInsertion(rom, {.encoded = coded->encodedData, .offset = 0x1F0002,
                                              .slot = rom::Slot{rom::Slot::Kind::Trainer, 1}, .width = 40, .height = 40});
    expect(!misshapen && misshapen.error().kind == ErrorKind::BadShape && misshapen.error().shapes.size() == 1,
           "a shape the slot does not draw is refused as a fact");
    auto orv = EncodeOrv(coded->encodedData, 0xFFFF00, 0x0000FF, 40, 40, TileOrder::Vertical);
    const auto read = orv ? DecodeOrv(*orv) : std::expected<OrvPicture, Error>(std::unexpected(orv.error()));
    expect(read && read->tileData == coded->tileData && read->width == 40, "the own file round-trips");

    std::printf("core_wasm_check: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
