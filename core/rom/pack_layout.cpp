#include "pack_layout.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "rom_layout.h"

namespace orv::rom {

namespace {

constexpr int kUnownSpecies = 201;

struct FileName {
    PackFile file;
    std::string_view name;
};
constexpr std::array<FileName, 6> kSpeciesFiles{{
    {PackFile::Front, "front.png"},
    {PackFile::FrontGold, "front_gold.png"},
    {PackFile::FrontSilver, "front_silver.png"},
    {PackFile::Back, "back.png"},
    {PackFile::NormalPal, "normal.pal"},
    {PackFile::ShinyPal, "shiny.pal"},
}};

std::string_view fileName(PackFile file)
{
    for (const FileName& f : kSpeciesFiles)
        if (f.file == file)
            return f.name;
    return {};
}

template <size_t N>
std::optional<int> numberOf(const std::array<std::string_view, N>& table, std::string_view name)
{
    const auto it = std::ranges::find(table, name);
    if (it == table.end())
        return std::nullopt;
    return static_cast<int>(it - table.begin()) + 1;
}

bool isPalette(PackFile file) { return file == PackFile::NormalPal || file == PackFile::ShinyPal; }

} // namespace

std::string_view PackName(PackKind kind, int number)
{
    const auto pick = [number](const auto& table) -> std::string_view {
        return number >= 1 && static_cast<size_t>(number) <= table.size() ? table[number - 1] : std::string_view{};
    };
    switch (kind) {
    case PackKind::Pokemon: return pick(kPackPokemonNameTable);
    case PackKind::Unown: return pick(kPackUnownNameTable);
    case PackKind::Trainer: return pick(kPackTrainerNameTable);
    }
    return {};
}

std::string PackPath(const PackEntry& entry)
{
    const std::string_view name = PackName(entry.kind, entry.number);
    if (name.empty())
        return {};
    switch (entry.kind) {
    case PackKind::Trainer:
        return entry.file == PackFile::TrainerPicture ? "trainers/" + std::string(name) + ".png" : std::string{};
    case PackKind::Unown:
        return entry.file == PackFile::TrainerPicture || isPalette(entry.file)
                   ? std::string{}
                   : "pokemon/" + std::string(name) + "/" + std::string(fileName(entry.file));
    case PackKind::Pokemon:
        if (entry.file == PackFile::TrainerPicture || (entry.number == kUnownSpecies && !isPalette(entry.file)))
            return {};
        return "pokemon/" + std::string(name) + "/" + std::string(fileName(entry.file));
    }
    return {};
}

std::vector<std::string_view> PathParts(std::string_view path)
{
    std::vector<std::string_view> parts;
    for (std::string_view rest = path; !rest.empty();) {
        const size_t slash = rest.find('/');
        if (slash != 0)
            parts.push_back(rest.substr(0, slash));
        rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
    }
    return parts;
}

std::string LowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::optional<PackEntry> ParsePackPath(std::string_view relative)
{
    const std::string lower = LowerAscii(relative);
    const std::vector<std::string_view> parts = PathParts(lower);
    if (parts.size() == 2 && parts[0] == "trainers" && parts[1].ends_with(".png")) {
        const auto number = numberOf(kPackTrainerNameTable, parts[1].substr(0, parts[1].size() - 4));
        if (!number)
            return std::nullopt;
        return PackEntry{PackKind::Trainer, *number, PackFile::TrainerPicture};
    }
    if (parts.size() != 3 || parts[0] != "pokemon")
        return std::nullopt;
    const auto file = std::ranges::find(kSpeciesFiles, parts[2], &FileName::name);
    if (file == kSpeciesFiles.end())
        return std::nullopt;
    PackEntry entry;
    entry.file = file->file;
    if (const auto letter = numberOf(kPackUnownNameTable, parts[1]))
        entry.kind = PackKind::Unown, entry.number = *letter;
    else if (const auto species = numberOf(kPackPokemonNameTable, parts[1]))
        entry.kind = PackKind::Pokemon, entry.number = *species;
    else
        return std::nullopt;
    // Only the paths PackPath makes: the letters have no palettes of their
    // own, species 201 nothing but the letters' palettes.
    if (PackPath(entry) != std::string(parts[0]) + "/" + std::string(parts[1]) + "/" + std::string(parts[2]))
        return std::nullopt;
    return entry;
}

const std::vector<PackOutput>& PackOutputs()
{
    using K = Slot::Kind;
    static const std::vector<PackOutput> outputs = [] {
        std::vector<PackOutput> all;
        const auto add = [&](PackEntry entry, Slot slot, bool palette) {
            all.push_back({PackPath(entry), slot, palette});
        };
        for (int n = 1; n <= kMaxPokemon; ++n) {
            if (n == kUnownNumber) {
                add({PackKind::Pokemon, n, PackFile::NormalPal}, {K::Pokemon, n}, true);
            } else {
                add({PackKind::Pokemon, n, PackFile::Front}, {K::Pokemon, n}, false);
                add({PackKind::Pokemon, n, PackFile::Back}, {K::Pokemon, n, true}, false);
            }
            add({PackKind::Pokemon, n, PackFile::ShinyPal}, {K::Pokemon, n, false, true}, true);
        }
        for (int u = 1; u <= kMaxUnownIndex; ++u) {
            add({PackKind::Unown, u, PackFile::Front}, {K::Unown, u}, false);
            add({PackKind::Unown, u, PackFile::Back}, {K::Unown, u, true}, false);
        }
        for (int t = 1; t <= kMaxTrainer; ++t)
            add({PackKind::Trainer, t, PackFile::TrainerPicture}, {K::Trainer, t}, false);
        return all;
    }();
    return outputs;
}

std::string FlatName(const Slot& slot)
{
    char name[32];
    const int n = static_cast<int>(slot.number);
    const char* side = slot.back ? "back" : "front";
    switch (slot.kind) {
    case Slot::Kind::Pokemon: std::snprintf(name, sizeof name, "pokemon-%03d-%s", n, side); break;
    case Slot::Kind::Unown: std::snprintf(name, sizeof name, "unown-%02d-%s", n, side); break;
    case Slot::Kind::Trainer: std::snprintf(name, sizeof name, "trainer-%02d", n); break;
    }
    return name;
}

} // namespace orv::rom
