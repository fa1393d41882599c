#include "folder_batch.h"

#include <algorithm>
#include <array>
#include <functional>
#include <iterator>
#include <map>

#include "pack_layout.h"
#include "palette_file.h"
#include "rom_layout.h"

namespace orv::rom {

namespace {

// Extensions of the files insert-all reads as pictures or own files.
constexpr std::array<std::string_view, 9> kReadable{".png", ".bmp", ".dib", ".gif", ".ico",
                                                    ".cur", ".bak", ".old", ".orv"};

bool isTop(std::string_view part)
{
    const std::string top = LowerAscii(part);
    return top == "pokemon" || top == "trainers";
}

int64_t paletteOf(const Slot& slot) { return PaletteLocation(CheckedSlot(slot).value()); }

} // namespace

std::optional<std::string> PackRootIn(std::span<const std::string> paths)
{
    const auto holds = [&](std::string_view root) {
        return std::ranges::any_of(paths, [&](const std::string& path) {
            if (!path.starts_with(root))
                return false;
            const std::string_view relative = std::string_view(path).substr(root.size());
            const auto parts = PathParts(relative);
            const size_t folders = relative.ends_with('/') ? parts.size() : parts.size() - 1;
            return !parts.empty() && folders >= 1 && isTop(parts[0]);
        });
    };
    if (holds(""))
        return "";
    if (holds("gfx/"))
        return "gfx/";
    return std::nullopt;
}

bool PackFolderKnown(std::string_view relativeFolder)
{
    const auto parts = PathParts(relativeFolder);
    if (parts.size() == 1)
        return isTop(parts[0]);
    return parts.size() == 2 && LowerAscii(parts[0]) == "pokemon";
}

std::vector<ListedPath> PackListing(std::span<const std::string> paths, std::string_view root)
{
    std::map<std::string, std::optional<size_t>> listed;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (!paths[i].starts_with(root))
            continue;
        const std::string_view relative = std::string_view(paths[i]).substr(root.size());
        const auto parts = PathParts(relative);
        if (parts.empty())
            continue;
        const bool folder = relative.ends_with('/');
        const size_t folders = folder ? parts.size() : parts.size() - 1;
        // The first folder on the way the layout does not look into.
        std::string place;
        bool known = true;
        for (size_t d = 0; d < folders && known; ++d) {
            place += std::string(parts[d]) + "/";
            known = PackFolderKnown(place);
        }
        if (!known)
            listed.emplace(place, std::nullopt);
        else if (!folder)
            listed.emplace(std::string(relative), i);
    }
    std::vector<ListedPath> out;
    for (auto& [path, from] : listed)
        out.push_back({path, from});
    return out;
}

FlatIndex IndexFlatFolder(std::span<const FlatEntry> entries)
{
    static const std::map<std::string, Slot> byName = [] {
        std::map<std::string, Slot> names;
        for (const Slot& slot : AllPictureSlots(Pokemon201::Listed))
            names.emplace(FlatName(slot), slot);
        return names;
    }();
    std::vector<const FlatEntry*> sorted;
    for (const FlatEntry& entry : entries)
        sorted.push_back(&entry);
    std::ranges::stable_sort(sorted, {}, &FlatEntry::name);
    FlatIndex index;
    for (const FlatEntry* entry : sorted) {
        // A leading dot starts no extension.
        const std::string& name = entry->name;
        const size_t dot = name.rfind('.');
        const bool split = dot != std::string::npos && dot > 0;
        const std::string extension = split ? LowerAscii(name.substr(dot)) : "";
        const auto named = byName.find(split ? name.substr(0, dot) : name);
        if (!entry->file || named == byName.end() || std::ranges::find(kReadable, extension) == kReadable.end()) {
            index.ignored.push_back(name);
            continue;
        }
        index.used.push_back({name, named->second, extension == ".orv"});
    }
    return index;
}

BatchItem PictureItem(std::string name, const Slot& slot, CodedPicture coded)
{
    const WorkingPicture& p = coded.picture;
    return {std::move(name), slot,    std::move(coded.tileData), std::move(coded.stream), p.palette[1], p.palette[2],
            p.width,         p.height};
}

std::expected<std::vector<BatchItem>, PackRefusal> CodePack(const PackIndex& index, const RomImage& rom,
                                                            const PackReader& reader)
{
    std::map<int64_t, PalettePair> normals; // palette location -> the pair of a normal.pal
    std::vector<BatchItem> palettes;
    for (const PackFileUse& use : index.palettes) {
        const auto text = reader.palText(use);
        if (!text)
            return std::unexpected(PackRefusal{use.path});
        auto pair = ParsePalFile(*text);
        if (!pair)
            return std::unexpected(PackRefusal{use.path, pair.error(), std::nullopt});
        if (!use.slot.shiny)
            normals[paletteOf(use.slot)] = *pair;
        palettes.push_back(PaletteItem(use.path, use.slot, *pair));
    }

    std::vector<BatchItem> items;
    std::map<int64_t, std::vector<const PackFileUse*>> groups;
    for (const PackFileUse& use : index.pictures)
        groups[paletteOf(use.slot)].push_back(&use);
    for (const auto& [location, uses] : groups) {
        std::vector<std::pair<const PackFileUse*, DecodedPicture>> decoded;
        for (const PackFileUse* use : uses) {
            auto picture = reader.picture(*use);
            if (!picture)
                return std::unexpected(PackRefusal{use->path});
            decoded.emplace_back(use, std::move(*picture));
        }
        std::ranges::stable_sort(decoded, std::greater<>(), [](const auto& p) { return p.second.colours.size(); });
        PictureCoding coding;
        if (const auto normal = normals.find(location); normal != normals.end())
            coding.givenPair = normal->second;
        coding.slotPair = SlotPalettePair(rom, uses.front()->slot);
        for (auto& [use, picture] : decoded) {
            auto coded = CodeDecodedPicture(std::move(picture), coding);
            if (!coded)
                return std::unexpected(PackRefusal{use->path, std::nullopt, coded.error()});
            if (!coding.givenPair)
                coding.slotPair = MakePalettePair(coded->picture.palette[1], coded->picture.palette[2]);
            items.push_back(PictureItem(use->path, use->slot, std::move(*coded)));
        }
    }
    std::ranges::move(palettes, std::back_inserter(items));
    return items;
}

} // namespace orv::rom
