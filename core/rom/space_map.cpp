#include "space_map.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "rom_layout.h"
#include "rom_map.h"

namespace orv::rom {

namespace {

using Range = std::pair<int64_t, int64_t>; // [begin, end)

// The pieces of run outside every taken range that keep minLength bytes.
void cutAround(const FreeRun& run, const std::vector<Range>& taken, int64_t minLength, std::vector<FreeRun>& out)
{
    int64_t at = run.offset;
    const int64_t end = run.offset + run.length;
    const auto keep = [&](int64_t from, int64_t to) {
        if (to - from >= minLength)
            out.push_back({from, to - from});
    };
    for (const auto& [begin, stop] : taken) { // sorted by begin
        if (stop <= at)
            continue;
        if (begin >= end)
            break;
        keep(at, std::max(at, begin));
        at = std::max(at, stop);
    }
    keep(at, std::max(at, end));
}

} // namespace

std::optional<FreeRun> BankSpace::largest() const
{
    if (runs.empty())
        return std::nullopt;
    return *std::ranges::max_element(runs, [](const FreeRun& a, const FreeRun& b) { return a.length < b.length; });
}

std::expected<SpaceMap, Error> MapSpace(const RomImage& rom, int64_t minLength, int nameLength)
{
    auto streams = ReadSlotStreams(rom);
    if (!streams)
        return std::unexpected(streams.error());
    std::vector<Range> taken;
    for (const KnownRegion& region : KnownRegions(rom, nameLength))
        taken.emplace_back(region.begin, region.end);
    std::map<int64_t, BankSpace> banks;
    std::set<int64_t> counted;
    for (const SlotStream& stream : *streams) {
        if (!stream.complete() || !counted.insert(stream.offset).second)
            continue;
        taken.emplace_back(stream.offset, stream.end());
        BankSpace& bank = banks[stream.offset / kBankSize];
        ++bank.pictures;
        bank.pictureBytes += stream.end() - stream.offset;
    }
    std::ranges::sort(taken);

    minLength = std::max<int64_t>(minLength, 1);
    std::vector<FreeRun> runs;
    for (const FreeRun& run : FreeRuns(rom.bytes(), minLength))
        cutAround(run, taken, minLength, runs);
    for (const FreeRun& run : runs) {
        BankSpace& bank = banks[run.offset / kBankSize];
        bank.runs.push_back(run);
        bank.freeBytes += run.length;
    }

    SpaceMap map;
    for (auto& [number, bank] : banks) {
        bank.bank = number;
        map.pictures += bank.pictures;
        map.pictureBytes += bank.pictureBytes;
        map.runs += bank.runs.size();
        map.freeBytes += bank.freeBytes;
        if (auto largest = bank.largest(); largest && (!map.largest || largest->length > map.largest->length))
            map.largest = largest;
        map.banks.push_back(std::move(bank));
    }
    return map;
}

} // namespace orv::rom
