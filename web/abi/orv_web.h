/*
 * orv_web: the core's face for JavaScript, compiled with the core into one
 * wasm32 module.
 *
 * Every function is stateless: the ROM, pictures and results live in buffers
 * the caller allocates with orv_alloc and owns. Nothing is kept between calls.
 * A refusal returns ORV_REFUSED and writes a message into the caller's text
 * buffer, NUL-terminated and cut to its capacity: in the language the call
 * names, the English the command line would print (without its
 * "orvista-cli: " prefix) or the German of the wizard; English where a call
 * names none.
 *
 * Slots are numbered 0 .. orv_slot_count() - 1 in the order extract-all names
 * its files: Pokemon 1..251 front and back, Unown 1..26 front and back,
 * trainers 1..66.
 */
#ifndef ORV_WEB_H
#define ORV_WEB_H

#include <stdint.h>

#define ORV_EXPORT(name) __attribute__((export_name(#name)))

#ifdef __cplusplus
extern "C" {
#endif

typedef enum OrvStatus {
    ORV_OK = 0,
    ORV_REFUSED = 1,      /* the text buffer says why; nothing was made */
    ORV_BUFFER_SMALL = 2, /* the output buffer is too small; *needed says how large */
    ORV_BAD_ARGUMENT = 3, /* a null pointer or a slot index out of range */
    ORV_NO_MEMORY = 4,
} OrvStatus;

typedef enum OrvSlotKind { ORV_POKEMON = 0, ORV_UNOWN = 1, ORV_TRAINER = 2 } OrvSlotKind;
typedef enum OrvPatchFormat { ORV_BPS = 0, ORV_IPS = 1 } OrvPatchFormat;
typedef enum OrvEdition { ORV_EDITION_UNKNOWN = 0, ORV_GOLD = 1, ORV_SILVER = 2 } OrvEdition;
/* The language of a call's messages. */
typedef enum OrvLanguage { ORV_ENGLISH = 0, ORV_GERMAN = 1 } OrvLanguage;

/* What `orvista-cli info` tells of a ROM. 32-bit fields, then text. */
typedef struct OrvRomInfo {
    uint32_t size;
    uint32_t crc32;
    uint32_t edition;         /* OrvEdition, from the header */
    uint32_t language;        /* 'E', 'D', or 0 when unknown */
    uint32_t retail;          /* 1: byte for byte a retail ROM of that edition */
    uint32_t header_checksum; /* as stored at 0x14D */
    uint32_t header_checksum_computed;
    uint32_t global_checksum; /* as stored at 0x14E..0x14F */
    uint32_t global_checksum_computed;
    uint32_t free_bytes; /* in runs of at least 64 zero bytes where pictures may go */
    uint32_t free_runs;
    uint32_t sound_pictures; /* slots that lead to a complete picture */
    uint8_t sha1[20];
    char title[16]; /* NUL-terminated ASCII */
    char game_code[8];
} OrvRomInfo;

/* One slot as the ROM holds it. */
typedef struct OrvSlot {
    int32_t kind;         /* OrvSlotKind */
    int32_t number;       /* Pokemon 1..251, Unown 1..26, trainer 1..66 */
    int32_t back;         /* 1 for a back picture */
    int32_t offset;       /* where its pointer leads; -1 when the pointer can not be read */
    int32_t bank;         /* offset / 0x4000 */
    int32_t stream_bytes; /* compressed bytes, end marker included; -1 without a complete picture */
    int32_t width;        /* pixels; 0 without a complete picture */
    int32_t height;
    uint32_t normal[2]; /* colours 1 and 2 as 0x00RRGGBB */
    uint32_t shiny[2];  /* trainers have no shiny colours: the normal ones */
    char name[48];      /* the Pokemon's name from the ROM, UTF-8; empty for trainers */
} OrvSlot;

/* What an insertion did. */
typedef struct OrvInsertion {
    uint32_t rom_size;   /* bytes written to the new ROM */
    int32_t data_offset; /* where the picture's stream went */
    int32_t stream_bytes;
    int32_t width;
    int32_t height;
    int32_t patches; /* byte patches applied, the global checksum included */
} OrvInsertion;

ORV_EXPORT(orv_alloc) void* orv_alloc(uint32_t size);
ORV_EXPORT(orv_free) void orv_free(void* pointer);

ORV_EXPORT(orv_slot_count) uint32_t orv_slot_count(void);

/* The ROM's facts. ORV_REFUSED, with info's message naming file_name, for
 * a file that is no ROM of these games; info is filled as far as known. */
ORV_EXPORT(orv_rom_info)
OrvStatus orv_rom_info(const uint8_t* rom, uint32_t size, const char* file_name, OrvRomInfo* info, uint32_t language,
                       char* text, uint32_t text_capacity);

/* Every slot, orv_slot_count() records. */
ORV_EXPORT(orv_slots) OrvStatus orv_slots(const uint8_t* rom, uint32_t size, OrvSlot* slots, uint32_t capacity);

/* The pictures of slots first .. first + count - 1 as shades 0..3 (white,
 * colour 1, colour 2, black), one byte per pixel, rows from the top, one
 * picture after the other in shades. layout gets three numbers per slot:
 * where its shades begin, its width and its height (0 and 0 without a
 * complete picture). ORV_BUFFER_SMALL with *needed set when shades is too
 * small; then layout is filled but shades is not. */
ORV_EXPORT(orv_slot_shades)
OrvStatus orv_slot_shades(const uint8_t* rom, uint32_t size, uint32_t first, uint32_t count, uint8_t* shades,
                          uint32_t capacity, int32_t* layout, uint32_t* needed);

/* A decoded picture (RGBA, rows from the top; colour_table: an indexed
 * file's own colours as 0x00RRGGBB in its order, or none) into a slot, as
 * `orvista-cli insert PICTURE ROM --pokemon N [--back]` (or --unown,
 * --trainer) does: the colour-role rules, the next free place, the global
 * checksum. Only the shapes the game shows are taken. Messages name the ROM
 * as rom_name and the picture as picture_name. On success new_rom (size
 * bytes) holds the changed ROM and text the report; rom is only read. */
ORV_EXPORT(orv_insert)
OrvStatus orv_insert(const uint8_t* rom, uint32_t size, const char* rom_name, uint32_t slot, const char* picture_name,
                     const uint8_t* rgba, int32_t width, int32_t height, const uint32_t* colour_table,
                     uint32_t colour_count, uint8_t* new_rom, uint32_t new_rom_capacity, OrvInsertion* insertion,
                     uint32_t language, char* text, uint32_t text_capacity);

/* A BPS or IPS patch that makes target from base. ORV_BUFFER_SMALL with
 * *patch_size set when patch is too small; ORV_REFUSED when the format can
 * not express the change (IPS: a shorter target, 16 MiB or more). */
ORV_EXPORT(orv_make_patch)
OrvStatus orv_make_patch(uint32_t format, const uint8_t* base, uint32_t base_size, const uint8_t* target,
                         uint32_t target_size, uint8_t* patch, uint32_t capacity, uint32_t* patch_size,
                         uint32_t language, char* text, uint32_t text_capacity);

/* ---- Editing: palette pairs, names, .pal files ---------------------------
 * An edit changes one palette pair or one name field, then the global
 * checksum, as the command line's `palette --set` and `insert --name` do; a
 * refusal leaves new_rom unwritten. rom is only read. */

/* What an edit changed. */
typedef struct OrvEdit {
    uint32_t rom_size; /* bytes written to new_rom */
    int32_t offset;    /* where the palette pair (4 bytes) or the name field lies */
    int32_t length;    /* its bytes */
    int32_t changed;   /* bytes that differ from rom, the checksum's included; 0: rom holds it already */
    int32_t patches;   /* byte patches applied, the global checksum included */
} OrvEdit;

/* A colour (0x00RRGGBB) as the game keeps it, shown as slots show colours. */
ORV_EXPORT(orv_game_colour) uint32_t orv_game_colour(uint32_t colour);

/* Bytes of a name in the name table: the longest name, in bytes. */
ORV_EXPORT(orv_name_length) uint32_t orv_name_length(void);

/* The slot's palette pair (shiny: its shiny pair; trainers have only the
 * normal one, any other is ORV_BAD_ARGUMENT) set to colour1 and colour2
 * (0x00RRGGBB, as game colours). Front and back share the pair; every Unown
 * letter sets Pokemon 201's. */
ORV_EXPORT(orv_set_palette)
OrvStatus orv_set_palette(const uint8_t* rom, uint32_t size, const char* rom_name, uint32_t slot, uint32_t shiny,
                          uint32_t colour1, uint32_t colour2, uint8_t* new_rom, uint32_t new_rom_capacity,
                          OrvEdit* edit, uint32_t language, char* text, uint32_t text_capacity);

/* Pokemon number's (1..251) name set to name (UTF-8); refused when empty,
 * too long or holding a character the game can not write. */
ORV_EXPORT(orv_set_name)
OrvStatus orv_set_name(const uint8_t* rom, uint32_t size, const char* rom_name, uint32_t number, const char* name,
                       uint8_t* new_rom, uint32_t new_rom_capacity, OrvEdit* edit, uint32_t language, char* text,
                       uint32_t text_capacity);

/* The slot's pair (shiny as for orv_set_palette) as a .pal file's text, as
 * `orvista-cli palette --to` writes it, NUL-terminated. ORV_BUFFER_SMALL when
 * pal is too small; ORV_BAD_ARGUMENT when the ROM is too short for the pair. */
ORV_EXPORT(orv_pal_text)
OrvStatus orv_pal_text(const uint8_t* rom, uint32_t size, uint32_t slot, uint32_t shiny, char* pal, uint32_t capacity);

/* The pair a .pal file's text (length bytes) gives, as colours 1 and 2
 * (0x00RRGGBB, as slots show colours). Refusals name the file as file_name. */
ORV_EXPORT(orv_parse_pal)
OrvStatus orv_parse_pal(const char* pal, uint32_t length, const char* file_name, uint32_t* colours, uint32_t language,
                        char* text, uint32_t text_capacity);

/* ---- Picture folders, the space map and extract-all's files ---- */

/* A picture folder (insert-all's DIR) as one buffer of little-endian 32-bit
 * words, every string and byte run padded to 4 bytes: the entry count, then
 * per entry its type (OrvEntryType), path length and path (UTF-8, below the
 * chosen folder, '/' between parts); then for ORV_ENTRY_PICTURE its width,
 * height, colour count, that many colours (an indexed file's own table as
 * 0x00RRGGBB) and the RGBA pixels, rows from the top; for ORV_ENTRY_TEXT and
 * ORV_ENTRY_BYTES the length and the bytes. */
typedef enum OrvEntryType {
    ORV_ENTRY_FILE = 0, /* a file not read */
    ORV_ENTRY_FOLDER = 1,
    ORV_ENTRY_PICTURE = 2,
    ORV_ENTRY_TEXT = 3,
    ORV_ENTRY_BYTES = 4,
} OrvEntryType;

/* Which entries insert-all would read, one byte each into read (capacity at
 * least the entry count): 0 none, 1 a picture to decode, 2 a .pal text, 3 an
 * own file's bytes. *layout: 0 the flat names, 1 the sprite packs' layout in
 * the folder, 2 in its gfx/. ORV_BAD_ARGUMENT for a malformed buffer. */
ORV_EXPORT(orv_folder_needs)
OrvStatus orv_folder_needs(const uint8_t* rom, uint32_t size, const uint8_t* folder, uint32_t folder_size,
                           uint8_t* read, uint32_t read_capacity, uint32_t* layout);

/* `orvista-cli insert-all DIR ROM [--any-shape]` planned on the folder, its
 * entries read as orv_folder_needs asked. report gets JSON, NUL-terminated:
 * layout ("flat", "pack"), root ("" or "gfx/"), ok, unused (insert-all's lines
 * for files left out), items ({name, outcome, text, palette} sorted by name;
 * outcome "unchanged", "same", "in-place", "moved", "recoloured",
 * "palette-set" or "refused"); when ok: notes, summary, changed, total,
 * pictures and palettes changed, freeBefore, freeAfter, bytesChanged; else
 * message (why nothing was written; a picture's name or the folder's names it)
 * and shapeOnly. ORV_OK: new_rom (size bytes) holds the ROM as changed, its
 * global checksum included. ORV_REFUSED: the report says why, new_rom is left.
 * ORV_BUFFER_SMALL: report needs *needed bytes. ORV_BAD_ARGUMENT also for an
 * entry not read as asked. */
ORV_EXPORT(orv_folder_plan)
OrvStatus orv_folder_plan(const uint8_t* rom, uint32_t size, const char* rom_name, const char* folder_name,
                          const uint8_t* folder, uint32_t folder_size, uint32_t any_shape, uint8_t* new_rom,
                          uint32_t new_rom_capacity, uint32_t language, char* report, uint32_t report_capacity,
                          uint32_t* needed);

/* `orvista-cli space ROM --min MIN_RUN` as JSON into json, NUL-terminated:
 * minRun, bankCount, banks ({bank, pictures, pictureBytes, freeBytes, largest,
 * runs, slots}: runs as [offset, length], slots the indices of orv_slots
 * whose picture starts in the bank), and the totals pictures, pictureBytes,
 * runs, freeBytes, largest. ORV_REFUSED: json holds the message.
 * ORV_BUFFER_SMALL: json needs *needed bytes. */
ORV_EXPORT(orv_space_map)
OrvStatus orv_space_map(const uint8_t* rom, uint32_t size, const char* rom_name, uint32_t min_run, uint32_t language,
                        char* json, uint32_t capacity, uint32_t* needed);

/* The files `orvista-cli extract-all ROM DIR` (layout 0) or `... --layout
 * pret` (layout 1) writes, in its order, as little-endian 32-bit words with
 * byte runs padded to 4: the file count, then per file its type (0 a
 * picture, 1 a .pal file, 2 skipped) and its path (length, UTF-8 bytes); a
 * picture: width, height, colour 1 and colour 2 (0x00RRGGBB, as its PNG's
 * table entries 1 and 2), then length and shades (0..3, one byte per pixel,
 * rows from the top); a .pal file: length and text; skipped: length and why.
 * ORV_BUFFER_SMALL: out needs *needed bytes. */
ORV_EXPORT(orv_extract_files)
OrvStatus orv_extract_files(const uint8_t* rom, uint32_t size, const char* rom_name, uint32_t layout, uint8_t* out,
                            uint32_t capacity, uint32_t* needed);

#ifdef __cplusplus
}
#endif

#endif
