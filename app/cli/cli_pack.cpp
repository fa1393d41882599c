#include "cli_pack.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <iterator>
#include <map>

#include "binary_file.h"
#include "cli_coding.h"
#include "messages_en.h"
#include "pack_index.h"
#include "pack_layout.h"
#include "palette_file.h"
#include "rom_identity.h"
#include "rom_layout.h"

namespace orv::cli {

namespace fs = std::filesystem;

namespace {

// More than any .pal file needs.
constexpr int64_t kMaxPalFileBytes = 64 << 10;

std::string lower(std::string text)
{
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool holdsLayout(const fs::path& dir)
{
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const std::string name = lower(entry.path().filename().string());
        if ((name == "pokemon" || name == "trainers") && entry.is_directory(ec))
            return true;
    }
    return false;
}

// The paths below root that the layout may hold (pokemon/<name>/<file>,
// trainers/<file>), and every other folder as "<path>/" without its content.
std::expected<std::vector<std::string>, std::string> listLayout(const fs::path& root)
{
    std::vector<std::string> paths;
    std::error_code ec;
    fs::recursive_directory_iterator it(root, fs::directory_options::follow_directory_symlink, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const std::string relative = it->path().lexically_relative(root).generic_string();
        std::error_code typeEc;
        if (!it->is_directory(typeEc)) {
            paths.push_back(relative);
            continue;
        }
        const std::string top = lower(relative.substr(0, relative.find('/')));
        const bool known = it.depth() == 0 ? top == "pokemon" || top == "trainers" : it.depth() == 1 && top == "pokemon";
        if (!known) {
            it.disable_recursion_pending();
            paths.push_back(relative + "/");
        }
    }
    if (ec)
        return std::unexpected("could not read the folder \"" + root.string() + "\": " + ec.message() + ".");
    return paths;
}

std::expected<PalettePair, std::string> readPalFile(const fs::path& file)
{
    auto bytes = ReadWholeFile(file, kMaxPalFileBytes);
    if (!bytes)
        return std::unexpected("could not read \"" + file.string() + "\": " + DescribeIoError(bytes.error()));
    auto pair = rom::ParsePalFile({reinterpret_cast<const char*>(bytes->data()), bytes->size()});
    if (!pair)
        return std::unexpected(en::Text(pair.error(), file.string()));
    return *pair;
}

int64_t paletteOf(const rom::Slot& slot) { return rom::PaletteLocation(rom::CheckedSlot(slot).value()); }

} // namespace

std::optional<fs::path> PackRoot(const fs::path& dir)
{
    if (holdsLayout(dir))
        return dir;
    if (holdsLayout(dir / "gfx"))
        return dir / "gfx";
    return std::nullopt;
}

std::expected<PackBatch, std::string> ReadPack(const fs::path& root, const rom::RomImage& rom)
{
    auto paths = listLayout(root);
    if (!paths)
        return std::unexpected(paths.error());
    const rom::GameVersion version = rom::EditionOfRom(rom.bytes()).version;
    const rom::PackIndex index = rom::IndexPack(*paths, version);
    PackBatch batch;

    std::map<int64_t, PalettePair> normals; // palette location -> the pair of a normal.pal
    std::vector<rom::BatchItem> palettes;
    for (const rom::PackFileUse& use : index.palettes) {
        auto pair = readPalFile(root / use.path);
        if (!pair)
            return std::unexpected(pair.error());
        if (!use.slot.shiny)
            normals[paletteOf(use.slot)] = *pair;
        palettes.push_back(rom::PaletteItem(use.path, use.slot, *pair));
    }

    // The pictures of one palette together: with a normal.pal each takes its
    // pair; else the one with the most colours gives the pair, and a picture
    // with fewer keeps the colour it does not use. Grays beside a normal.pal
    // take their shades by lightness.
    std::map<int64_t, std::vector<const rom::PackFileUse*>> groups;
    for (const rom::PackFileUse& use : index.pictures)
        groups[paletteOf(use.slot)].push_back(&use);
    for (const auto& [location, uses] : groups) {
        std::vector<std::pair<const rom::PackFileUse*, LoadedPicture>> loaded;
        for (const rom::PackFileUse* use : uses) {
            auto picture = LoadPicture(root / use->path);
            if (!picture)
                return std::unexpected(picture.error());
            loaded.emplace_back(use, std::move(*picture));
        }
        std::ranges::stable_sort(loaded, std::greater<>(), [](const auto& p) { return p.second.colours.size(); });
        CodingOptions options;
        if (const auto normal = normals.find(location); normal != normals.end())
            options.givenPair = normal->second;
        options.slotPair = rom::SlotPalettePair(rom, uses.front()->slot);
        for (auto& [use, picture] : loaded) {
            auto coded = CodeLoadedPicture(std::move(picture), root / use->path, options);
            if (!coded)
                return std::unexpected(coded.error());
            const WorkingPicture& p = coded->picture;
            if (!options.givenPair)
                options.slotPair = MakePalettePair(p.palette[1], p.palette[2]);
            batch.items.push_back({use->path, use->slot, std::move(coded->tileData), std::move(coded->stream),
                                   p.palette[1], p.palette[2], p.width, p.height});
        }
    }
    std::ranges::move(palettes, std::back_inserter(batch.items));

    for (const rom::PackSkipped& skipped : index.skipped)
        batch.unused.push_back(skipped.path + ": " + en::Text(skipped, version));
    for (const rom::PackIgnored& ignored : index.ignored)
        batch.unused.push_back(ignored.path + ": " + en::Text(ignored));
    return batch;
}

} // namespace orv::cli
