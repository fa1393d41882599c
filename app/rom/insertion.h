#pragma once
// Writing an encoded picture into a ROM: planned in full as byte patches and
// checked against what lies in the ROM, then committed by RomChange.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "byte_patch.h"
#include "rom_file.h"
#include "rom_error.h"

namespace orv::rom {

// The choices of pages 5, 6 and 9 and the picture to write.
struct InsertRequest {
    std::filesystem::path romPath; // the target; PlanInsertion takes the ROM as read
    std::vector<uint8_t> encoded; // EncodedData; N is its size
    std::string offsetText;       // Text4, read like a typed number ("&H" for hex)
    bool replaceSlot = true;      // Check4: pointer, palette, size byte (and name)
    bool trainer = false;         // Check8
    int64_t trainerNumber = 1;    // Text7, 1 .. 66
    int64_t pokemonNumber = 1;    // Text3, 1 .. 251; 201 takes the Unown table
    bool unown = false;           // Check5: the number counts as 201
    int64_t unownIndex = 1;       // Label18, 1 .. 26 (the Unown table's entries)
    bool back = false;            // "Backpic"
    bool shiny = false;           // "Shiny"
    bool deleteOriginal = false;  // Check6: zero the replaced picture first
    bool changeName = false;      // Check11 (ignored for trainers)
    std::string newName;          // the chosen name, UTF-8
    int64_t nameLength = 10;      // L from page 1, 1 .. 20
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

// Something the user is told although the insertion goes ahead.
struct PlanNote {
    std::string german, english;
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
    std::vector<PlanNote> notes;    // e.g. a size byte left alone
    Overwrite overwrite;            // bytes == 0: nothing unknown is overwritten
};

// Computes from the ROM as read every byte to write, in the order: zeros over
// the old picture, the data, the palette, the name, the pointer, the size
// byte. Nothing is written; the patches go to RomChange::Commit through
// ApplyPatches. Errors (German texts; each has its English one, offsets there as 0x...):
//  TooShort "Die Datei \"<path>\" ist zu kurz für die Bilddaten / die Zeigertabelle /
//    die Palette / den Namen / die Größenangabe (benötigt bis &H..., Dateilänge &H...).";
//  NoPicture "Es liegen keine Bilddaten zum Schreiben vor." (N = 0);
//  OutOfRange "<Der Offset | Die Pokemonnummer | Der Unown-Index | Die Trainernummer |
//    Die Namenslänge> <v> liegt außerhalb des erlaubten Bereichs von <min> bis <max>."
//    (offset 0 .. length - N - 1, Pokemon 1 .. 251, Unown 1 .. 26, trainer 1 .. 66, L 1 .. 20);
//  OutOfRange "Der Offset &H... kann von keinem Bildzeiger erreicht werden (in Bank 0, in den
//    Bänken &H13 und &H14 und ab &H400000 nicht möglich). Bitte einen anderen Offset wählen.";
//  OutOfRange "Die Bilddaten (<N> Bytes ab &H...) reichen über das Ende der Bank &H... hinaus;
//    das Spiel liest ein Bild nur innerhalb einer Bank. Bitte einen anderen Offset wählen.";
//  InTheWay "Die Bilddaten (<N> Bytes ab &H...) würden <was dort liegt> (&H... bis &H...)
//    überschreiben. Es wurde nichts geschrieben." for the header, the pointer and palette
//    tables, the base-data records, the name table, and every byte it would change of
//    another slot's picture;
//  BadPicture "Die Bilddaten sind kein vollständiger Datenstrom, den das Spiel lesen kann.
//    Es wurde nichts geschrieben." (a slot's picture) and "Die Bildgröße <w> x <h> passt
//    nicht zu den Bilddaten (<k> Kacheln). Es wurde nichts geschrieben." (a front picture,
//    whose size byte must describe the data);
//  NoPicture "Das alte Bild an Offset &H... kann nicht gelöscht werden, weil dort keine
//    vollständigen Bilddaten liegen. Es wurde nichts geschrieben; ohne \"Delete Original
//    Picture\" ist das Einfügen möglich.";
//  BadShape and BadPicture as CheckSlotShape, which runs first for a slot;
//  BadName (see NameFieldBytes) and "Der neue Name ist leer. Ein Pokemon ohne Namen wird
//    nicht geschrieben; bitte einen Namen eingeben."; LanguageUnknown when a name is to be
//    written; CodecMissing.
// Notes: the size byte is left out, and a note starting "Die Größenangabe des Bildes wurde
// nicht geschrieben: " (English: "The size byte of the picture was not written: ")
// says why: "Die Sprache des Roms konnte nicht erkannt werden." or
// "Der Datensatz an Offset &H... gehört nicht zu Pokemon <n> (gefunden: <k>)."
// The old picture is left in place when its bytes also belong to another slot's picture
// or a table: "Das alte Bild an Offset &H... wurde nicht gelöscht, weil das Löschen auch
// <das Bild von Pokemon 2 (Frontpic) | die Zeigertabelle ...> treffen würde."
std::expected<InsertionPlan, RomError> PlanInsertion(const RomFile& rom, const InsertRequest& request);

// The shape rule of the request's slot (none without one): BadShape "Das Bild ist <w> x <h>
// Pixel groß; als Frontpic eines Pokemon zeichnet das Spiel nur Bilder von 40 x 40, 48 x 48
// oder 56 x 56 Pixeln richtig." (backs 48 x 48, trainers 56 x 56; an Unown front the shape
// the shared size byte of Pokemon 201 draws now, "..., der Größe, die die gemeinsame
// Größenangabe aller 26 Unown jetzt hält."), which anyShape lets pass; with anyShape,
// BadPicture "Das Bild passt mit <w> x <h> Kacheln nicht in die Größenangabe (1 bis 9
// Kacheln je Richtung). Es wurde nichts geschrieben." for a larger front picture. Reading
// the Unown size byte: LanguageUnknown, TooShort, or BadShape when the record there is not
// Pokemon 201's. The slot's numbers are refused as in PlanInsertion.
std::expected<void, RomError> CheckSlotShape(const RomFile& rom, const InsertRequest& request);

// The zeros "Delete Original Picture" writes over the slot's old picture, or
// none with a note when its bytes are shared (as PlanInsertion decides);
// the slot's refusals and NoPicture for an incomplete old stream as there.
std::expected<std::optional<BytePatch>, RomError> OldPictureZeros(const RomFile& rom, const InsertRequest& request,
                                                                  std::vector<PlanNote>& notes);

// PlanInsertion at the first place the free-space search finds after `from`
// where the plan stands (request.offsetText is not used): places no picture
// pointer reaches, and zeros that belong to a table or a picture, are passed
// over. NoRoom: "Kein freier Platz für <N> Bytes hinter Offset &H... gefunden.
// Es wurde nichts geschrieben."
std::expected<InsertionPlan, RomError> PlanInsertionAtFreePlace(const RomFile& rom, InsertRequest request,
                                                                int64_t from);

} // namespace orv::rom
