#include "web_pack.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>

#include "batch_plan.h"
#include "byte_patch.h"
#include "cartridge_header.h"
#include "extraction.h"
#include "folder_batch.h"
#include "game_check.h"
#include "messages_en.h"
#include "pack_index.h"
#include "pack_layout.h"
#include "palette_file.h"
#include "picture_shape.h"
#include "rom_identity.h"
#include "rom_layout.h"
#include "slot.h"
#include "space_map.h"
#include "tiles.h"

namespace orv::web {

namespace {

using rom::Slot;

// Reads the folder buffer: little-endian words, strings and data padded to 4.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    std::optional<uint32_t> word()
    {
        if (bytes_.size() - at_ < 4 || at_ > bytes_.size())
            return std::nullopt;
        uint32_t w;
        std::memcpy(&w, bytes_.data() + at_, 4);
        at_ += 4;
        return w;
    }
    std::optional<std::span<const uint8_t>> take(uint64_t n)
    {
        if (n > bytes_.size() - at_)
            return std::nullopt;
        auto piece = bytes_.subspan(at_, static_cast<size_t>(n));
        at_ += static_cast<size_t>(n);
        at_ = std::min(bytes_.size(), (at_ + 3) & ~size_t{3});
        return piece;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
};

// The entries' paths as the core's folder functions take them: a folder's
// ending in '/'.
std::vector<std::string> pathsOf(const std::vector<FolderEntry>& entries)
{
    std::vector<std::string> paths;
    for (const FolderEntry& e : entries)
        paths.push_back(e.type == FolderEntry::Type::Folder && !e.path.ends_with('/') ? e.path + "/" : e.path);
    return paths;
}

// The chosen folder's layout: where the packs' root lies, if anywhere.
struct Layout {
    bool pack = false;
    std::string prefix; // "" or "gfx/"
};
Layout layoutOf(const std::vector<std::string>& paths)
{
    const auto root = rom::PackRootIn(paths);
    return root ? Layout{true, *root} : Layout{};
}

// The chosen folder's own files and folders by name, and the entry of each file.
struct FlatFolder {
    std::vector<rom::FlatEntry> names;
    std::map<std::string, size_t> fileEntry;
};
FlatFolder flatFolder(const std::vector<FolderEntry>& entries)
{
    std::map<std::string, int> names;
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t start = entries[i].path.find_first_not_of('/');
        if (start == std::string::npos)
            continue;
        const size_t slash = entries[i].path.find('/', start);
        const bool file = entries[i].type != FolderEntry::Type::Folder &&
                          entries[i].path.find_first_not_of('/', slash) == std::string::npos;
        names.emplace(entries[i].path.substr(start, slash - start), file ? static_cast<int>(i) : -1);
    }
    FlatFolder flat;
    for (const auto& [name, entry] : names) {
        flat.names.push_back({name, entry >= 0});
        if (entry >= 0)
            flat.fileEntry.emplace(name, static_cast<size_t>(entry));
    }
    return flat;
}

// A small JSON writer: objects and arrays opened and closed in order.
class Json {
public:
    Json& open(char bracket) { return comma().raw(std::string(1, bracket)); }
    Json& close(char bracket)
    {
        out_ += bracket;
        first_ = false;
        return *this;
    }
    Json& key(std::string_view name)
    {
        comma();
        quote(name);
        out_ += ':';
        first_ = true;
        return *this;
    }
    Json& value(std::string_view text)
    {
        comma();
        quote(text);
        return *this;
    }
    Json& value(const char* text) { return value(std::string_view(text)); }
    Json& value(int64_t number) { return comma().raw(std::to_string(number)); }
    Json& value(bool flag) { return comma().raw(flag ? "true" : "false"); }
    Json& null() { return comma().raw("null"); }
    std::string take() { return std::move(out_); }

private:
    Json& comma()
    {
        if (!first_)
            out_ += ',';
        first_ = true;
        return *this;
    }
    Json& raw(const std::string& text)
    {
        out_ += text;
        first_ = text == "{" || text == "[";
        return *this;
    }
    void quote(std::string_view text)
    {
        out_ += '"';
        for (unsigned char c : text) {
            if (c == '"' || c == '\\') {
                out_ += '\\';
                out_ += static_cast<char>(c);
            } else if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out_ += escaped;
            } else {
                out_ += static_cast<char>(c);
            }
        }
        out_ += '"';
        first_ = false;
    }
    std::string out_;
    bool first_ = true;
};

const char* outcomeWord(rom::BatchOutcome outcome)
{
    switch (outcome) {
    case rom::BatchOutcome::Unchanged: return "unchanged";
    case rom::BatchOutcome::SameAs: return "same";
    case rom::BatchOutcome::InPlace: return "in-place";
    case rom::BatchOutcome::Moved: return "moved";
    case rom::BatchOutcome::Recoloured: return "recoloured";
    case rom::BatchOutcome::PaletteSet: return "palette-set";
    }
    return "unchanged";
}

// Why a folder gives no batch: a refusal to show, or an entry the page did
// not read as asked (missing).
struct Problem {
    std::string message;
    bool missing = false;
};
std::unexpected<Problem> missing(const std::string& path) { return std::unexpected(Problem{"not read: " + path, true}); }
std::unexpected<Problem> refusal(std::string message) { return std::unexpected(Problem{std::move(message)}); }

// The items read from the folder, and the lines for what was left out.
struct Batch {
    std::vector<rom::BatchItem> items;
    std::vector<std::string> unused;
};

std::string shownName(const std::string& folderName, const std::string& path)
{
    return folderName.empty() ? path : folderName + "/" + path;
}

std::expected<Batch, Problem> flatBatch(const std::vector<FolderEntry>& entries, const rom::RomImage& rom,
                                        const std::string& folderName, Language language)
{
    const FlatFolder flat = flatFolder(entries);
    rom::FlatIndex index = rom::IndexFlatFolder(flat.names);
    Batch batch;
    for (const std::string& name : index.ignored)
        batch.unused.push_back(name + ": " + FlatIgnoredText(language));
    for (const rom::FlatFileUse& use : index.used) {
        const FolderEntry& e = entries[flat.fileEntry.at(use.name)];
        const std::string shown = shownName(folderName, e.path);
        std::expected<CodedPicture, std::string> coded;
        if (use.ownFile) {
            if (e.type != FolderEntry::Type::Bytes)
                return missing(e.path);
            coded = CodeOwnFile(e.data, shown, language);
        } else {
            if (e.type != FolderEntry::Type::Picture)
                return missing(e.path);
            auto loaded = LoadSource(e.picture, shown, language);
            coded = loaded ? CodeLoaded(std::move(*loaded), {.slotPair = rom::SlotPalettePair(rom, use.slot)}, language)
                           : std::unexpected(loaded.error());
        }
        if (!coded)
            return refusal(use.name + ": " + coded.error());
        batch.items.push_back({use.name, use.slot, std::move(coded->tileData), std::move(coded->stream), coded->colour1,
                               coded->colour2, coded->width, coded->height});
    }
    return batch;
}

// The listing IndexPack takes, each path with the entry it came from.
struct PackFiles {
    std::vector<std::string> paths;
    std::map<std::string, size_t> entry;
};
PackFiles packFiles(const std::vector<std::string>& paths, const std::string& prefix)
{
    PackFiles files;
    for (rom::ListedPath& listed : rom::PackListing(paths, prefix)) {
        if (listed.from)
            files.entry.emplace(listed.path, *listed.from);
        files.paths.push_back(std::move(listed.path));
    }
    return files;
}

std::expected<Batch, Problem> packBatch(const std::vector<FolderEntry>& entries, const rom::RomImage& rom,
                                        const std::string& folderName, const std::vector<std::string>& paths,
                                        const Layout& layout, Language language)
{
    const PackFiles files = packFiles(paths, layout.prefix);
    const rom::GameVersion version = rom::EditionOfRom(rom.bytes()).version;
    const rom::PackIndex index = rom::IndexPack(files.paths, version);
    const auto shown = [&](const std::string& path) { return shownName(folderName, layout.prefix + path); };

    std::optional<Problem> stopped;
    const auto read = [&](const rom::PackFileUse& use, FolderEntry::Type type) -> const FolderEntry* {
        const FolderEntry& e = entries[files.entry.at(use.path)];
        if (e.type == type)
            return &e;
        stopped = missing(e.path).error();
        return nullptr;
    };
    const auto palText = [&](const rom::PackFileUse& use) -> std::optional<std::string> {
        const FolderEntry* e = read(use, FolderEntry::Type::Text);
        if (!e)
            return std::nullopt;
        return std::string(e->data.begin(), e->data.end());
    };
    const auto picture = [&](const rom::PackFileUse& use) -> std::optional<DecodedPicture> {
        const FolderEntry* e = read(use, FolderEntry::Type::Picture);
        if (!e)
            return std::nullopt;
        auto loaded = LoadSource(e->picture, shown(use.path), language);
        if (!loaded) {
            stopped = Problem{loaded.error()};
            return std::nullopt;
        }
        return std::move(*loaded);
    };
    auto items = rom::CodePack(index, rom, {palText, picture});
    if (!items) {
        const rom::PackRefusal& refused = items.error();
        if (refused.palError)
            return refusal(Text(language, *refused.palError, shown(refused.path)));
        if (refused.error)
            return refusal(shown(refused.path) + ": " + Text(language, *refused.error));
        return std::unexpected(*stopped);
    }
    Batch batch{.items = std::move(*items)};
    for (const rom::PackSkipped& skipped : index.skipped)
        batch.unused.push_back(skipped.path + ": " + Text(language, skipped, version));
    for (const rom::PackIgnored& ignored : index.ignored)
        batch.unused.push_back(ignored.path + ": " + Text(language, ignored));
    return batch;
}

void itemLine(Json& json, const std::string& name, const char* outcome, const std::string& text, bool palette)
{
    json.open('{').key("name").value(name).key("outcome").value(outcome).key("text").value(text);
    json.key("palette").value(palette).close('}');
}

void lines(Json& json, const char* key, const std::vector<std::string>& texts)
{
    json.key(key).open('[');
    for (const std::string& text : texts)
        json.value(text);
    json.close(']');
}

} // namespace

std::optional<std::vector<FolderEntry>> ParseFolder(std::span<const uint8_t> buffer)
{
    Reader r(buffer);
    const auto count = r.word();
    if (!count || *count > buffer.size() / 8)
        return std::nullopt;
    std::vector<FolderEntry> entries(*count);
    for (FolderEntry& e : entries) {
        const auto type = r.word();
        const auto length = r.word();
        if (!type || *type > 4 || !length)
            return std::nullopt;
        const auto path = r.take(*length);
        if (!path)
            return std::nullopt;
        e.type = static_cast<FolderEntry::Type>(*type);
        e.path.assign(path->begin(), path->end());
        if (e.type == FolderEntry::Type::Picture) {
            const auto width = r.word(), height = r.word(), colours = r.word();
            if (!width || !height || !colours || *width > 32767 || *height > 32767 || *colours > 256)
                return std::nullopt;
            const auto table = r.take(uint64_t{*colours} * 4);
            const auto rgba = r.take(uint64_t{*width} * *height * 4);
            if (!table || !rgba)
                return std::nullopt;
            e.picture.width = static_cast<int>(*width);
            e.picture.height = static_cast<int>(*height);
            e.picture.rgba = *rgba;
            for (size_t k = 0; k < *colours; ++k) {
                uint32_t colour;
                std::memcpy(&colour, table->data() + 4 * k, 4);
                e.picture.colourTable.push_back(colour & 0xFFFFFF);
            }
        } else if (e.type == FolderEntry::Type::Text || e.type == FolderEntry::Type::Bytes) {
            const auto size = r.word();
            const auto data = size ? r.take(*size) : std::nullopt;
            if (!data)
                return std::nullopt;
            e.data = *data;
        }
    }
    return entries;
}

FolderNeeds NeedsOfFolder(const std::vector<FolderEntry>& entries, const rom::RomImage& rom)
{
    FolderNeeds needs{.read = std::vector<uint8_t>(entries.size(), 0)};
    const std::vector<std::string> paths = pathsOf(entries);
    const Layout layout = layoutOf(paths);
    if (!layout.pack) {
        const FlatFolder flat = flatFolder(entries);
        for (const rom::FlatFileUse& use : rom::IndexFlatFolder(flat.names).used)
            needs.read[flat.fileEntry.at(use.name)] = use.ownFile ? 3 : 1;
        return needs;
    }
    needs.layout = layout.prefix.empty() ? 1 : 2;
    const PackFiles files = packFiles(paths, layout.prefix);
    const rom::PackIndex index = rom::IndexPack(files.paths, rom::EditionOfRom(rom.bytes()).version);
    for (const rom::PackFileUse& use : index.pictures)
        needs.read[files.entry.at(use.path)] = 1;
    for (const rom::PackFileUse& use : index.palettes)
        needs.read[files.entry.at(use.path)] = 2;
    return needs;
}

std::expected<FolderPlan, std::string> PlanFolder(const std::vector<FolderEntry>& entries, const rom::RomImage& rom,
                                                  const std::string& romName, const std::string& folderName,
                                                  bool anyShape, Language language)
{
    const std::vector<std::string> paths = pathsOf(entries);
    const Layout layout = layoutOf(paths);
    Json json;
    json.open('{').key("layout").value(layout.pack ? "pack" : "flat").key("root").value(layout.prefix);
    FolderPlan plan;
    const auto refuse = [&](const std::string& message, bool shapeOnly) {
        json.key("ok").value(false).key("message").value(Refused(language, message)).key("shapeOnly").value(shapeOnly);
        plan.report = json.close('}').take();
        return plan;
    };
    if (auto mismatch = rom::FindGameMismatch(rom))
        return refuse(Text(language, *mismatch, romName), false);

    auto batch = layout.pack ? packBatch(entries, rom, folderName, paths, layout, language)
                             : flatBatch(entries, rom, folderName, language);
    if (!batch && batch.error().missing)
        return std::unexpected(batch.error().message);
    if (!batch)
        return refuse(batch.error().message, false);
    const std::vector<rom::BatchItem>& items = batch->items;
    lines(json, "unused", batch->unused);

    auto planned = rom::PlanBatch(rom, items, {.anyShape = anyShape, .paletteConflictsRefused = layout.pack});
    if (!planned) {
        const rom::BatchError& error = planned.error();
        json.key("items").open('[');
        bool shapeOnly = true, unownFront = false;
        for (const auto& [i, why] : error.misshapen) {
            itemLine(json, items[i].name, "refused", Text(language, why, romName), items[i].paletteOnly);
            shapeOnly = shapeOnly && why.kind == ErrorKind::BadShape;
            unownFront = unownFront || rom::KindOf(items[i].slot) == rom::SlotKind::UnownFront;
        }
        if (error.misshapen.empty() && error.item)
            itemLine(json, items[*error.item].name, "refused", Text(language, error.error, romName),
                     items[*error.item].paletteOnly);
        json.close(']');
        if (error.misshapen.empty()) {
            const std::string text = Text(language, error.error, romName);
            return refuse(error.item ? items[*error.item].name + ": " + text : text, false);
        }
        return refuse(MisshapenBatchText(language, error.misshapen.size(), unownFront), shapeOnly);
    }

    std::vector<rom::BytePatch> patches = planned->patches;
    if (auto checksum = rom::GlobalChecksumPatch(rom, patches))
        patches.push_back(std::move(*checksum));
    auto bytes = rom::ApplyPatches(rom, patches);
    if (!bytes)
        return refuse(Text(language, bytes.error(), romName), false);

    std::vector<const rom::BatchStep*> steps;
    for (const rom::BatchStep& step : planned->steps)
        steps.push_back(&step);
    std::ranges::stable_sort(steps, {}, [&](const rom::BatchStep* step) { return items[step->item].name; });
    int64_t pictures = 0, palettes = 0;
    json.key("items").open('[');
    for (const rom::BatchStep* step : steps) {
        const rom::BatchItem& item = items[step->item];
        itemLine(json, item.name, outcomeWord(step->outcome), Text(language, *step, items), item.paletteOnly);
        if (step->outcome != rom::BatchOutcome::Unchanged && step->outcome != rom::BatchOutcome::SameAs)
            ++(item.paletteOnly ? palettes : pictures);
    }
    json.close(']');
    std::vector<std::string> notes;
    for (const rom::BatchNote& note : planned->notes)
        notes.push_back((language == Language::German ? "Hinweis: " : "note: ") +
                        (note.note.kind == NoteKind::PaletteShared ? "" : items[note.item].name + ": ") +
                        Text(language, note.note));
    lines(json, "notes", notes);
    const std::span<const uint8_t> before = rom.bytes();
    int64_t changedBytes = 0;
    for (size_t i = 0; i < bytes->size(); ++i)
        changedBytes += i >= before.size() || (*bytes)[i] != before[i];
    json.key("ok").value(true);
    const std::string changedOf = std::to_string(planned->changed) + (language == Language::German ? " von " : " of ") +
                                  std::to_string(items.size());
    const std::string freeBytes = std::to_string(planned->freeBefore) +
                                  (language == Language::German ? " vorher, " : " before, ") +
                                  std::to_string(planned->freeAfter) +
                                  (language == Language::German ? " nachher" : " after");
    const std::string runs = std::to_string(rom::kCountedRunBytes);
    json.key("summary").value(language == Language::German
                                  ? changedOf + (layout.pack ? " Dateien" : " Bildern") +
                                        " geändert; freie Bytes (Bereiche ab " + runs + ") " + freeBytes
                                  : changedOf + (layout.pack ? " files" : " pictures") +
                                        " changed; free bytes (runs of " + runs + " and more) " + freeBytes);
    json.key("changed").value(static_cast<int64_t>(planned->changed));
    json.key("total").value(static_cast<int64_t>(items.size()));
    json.key("pictures").value(pictures).key("palettes").value(palettes);
    json.key("freeBefore").value(planned->freeBefore).key("freeAfter").value(planned->freeAfter);
    json.key("bytesChanged").value(changedBytes);
    plan.ok = true;
    plan.bytes = std::move(*bytes);
    plan.report = json.close('}').take();
    return plan;
}

std::expected<std::string, std::string> SpaceMapJson(const rom::RomImage& rom, const std::string& romName,
                                                     int64_t minRun, Language language)
{
    auto map = rom::MapSpace(rom, minRun);
    if (!map)
        return std::unexpected(Text(language, map.error(), romName));
    // The slots (in orv_slots' order) whose complete picture starts in each bank.
    std::map<int64_t, std::vector<int64_t>> slotsOf;
    const auto& slots = rom::AllPictureSlots();
    for (size_t i = 0; i < slots.size(); ++i)
        if (auto picture = rom::ExtractFromRom(rom, {.slot = slots[i]}))
            slotsOf[picture->offset / rom::kBankSize].push_back(static_cast<int64_t>(i));
    const auto run = [](Json& json, const std::optional<rom::FreeRun>& r) {
        if (!r)
            json.null();
        else
            json.open('[').value(r->offset).value(r->length).close(']');
    };
    Json json;
    json.open('{').key("minRun").value(minRun);
    json.key("bankCount").value(static_cast<int64_t>((rom.bytes().size() + rom::kBankSize - 1) / rom::kBankSize));
    json.key("banks").open('[');
    for (const rom::BankSpace& bank : map->banks) {
        json.open('{').key("bank").value(bank.bank).key("pictures").value(static_cast<int64_t>(bank.pictures));
        json.key("pictureBytes").value(bank.pictureBytes).key("freeBytes").value(bank.freeBytes);
        json.key("largest");
        run(json, bank.largest());
        json.key("runs").open('[');
        for (const rom::FreeRun& r : bank.runs)
            run(json, r);
        json.close(']').key("slots").open('[');
        for (int64_t i : slotsOf[bank.bank])
            json.value(i);
        json.close(']').close('}');
    }
    json.close(']');
    json.key("pictures").value(static_cast<int64_t>(map->pictures)).key("pictureBytes").value(map->pictureBytes);
    json.key("runs").value(static_cast<int64_t>(map->runs)).key("freeBytes").value(map->freeBytes);
    json.key("largest");
    run(json, map->largest);
    return json.close('}').take();
}

std::vector<uint8_t> ExtractFiles(const rom::RomImage& rom, const std::string& romName, bool pack)
{
    struct Job {
        std::string path;
        Slot slot;
        bool palette = false;
    };
    std::vector<Job> jobs;
    if (pack) {
        for (const rom::PackOutput& output : rom::PackOutputs())
            jobs.push_back({output.relative, output.slot, output.palette});
    } else {
        for (const Slot& slot : rom::AllPictureSlots(rom::Pokemon201::Listed))
            jobs.push_back({rom::FlatName(slot) + ".png", slot, false});
    }

    std::vector<uint8_t> out;
    const auto word = [&](uint32_t w) {
        const size_t at = out.size();
        out.resize(at + 4);
        std::memcpy(out.data() + at, &w, 4);
    };
    const auto bytes = [&](std::span<const uint8_t> data) {
        word(static_cast<uint32_t>(data.size()));
        out.insert(out.end(), data.begin(), data.end());
        out.resize((out.size() + 3) & ~size_t{3});
    };
    const auto text = [&](const std::string& s) { bytes({reinterpret_cast<const uint8_t*>(s.data()), s.size()}); };
    word(static_cast<uint32_t>(jobs.size()));
    for (const Job& job : jobs) {
        if (job.palette) {
            auto words = rom::ReadPaletteWords(rom, rom::PaletteLocation(job.slot));
            word(words ? 1 : 2);
            text(job.path);
            text(words ? rom::FormatPalFile(words->pair) : en::Text(words.error(), romName));
            continue;
        }
        auto picture = rom::ExtractFromRom(rom, {.slot = job.slot});
        word(picture ? 0 : 2);
        text(job.path);
        if (!picture) {
            text(en::Text(picture.error(), romName));
            continue;
        }
        uint32_t colour1 = picture->palette.colours[0], colour2 = picture->palette.colours[1];
        if (pack) {
            // A pack's PNGs write each 5-bit component c as (c << 3) | (c >> 2).
            const PalettePair& pair = picture->palette.pair;
            colour1 = rom::PackColour(static_cast<GbcColor>(pair[0] | pair[1] << 8));
            colour2 = rom::PackColour(static_cast<GbcColor>(pair[2] | pair[3] << 8));
        }
        word(static_cast<uint32_t>(picture->width));
        word(static_cast<uint32_t>(picture->height));
        word(colour1);
        word(colour2);
        // Shades 0..3 from the top, white where no whole tile reaches.
        const auto grid = DecodeTiles(picture->tileData, {0, 1, 2, 3, 3}, picture->width, picture->height,
                                      TileOrder::Vertical);
        std::vector<uint8_t> shades(static_cast<size_t>(picture->width) * picture->height);
        for (int t = 0; t < picture->height; ++t)
            for (int x = 0; x < picture->width; ++x) {
                const Colour shade = grid[static_cast<size_t>(picture->height - 1 - t) * picture->width + x];
                shades[static_cast<size_t>(t) * picture->width + x] = static_cast<uint8_t>(shade <= 3 ? shade : 0);
            }
        bytes(shades);
    }
    return out;
}

} // namespace orv::web
