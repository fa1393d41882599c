// orv_web.h over the core: each call builds what it needs from the caller's
// buffers and leaves nothing behind.

#include "orv_web.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "batch_plan.h"
#include "byte_patch.h"
#include "cartridge_header.h"
#include "colours.h"
#include "compression.h"
#include "error.h"
#include "extraction.h"
#include "game_text.h"
#include "gbc_color.h"
#include "insertion.h"
#include "messages_en.h"
#include "palette_file.h"
#include "patch_file.h"
#include "rom_identity.h"
#include "rom_image.h"
#include "rom_layout.h"
#include "slot.h"
#include "space_map.h"
#include "tiles.h"
#include "web_edit.h"
#include "web_insert.h"
#include "web_pack.h"

namespace {

using namespace orv;
using rom::Slot;

// As `orvista-cli space` counts free bytes by default.
constexpr int64_t kFreeRunBytes = 64;
constexpr int kNameLength = 10;

const std::vector<Slot>& slots() { return rom::AllPictureSlots(); }

std::span<const uint8_t> bytesOf(const uint8_t* data, uint32_t size) { return {data, data ? size : 0}; }

void putText(char* text, uint32_t capacity, const std::string& message)
{
    if (!text || capacity == 0)
        return;
    const size_t n = std::min<size_t>(message.size(), capacity - 1);
    std::memcpy(text, message.data(), n);
    text[n] = '\0';
}

OrvStatus refuse(char* text, uint32_t capacity, const std::string& message)
{
    putText(text, capacity, message);
    return ORV_REFUSED;
}

std::string nameOf(const char* name) { return name ? name : ""; }

// The picture of a slot, as extraction reads it.
std::expected<rom::ExtractedPicture, Error> slotPicture(const rom::RomImage& rom, const Slot& slot)
{
    return rom::ExtractFromRom(rom, rom::ExtractRequest{.slot = slot});
}

} // namespace

extern "C" {

void* orv_alloc(uint32_t size) { return std::malloc(size ? size : 1); }
void orv_free(void* pointer) { std::free(pointer); }
uint32_t orv_slot_count(void) { return static_cast<uint32_t>(slots().size()); }

OrvStatus orv_rom_info(const uint8_t* data, uint32_t size, const char* file_name, OrvRomInfo* info, uint32_t language,
                       char* text, uint32_t text_capacity)
{
    if (!info || (!data && size))
        return ORV_BAD_ARGUMENT;
    *info = {};
    const auto bytes = bytesOf(data, size);
    const rom::RomImage rom(bytes);
    info->size = size;
    const rom::RomIdentity identity = rom::IdentifyRom(bytes);
    info->crc32 = identity.crc32;
    std::copy(identity.sha1.begin(), identity.sha1.end(), info->sha1);
    info->edition = identity.edition.version == rom::GameVersion::Gold     ? ORV_GOLD
                    : identity.edition.version == rom::GameVersion::Silver ? ORV_SILVER
                                                                           : ORV_EDITION_UNKNOWN;
    info->retail = identity.unchangedRetail;
    if (const auto header = rom::ReadCartridgeHeader(bytes)) {
        putText(info->title, sizeof info->title, header->title);
        putText(info->game_code, sizeof info->game_code, header->gameCode);
        info->header_checksum = header->headerChecksum;
        info->header_checksum_computed = header->headerChecksumComputed;
        info->global_checksum = header->globalChecksum;
        info->global_checksum_computed = header->globalChecksumComputed;
    }
    const auto romLanguage = rom::DetectRomLanguage(rom);
    if (romLanguage)
        info->language = *romLanguage == rom::RomLanguage::German ? 'D' : 'E';
    for (const Slot& slot : slots())
        info->sound_pictures += slotPicture(rom, slot).has_value();
    if (auto space = rom::MapSpace(rom, kFreeRunBytes)) {
        info->free_bytes = static_cast<uint32_t>(space->freeBytes);
        info->free_runs = static_cast<uint32_t>(space->runs);
    }
    // As `orvista-cli info` judges a file: no game without a language or a picture.
    if (!romLanguage || info->sound_pictures == 0)
        return refuse(
            text, text_capacity,
            web::Text(web::LanguageOf(language),
                      {.kind = romLanguage ? ErrorKind::NotThisGameNoPicture : ErrorKind::NotThisGameLanguage},
                      nameOf(file_name)));
    return ORV_OK;
}

OrvStatus orv_slots(const uint8_t* data, uint32_t size, OrvSlot* out, uint32_t capacity)
{
    if (!out || (!data && size) || capacity < slots().size())
        return ORV_BAD_ARGUMENT;
    const rom::RomImage rom(bytesOf(data, size));
    std::vector<std::string> names;
    if (auto read = rom::ReadPokemonNames(rom, kNameLength))
        names = std::move(*read);
    for (size_t i = 0; i < slots().size(); ++i) {
        const Slot& slot = slots()[i];
        OrvSlot& s = out[i];
        s = {};
        s.kind = slot.kind == Slot::Kind::Trainer ? ORV_TRAINER
                 : slot.kind == Slot::Kind::Unown ? ORV_UNOWN
                                                  : ORV_POKEMON;
        s.number = static_cast<int32_t>(slot.number);
        s.back = slot.back;
        s.offset = -1;
        s.stream_bytes = -1;
        if (auto offset = rom::ReadPicturePointer(rom, rom::PointerLocation(slot))) {
            s.offset = static_cast<int32_t>(*offset);
            s.bank = static_cast<int32_t>(*offset / rom::kBankSize);
        }
        if (auto picture = slotPicture(rom, slot)) {
            s.stream_bytes = static_cast<int32_t>(picture->stream.size());
            s.width = picture->width;
            s.height = picture->height;
        }
        for (bool shiny : {false, true}) {
            Slot coloured = slot;
            coloured.shiny = shiny && !rom::IsTrainer(slot);
            if (auto pair = rom::SlotPalettePair(rom, coloured)) {
                const auto colours = PairColours(*pair);
                std::copy(colours.begin(), colours.end(), shiny ? s.shiny : s.normal);
            }
        }
        const int pokemon = rom::PaletteNumber(slot);
        if (!rom::IsTrainer(slot) && pokemon >= 1 && static_cast<size_t>(pokemon) <= names.size())
            putText(s.name, sizeof s.name, names[static_cast<size_t>(pokemon - 1)]);
    }
    return ORV_OK;
}

OrvStatus orv_slot_shades(const uint8_t* data, uint32_t size, uint32_t first, uint32_t count, uint8_t* shades,
                          uint32_t capacity, int32_t* layout, uint32_t* needed)
{
    if (!layout || !needed || (!data && size) || first > slots().size() || count > slots().size() - first)
        return ORV_BAD_ARGUMENT;
    const rom::RomImage rom(bytesOf(data, size));
    std::vector<rom::ExtractedPicture> pictures(count);
    uint32_t total = 0;
    for (uint32_t i = 0; i < count; ++i) {
        int32_t* place = layout + 3 * i;
        place[0] = static_cast<int32_t>(total);
        place[1] = place[2] = 0;
        auto picture = slotPicture(rom, slots()[first + i]);
        if (!picture)
            continue;
        place[1] = picture->width;
        place[2] = picture->height;
        total += static_cast<uint32_t>(picture->width * picture->height);
        pictures[i] = std::move(*picture);
    }
    *needed = total;
    if (total > capacity || (!shades && total))
        return ORV_BUFFER_SMALL;
    // Shade indices as the command line writes extracted pictures: tiles decoded with the palette 0, 1, 2, 3.
    const Palette indices{0, 1, 2, 3, 3};
    for (uint32_t i = 0; i < count; ++i) {
        const rom::ExtractedPicture& p = pictures[i];
        if (p.width == 0)
            continue;
        const auto grid = DecodeTiles(p.tileData, indices, p.width, p.height, TileOrder::Vertical);
        uint8_t* out = shades + layout[3 * i];
        for (int t = 0; t < p.height; ++t)
            for (int x = 0; x < p.width; ++x) {
                const Colour shade = grid[static_cast<size_t>(p.height - 1 - t) * p.width + x];
                out[t * p.width + x] = static_cast<uint8_t>(shade <= 3 ? shade : 0);
            }
    }
    return ORV_OK;
}

OrvStatus orv_insert(const uint8_t* data, uint32_t size, const char* rom_name, uint32_t slot_index,
                     const char* picture_name, const uint8_t* rgba, int32_t width, int32_t height,
                     const uint32_t* colour_table, uint32_t colour_count, uint8_t* new_rom, uint32_t new_rom_capacity,
                     OrvInsertion* insertion, uint32_t language, char* text, uint32_t text_capacity)
{
    if (!insertion || !new_rom || (!data && size) || slot_index >= slots().size() || width < 0 || height < 0 ||
        (!rgba && width && height) || (!colour_table && colour_count) || new_rom_capacity < size)
        return ORV_BAD_ARGUMENT;
    *insertion = {};
    const Slot& slot = slots()[slot_index];
    const std::string romName = nameOf(rom_name), pictureName = nameOf(picture_name);
    const rom::RomImage rom(bytesOf(data, size));

    web::SourcePicture source{.rgba = std::span(rgba, static_cast<size_t>(width) * height * 4),
                              .width = width,
                              .height = height,
                              .colourTable = std::vector<Colour>(colour_table, colour_table + colour_count)};
    const web::Language lang = web::LanguageOf(language);
    auto coded = web::CodeForSlot(rom, slot, source, pictureName, lang);
    if (!coded)
        return refuse(text, text_capacity, coded.error());
    auto done = web::InsertCoded(rom, slot, *coded, romName, lang);
    if (!done)
        return refuse(text, text_capacity, done.error());
    std::copy(done->bytes.begin(), done->bytes.end(), new_rom);
    insertion->rom_size = static_cast<uint32_t>(done->bytes.size());
    insertion->data_offset = static_cast<int32_t>(done->dataOffset);
    insertion->stream_bytes = static_cast<int32_t>(coded->stream.size());
    insertion->width = coded->width;
    insertion->height = coded->height;
    insertion->patches = static_cast<int32_t>(done->patches);
    putText(text, text_capacity, done->report);
    return ORV_OK;
}

OrvStatus orv_make_patch(uint32_t format, const uint8_t* base, uint32_t base_size, const uint8_t* target,
                         uint32_t target_size, uint8_t* patch, uint32_t capacity, uint32_t* patch_size,
                         uint32_t language, char* text, uint32_t text_capacity)
{
    if (!patch_size || format > ORV_IPS || (!base && base_size) || (!target && target_size))
        return ORV_BAD_ARGUMENT;
    auto made = rom::MakePatch(format == ORV_BPS ? rom::PatchFormat::Bps : rom::PatchFormat::Ips,
                               bytesOf(base, base_size), bytesOf(target, target_size));
    if (!made)
        return refuse(text, text_capacity, web::Text(web::LanguageOf(language), made.error()));
    *patch_size = static_cast<uint32_t>(made->size());
    if (made->size() > capacity || !patch)
        return ORV_BUFFER_SMALL;
    std::copy(made->begin(), made->end(), patch);
    return ORV_OK;
}

} // extern "C"

// ---- Picture folders, the space map and extract-all's files ----

namespace {

OrvStatus putOutput(const std::string& text, char* out, uint32_t capacity, uint32_t* needed)
{
    *needed = static_cast<uint32_t>(text.size() + 1);
    if (!out || *needed > capacity)
        return ORV_BUFFER_SMALL;
    std::memcpy(out, text.c_str(), text.size() + 1);
    return ORV_OK;
}

} // namespace

extern "C" {

OrvStatus orv_folder_needs(const uint8_t* data, uint32_t size, const uint8_t* folder, uint32_t folder_size,
                           uint8_t* read, uint32_t read_capacity, uint32_t* layout)
{
    if (!layout || (!data && size) || (!folder && folder_size))
        return ORV_BAD_ARGUMENT;
    const auto entries = web::ParseFolder(bytesOf(folder, folder_size));
    if (!entries || entries->size() > read_capacity || (!read && !entries->empty()))
        return ORV_BAD_ARGUMENT;
    const web::FolderNeeds needs = web::NeedsOfFolder(*entries, rom::RomImage(bytesOf(data, size)));
    std::ranges::copy(needs.read, read);
    *layout = needs.layout;
    return ORV_OK;
}

OrvStatus orv_folder_plan(const uint8_t* data, uint32_t size, const char* rom_name, const char* folder_name,
                          const uint8_t* folder, uint32_t folder_size, uint32_t any_shape, uint8_t* new_rom,
                          uint32_t new_rom_capacity, uint32_t language, char* report, uint32_t report_capacity,
                          uint32_t* needed)
{
    if (!needed || !new_rom || (!data && size) || (!folder && folder_size) || new_rom_capacity < size)
        return ORV_BAD_ARGUMENT;
    const auto entries = web::ParseFolder(bytesOf(folder, folder_size));
    if (!entries)
        return ORV_BAD_ARGUMENT;
    const rom::RomImage rom(bytesOf(data, size));
    auto plan = web::PlanFolder(*entries, rom, nameOf(rom_name), nameOf(folder_name), any_shape != 0,
                                web::LanguageOf(language));
    if (!plan)
        return ORV_BAD_ARGUMENT;
    if (const OrvStatus put = putOutput(plan->report, report, report_capacity, needed); put != ORV_OK)
        return put;
    if (!plan->ok)
        return ORV_REFUSED;
    if (plan->bytes.size() > new_rom_capacity)
        return ORV_BAD_ARGUMENT;
    std::ranges::copy(plan->bytes, new_rom);
    return ORV_OK;
}

OrvStatus orv_space_map(const uint8_t* data, uint32_t size, const char* rom_name, uint32_t min_run, uint32_t language,
                        char* json, uint32_t capacity, uint32_t* needed)
{
    if (!needed || (!data && size) || min_run < 1)
        return ORV_BAD_ARGUMENT;
    auto map = web::SpaceMapJson(rom::RomImage(bytesOf(data, size)), nameOf(rom_name), min_run,
                                 web::LanguageOf(language));
    if (!map) {
        putText(json, capacity, map.error());
        return ORV_REFUSED;
    }
    return putOutput(*map, json, capacity, needed);
}

OrvStatus orv_extract_files(const uint8_t* data, uint32_t size, const char* rom_name, uint32_t layout, uint8_t* out,
                            uint32_t capacity, uint32_t* needed)
{
    if (!needed || (!data && size) || layout > 1)
        return ORV_BAD_ARGUMENT;
    const auto files = web::ExtractFiles(rom::RomImage(bytesOf(data, size)), nameOf(rom_name), layout == 1);
    *needed = static_cast<uint32_t>(files.size());
    if (!out || files.size() > capacity)
        return ORV_BUFFER_SMALL;
    std::ranges::copy(files, out);
    return ORV_OK;
}

} // extern "C"

// ---- Editing: palette pairs, names, .pal files ----------------------------

namespace {

// The slot with its shiny choice; none for an index out of range or a
// trainer's shiny pair.
std::optional<Slot> paletteSlot(uint32_t index, uint32_t shiny)
{
    if (index >= slots().size() || shiny > 1)
        return std::nullopt;
    Slot slot = slots()[index];
    if (shiny && rom::IsTrainer(slot))
        return std::nullopt;
    slot.shiny = shiny == 1;
    slot.back = false;
    return slot;
}

OrvStatus putEdit(const web::Edited& edited, uint8_t* new_rom, OrvEdit* edit)
{
    std::copy(edited.bytes.begin(), edited.bytes.end(), new_rom);
    const rom::BytePatch& change = edited.patches.front();
    *edit = {.rom_size = static_cast<uint32_t>(edited.bytes.size()),
             .offset = static_cast<int32_t>(change.offset),
             .length = static_cast<int32_t>(change.bytes.size()),
             .changed = static_cast<int32_t>(edited.changedBytes),
             .patches = static_cast<int32_t>(edited.patches.size())};
    return ORV_OK;
}

} // namespace

extern "C" {

uint32_t orv_game_colour(uint32_t colour) { return FromGbcColor(ToGbcColor(colour)); }

uint32_t orv_name_length(void) { return web::kNameLength; }

OrvStatus orv_set_palette(const uint8_t* data, uint32_t size, const char* rom_name, uint32_t slot_index, uint32_t shiny,
                          uint32_t colour1, uint32_t colour2, uint8_t* new_rom, uint32_t new_rom_capacity,
                          OrvEdit* edit, uint32_t language, char* text, uint32_t text_capacity)
{
    const auto slot = paletteSlot(slot_index, shiny);
    if (!slot || !edit || !new_rom || (!data && size) || new_rom_capacity < size)
        return ORV_BAD_ARGUMENT;
    *edit = {};
    auto edited = web::SetPalette(rom::RomImage(bytesOf(data, size)), *slot, MakePalettePair(colour1, colour2),
                                  nameOf(rom_name), web::LanguageOf(language));
    if (!edited)
        return refuse(text, text_capacity, edited.error());
    return putEdit(*edited, new_rom, edit);
}

OrvStatus orv_set_name(const uint8_t* data, uint32_t size, const char* rom_name, uint32_t number, const char* name,
                       uint8_t* new_rom, uint32_t new_rom_capacity, OrvEdit* edit, uint32_t language, char* text,
                       uint32_t text_capacity)
{
    if (!name || !edit || !new_rom || (!data && size) || new_rom_capacity < size || number > INT32_MAX)
        return ORV_BAD_ARGUMENT;
    *edit = {};
    // Numbers past the table are refused by the core, with its message.
    auto edited = web::SetName(rom::RomImage(bytesOf(data, size)), static_cast<int>(number), name, nameOf(rom_name),
                               web::LanguageOf(language));
    if (!edited)
        return refuse(text, text_capacity, edited.error());
    return putEdit(*edited, new_rom, edit);
}

OrvStatus orv_pal_text(const uint8_t* data, uint32_t size, uint32_t slot_index, uint32_t shiny, char* pal,
                       uint32_t capacity)
{
    const auto slot = paletteSlot(slot_index, shiny);
    if (!slot || (!data && size))
        return ORV_BAD_ARGUMENT;
    const auto pair = rom::SlotPalettePair(rom::RomImage(bytesOf(data, size)), *slot);
    if (!pair)
        return ORV_BAD_ARGUMENT;
    const std::string text = rom::FormatPalFile(*pair);
    if (!pal || capacity <= text.size())
        return ORV_BUFFER_SMALL;
    putText(pal, capacity, text);
    return ORV_OK;
}

OrvStatus orv_parse_pal(const char* pal, uint32_t length, const char* file_name, uint32_t* colours, uint32_t language,
                        char* text, uint32_t text_capacity)
{
    if (!colours || (!pal && length))
        return ORV_BAD_ARGUMENT;
    auto pair = web::ParsePal({pal, pal ? length : 0}, nameOf(file_name), web::LanguageOf(language));
    if (!pair)
        return refuse(text, text_capacity, pair.error());
    const auto [colour1, colour2] = PairColours(*pair);
    colours[0] = colour1;
    colours[1] = colour2;
    return ORV_OK;
}

} // extern "C"
