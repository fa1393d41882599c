#include "rom_map.h"

#include <algorithm>
#include <map>

#include "rom_layout.h"

namespace orv::rom {

std::expected<codec::Lengths, codec::Error> MeasurePicture(const RomImage& rom, int64_t offset)
{
    if (offset < 0 || offset >= rom.size())
        return std::unexpected(codec::Error::NoEndMarker);
    return codec::Measure(rom.bytes().subspan(static_cast<size_t>(offset)), kMaxTileDataBytes);
}

std::expected<std::vector<SlotStream>, Error> ReadSlotStreams(const RomImage& rom)
{
    std::vector<SlotStream> streams;
    std::map<int64_t, std::optional<codec::Lengths>> measured;
    for (const Slot& slot : AllPictureSlots()) {
        auto offset = ReadPicturePointer(rom, PointerLocation(slot));
        if (!offset)
            continue;
        auto [at, fresh] = measured.try_emplace(*offset);
        if (fresh) {
            auto lengths = MeasurePicture(rom, *offset);
            if (!lengths && lengths.error() == codec::Error::LibraryMissing)
                return std::unexpected(CodecMissingError(codec::LoadProblem()));
            if (lengths)
                at->second = *lengths;
        }
        streams.push_back({slot, *offset, at->second});
    }
    return streams;
}

const SlotStream* StreamOf(const std::vector<SlotStream>& streams, const Slot& slot)
{
    const auto found = std::ranges::find(streams, TableEntry(slot), &SlotStream::slot);
    return found == streams.end() ? nullptr : &*found;
}

std::vector<KnownRegion> KnownRegions(const RomImage& rom, int nameLength)
{
    std::vector<KnownRegion> regions;
    auto add = [&](TableSpan span, Region region) {
        const int64_t end = std::min(span.end, rom.size());
        if (span.begin < end)
            regions.push_back({span.begin, end, region});
    };
    add({kHeaderBegin, kHeaderEnd}, Region::Header);
    add(PokemonPointerTable(), Region::PokemonPointers);
    add(UnownPointerTable(), Region::UnownPointers);
    add(TrainerPointerTable(), Region::TrainerPointers);
    add(PokemonPaletteTable(), Region::PokemonPalettes);
    add(TrainerPaletteTable(), Region::TrainerPalettes);
    auto language = DetectRomLanguage(rom);
    for (RomLanguage layout : {RomLanguage::German, RomLanguage::English})
        if (!language || *language == layout)
            add(BaseDataRecords(layout), Region::BaseData);
    if (language && nameLength > 0)
        if (auto base = ReadNameTableBase(rom, *language))
            add({*base, *base + int64_t{nameLength} * kMaxPokemon}, Region::NameTable);
    return regions;
}

} // namespace orv::rom
