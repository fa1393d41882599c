#pragma once
// The one road by which a ROM changes: locked against the program's other
// instances from the read for planning to the commit, the new ROM computed in
// memory from a checked patch list and written as one file replacement. After
// any failure the ROM is as it was.

#include <chrono>
#include <expected>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "byte_patch.h"
#include "file_lock.h"
#include "rom_error.h"
#include "rom_file.h"

namespace orv::rom {

constexpr std::chrono::milliseconds kDefaultLockWait{5000};

// The ROM with the patches put in, in their order (a later patch may cover an
// earlier one, as the data covers zeros over an old picture). OutOfRange when
// a patch lies outside the ROM.
std::expected<std::vector<uint8_t>, RomError> ApplyPatches(const RomFile& rom, std::span<const BytePatch> patches);

class RomChange {
public:
    // Locks the ROM, waiting up to `wait` for another instance, and reads it.
    // OpenFailed "Error: <n>" (the insertion's own wording); Busy "Die Datei
    // "<p>" wird gerade von einem anderen Orvista geändert. Es wurde nichts
    // geschrieben; bitte später noch einmal versuchen."; ReadFailed, TooLarge.
    static std::expected<RomChange, RomError> Begin(const std::filesystem::path& path,
                                                    std::chrono::milliseconds wait = kDefaultLockWait);

    const RomFile& rom() const { return rom_; }

    // Whether a commit could keep the ROM's owner, group, ACLs and extended
    // attributes; WriteFailed "Die Datei "<p>" gehört einem anderen Benutzer
    // (Benutzer <uid>); ersetzt gehörte sie Ihnen. Es wurde nichts
    // geschrieben; als Patch (orvista-cli mit --patch) lässt sich die Änderung
    // weiterhin schreiben." (likewise for the group and the attributes). A
    // patch leaves the ROM alone and needs no such check.
    std::expected<void, RomError> CheckReplaceable() const;

    // Replaces the ROM with `bytes` (a ROM the same length as the one read),
    // unless they are the bytes read. Before writing, and again after the new
    // ROM is written and flushed right before it takes the old one's place,
    // the file at the path is checked to be the one read, with the same
    // length and content (writers that take no lock): FileChanged "Die Datei "<p>" hat sich seit dem Lesen
    // verändert, es wurde nichts geschrieben." WriteFailed "Neben der Datei
    // "<p>" kann keine temporäre Datei angelegt werden (Systemfehler <n>:
    // <text>). Es wurde nichts geschrieben." or "Die Datei "<p>" konnte nicht
    // geschrieben werden (<step>, Systemfehler <n>: <text>). Sie ist
    // unverändert." English alongside. A successful commit removes temporary
    // files that killed runs left beside the ROM. A change commits once: the
    // lock then holds the replaced file.
    std::expected<void, RomError> Commit(std::span<const uint8_t> bytes);

private:
    RomChange(LockedFile lock, RomFile rom) : lock_(std::move(lock)), rom_(std::move(rom)) {}
    bool unchangedSinceRead() const;
    LockedFile lock_;
    RomFile rom_;
};

} // namespace orv::rom
