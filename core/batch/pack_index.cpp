#include "pack_index.h"

#include <algorithm>
#include <map>
#include <optional>
#include <tuple>

namespace orv::rom {

namespace {

bool knownPokemonFolder(std::string_view name)
{
    const std::string folder = LowerAscii(name);
    return std::ranges::find(kPackPokemonNameTable, folder) != kPackPokemonNameTable.end() ||
           std::ranges::find(kPackUnownNameTable, folder) != kPackUnownNameTable.end();
}

// The ignored entry a path falls under: a whole unknown folder, or the file.
// Files in known Pokemon folders are grouped by name afterwards.
struct IgnoredPlace {
    std::string path;
    std::optional<std::string> groupName; // a file of a known Pokemon folder
};

IgnoredPlace ignoredPlace(std::string_view path)
{
    const auto parts = PathParts(path);
    const bool folder = path.ends_with('/');
    const auto prefix = [&](size_t n) {
        std::string out;
        for (size_t i = 0; i < n; ++i)
            out += std::string(parts[i]) + "/";
        return out;
    };
    if (parts.empty())
        return {std::string(path)};
    const std::string top = LowerAscii(parts[0]);
    const size_t fileDepth = folder ? parts.size() + 1 : parts.size(); // parts of a file in that place
    if (fileDepth == 1)
        return {std::string(path)};
    if (top == "trainers")
        return {fileDepth == 2 ? std::string(path) : prefix(2)};
    if (top != "pokemon")
        return {prefix(1)};
    if (fileDepth == 2)
        return {std::string(path)};
    if (!knownPokemonFolder(parts[1]))
        return {prefix(2)};
    if (fileDepth == 3 && !folder)
        return {std::string(path), LowerAscii(parts[2])};
    return {prefix(3)};
}

std::vector<PackIgnored> collapsed(const std::vector<std::string>& paths)
{
    std::map<std::string, size_t> byPlace;
    std::map<std::string, std::vector<std::string>> byName; // file name -> its paths in Pokemon folders
    for (const std::string& path : paths) {
        IgnoredPlace place = ignoredPlace(path);
        if (place.groupName)
            byName[*place.groupName].push_back(place.path);
        else
            ++byPlace[place.path];
    }
    for (const auto& [name, found] : byName) {
        if (found.size() == 1)
            ++byPlace[found[0]];
        else
            byPlace["pokemon/*/" + name] += found.size();
    }
    std::vector<PackIgnored> ignored;
    for (const auto& [path, files] : byPlace)
        ignored.push_back({path, files});
    return ignored;
}

Slot slotOf(const PackEntry& entry)
{
    switch (entry.kind) {
    case PackKind::Trainer: return {Slot::Kind::Trainer, entry.number};
    case PackKind::Unown: return {Slot::Kind::Unown, entry.number, entry.file == PackFile::Back};
    case PackKind::Pokemon: break;
    }
    return {Slot::Kind::Pokemon, entry.number, entry.file == PackFile::Back, entry.file == PackFile::ShinyPal};
}

// Sort key: kind, number, then front, back, normal, shiny.
std::tuple<int, int, int> orderOf(const PackEntry& entry)
{
    int role = 0;
    switch (entry.file) {
    case PackFile::Front:
    case PackFile::FrontGold:
    case PackFile::FrontSilver:
    case PackFile::TrainerPicture: role = 0; break;
    case PackFile::Back: role = 1; break;
    case PackFile::NormalPal: role = 2; break;
    case PackFile::ShinyPal: role = 3; break;
    }
    return {static_cast<int>(entry.kind), entry.number, role};
}

bool isFront(PackFile file)
{
    return file == PackFile::Front || file == PackFile::FrontGold || file == PackFile::FrontSilver;
}

} // namespace

PackIndex IndexPack(std::span<const std::string> paths, GameVersion version)
{
    PackIndex index;
    std::vector<std::string> unknown;
    // Each place in the layout once: the path in the layout's own letter case
    // wins, else the first in sorted order.
    std::map<std::tuple<int, int, PackFile>, std::string> found;
    std::vector<std::string> sorted(paths.begin(), paths.end());
    std::ranges::sort(sorted, {}, [](const std::string& path) { return std::pair(path != LowerAscii(path), path); });
    for (const std::string& path : sorted) {
        const auto entry = path.ends_with('/') ? std::nullopt : ParsePackPath(path);
        if (!entry) {
            unknown.push_back(path);
            continue;
        }
        auto [at, fresh] = found.try_emplace({static_cast<int>(entry->kind), entry->number, entry->file}, path);
        if (!fresh)
            index.skipped.push_back({path, PackSkip::Duplicate, at->second});
    }

    const PackFile edition = version == GameVersion::Gold     ? PackFile::FrontGold
                             : version == GameVersion::Silver ? PackFile::FrontSilver
                                                              : PackFile::Front;
    for (const auto& [key, path] : found) {
        const auto [kind, number, file] = key;
        const PackEntry entry{static_cast<PackKind>(kind), number, file};
        const PackFileUse use{path, entry, slotOf(entry)};
        if (!isFront(file)) {
            (file == PackFile::NormalPal || file == PackFile::ShinyPal ? index.palettes : index.pictures)
                .push_back(use);
            continue;
        }
        // The edition's own front first, else front.png.
        const auto same = [&](PackFile f) { return found.find({kind, number, f}); };
        const auto own = edition == PackFile::Front ? found.end() : same(edition);
        const auto plain = same(PackFile::Front);
        const std::string used = own != found.end() ? own->second : plain != found.end() ? plain->second : "";
        if (path == used)
            index.pictures.push_back(use);
        else if (file == PackFile::Front)
            index.skipped.push_back({path, PackSkip::EditionFront, used});
        else if (edition == PackFile::Front)
            index.skipped.push_back({path, PackSkip::EditionUnknown, used});
        else
            index.skipped.push_back({path, PackSkip::OtherEdition, used});
    }
    const auto byOrder = [](const PackFileUse& a, const PackFileUse& b) { return orderOf(a.entry) < orderOf(b.entry); };
    std::ranges::stable_sort(index.pictures, byOrder);
    std::ranges::stable_sort(index.palettes, byOrder);
    std::ranges::sort(index.skipped, {}, &PackSkipped::path);
    index.ignored = collapsed(unknown);
    return index;
}

} // namespace orv::rom
