#include "rom_map.h"

#include <algorithm>
#include <map>

#include "rom_layout.h"

namespace orv::rom {

int64_t PictureSlot::pointerLocation() const
{
    switch (kind) {
    case Kind::Trainer: return PicturePointerLocation(true, number, 1, false);
    case Kind::Unown: return PicturePointerLocation(false, kUnownNumber, number, back);
    case Kind::Pokemon: break;
    }
    return PicturePointerLocation(false, number, 1, back);
}

std::string PictureSlot::german() const
{
    switch (kind) {
    case Kind::Trainer: return "das Bild von Trainer " + std::to_string(number);
    case Kind::Unown: return "das Bild von Unown " + std::to_string(number) + (back ? " (Backpic)" : " (Frontpic)");
    case Kind::Pokemon: break;
    }
    return "das Bild von Pokemon " + std::to_string(number) + (back ? " (Backpic)" : " (Frontpic)");
}

std::string PictureSlot::english() const
{
    switch (kind) {
    case Kind::Trainer: return "the picture of trainer " + std::to_string(number);
    case Kind::Unown: return "the picture of Unown " + std::to_string(number) + (back ? " (back)" : " (front)");
    case Kind::Pokemon: break;
    }
    return "the picture of Pokemon " + std::to_string(number) + (back ? " (back)" : " (front)");
}

const std::vector<PictureSlot>& AllPictureSlots()
{
    static const std::vector<PictureSlot> slots = [] {
        std::vector<PictureSlot> all;
        using K = PictureSlot::Kind;
        for (int n = 1; n <= kMaxPokemon; ++n)
            if (n != kUnownNumber)
                for (bool back : {false, true})
                    all.push_back({K::Pokemon, n, back});
        for (int u = 1; u <= kMaxUnownIndex; ++u)
            for (bool back : {false, true})
                all.push_back({K::Unown, u, back});
        for (int t = 1; t <= kMaxTrainer; ++t)
            all.push_back({K::Trainer, t, false});
        return all;
    }();
    return slots;
}

std::expected<codec::Lengths, codec::Error> MeasurePicture(const RomFile& rom, int64_t offset)
{
    if (offset < 0 || offset >= rom.size())
        return std::unexpected(codec::Error::NoEndMarker);
    return codec::measure(rom.bytes().subspan(static_cast<size_t>(offset)), kMaxTileDataBytes);
}

std::expected<std::vector<SlotStream>, RomError> ReadSlotStreams(const RomFile& rom)
{
    std::vector<SlotStream> streams;
    std::map<int64_t, std::optional<codec::Lengths>> measured;
    for (const PictureSlot& slot : AllPictureSlots()) {
        auto offset = ReadPicturePointer(rom, slot.pointerLocation());
        if (!offset)
            continue;
        auto [at, fresh] = measured.try_emplace(*offset);
        if (fresh) {
            auto lengths = MeasurePicture(rom, *offset);
            if (!lengths && lengths.error() == codec::Error::LibraryMissing)
                return std::unexpected(CodecMissing(codec::loadProblem()));
            if (lengths)
                at->second = *lengths;
        }
        streams.push_back({slot, *offset, at->second});
    }
    return streams;
}

std::vector<KnownRegion> KnownRegions(const RomFile& rom, int nameLength)
{
    std::vector<KnownRegion> regions;
    auto add = [&](TableSpan span, std::string german, std::string english) {
        const int64_t end = std::min(span.end, rom.size());
        if (span.begin < end)
            regions.push_back({span.begin, end, std::move(german), std::move(english)});
    };
    add({kHeaderBegin, kHeaderEnd}, "den Kopf des Roms", "the cartridge header");
    add(PokemonPointerTable(), "die Zeigertabelle der Pokemonbilder", "the Pokemon picture pointer table");
    add(UnownPointerTable(), "die Zeigertabelle der Unown-Bilder", "the Unown picture pointer table");
    add(TrainerPointerTable(), "die Zeigertabelle der Trainerbilder", "the trainer picture pointer table");
    add(PokemonPaletteTable(), "die Palettentabelle der Pokemon", "the Pokemon palette table");
    add(TrainerPaletteTable(), "die Palettentabelle der Trainer", "the trainer palette table");
    auto language = DetectRomLanguage(rom);
    for (RomLanguage layout : {RomLanguage::German, RomLanguage::English})
        if (!language || *language == layout)
            add(BaseDataRecords(layout), "die Datensätze der Pokemon", "the Pokemon base-data records");
    if (language && nameLength > 0)
        if (auto base = ReadNameTableBase(rom, *language))
            add({*base, *base + int64_t{nameLength} * kMaxPokemon}, "die Namenstabelle der Pokemon",
                "the Pokemon name table");
    return regions;
}

} // namespace orv::rom
