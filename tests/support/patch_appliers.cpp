#include "patch_appliers.h"

#include <algorithm>

namespace orv::test {

namespace {

using Bytes = std::vector<uint8_t>;
using Result = std::expected<Bytes, std::string>;

uint32_t little32(std::span<const uint8_t> at)
{
    return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

// Reads the patch's numbers and bytes up to `end`.
class Reader {
public:
    Reader(std::span<const uint8_t> data, size_t end) : data_(data), end_(end) {}
    bool done() const { return at_ >= end_; }
    size_t at() const { return at_; }
    bool byte(uint8_t& out)
    {
        if (at_ >= end_)
            return false;
        out = data_[at_++];
        return true;
    }
    // Seven bits a byte, the last one flagged by bit 7; each further byte
    // adds the next power of 128 once more.
    bool number(uint64_t& out)
    {
        uint64_t value = 0, shift = 1;
        for (;;) {
            uint8_t x = 0;
            if (!byte(x) || shift > (uint64_t{1} << 56))
                return false;
            value += (x & 0x7F) * shift;
            if (x & 0x80)
                break;
            shift <<= 7;
            value += shift;
        }
        out = value;
        return true;
    }
    bool bytes(size_t length, std::span<const uint8_t>& out)
    {
        if (length > end_ - at_)
            return false;
        out = data_.subspan(at_, length);
        at_ += length;
        return true;
    }

private:
    std::span<const uint8_t> data_;
    size_t end_, at_ = 0;
};

bool signedOffset(Reader& r, int64_t& offset)
{
    uint64_t raw = 0;
    if (!r.number(raw))
        return false;
    const auto magnitude = static_cast<int64_t>(raw >> 1);
    offset += raw & 1 ? -magnitude : magnitude;
    return true;
}

} // namespace

uint32_t BitwiseCrc32(std::span<const uint8_t> bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t b : bytes) {
        crc ^= b;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

Result ApplyBps(std::span<const uint8_t> patch, std::span<const uint8_t> source)
{
    if (patch.size() < 4 + 3 + 12 || !std::ranges::equal(patch.first(4), std::string_view("BPS1")))
        return std::unexpected("not a BPS patch");
    const size_t footer = patch.size() - 12;
    if (BitwiseCrc32(patch.first(patch.size() - 4)) != little32(patch.subspan(footer + 8)))
        return std::unexpected("the patch's own CRC is wrong");
    Reader r(patch, footer);
    std::span<const uint8_t> skipped;
    r.bytes(4, skipped);
    uint64_t sourceSize = 0, targetSize = 0, metadataSize = 0;
    if (!r.number(sourceSize) || !r.number(targetSize) || !r.number(metadataSize) || !r.bytes(metadataSize, skipped))
        return std::unexpected("the patch's sizes are cut short");
    if (sourceSize != source.size())
        return std::unexpected("the source has " + std::to_string(source.size()) + " bytes, the patch wants " +
                               std::to_string(sourceSize));
    if (BitwiseCrc32(source) != little32(patch.subspan(footer)))
        return std::unexpected("the source's CRC is not the one the patch was made for");
    Bytes target;
    target.reserve(targetSize);
    int64_t sourceRelative = 0, targetRelative = 0;
    while (!r.done()) {
        uint64_t command = 0;
        if (!r.number(command))
            return std::unexpected("an action is cut short");
        const uint64_t length = (command >> 2) + 1;
        if (length > targetSize - target.size())
            return std::unexpected("an action writes past the target's end");
        switch (command & 3) {
        case 0: // SourceRead: the source's bytes at the output position
            if (target.size() + length > source.size())
                return std::unexpected("SourceRead reads past the source's end");
            target.insert(target.end(), source.begin() + target.size(), source.begin() + target.size() + length);
            break;
        case 1: { // TargetRead: bytes from the patch
            std::span<const uint8_t> data;
            if (!r.bytes(length, data))
                return std::unexpected("TargetRead is cut short");
            target.insert(target.end(), data.begin(), data.end());
            break;
        }
        case 2: // SourceCopy: from anywhere in the source
            if (!signedOffset(r, sourceRelative) || sourceRelative < 0 ||
                static_cast<uint64_t>(sourceRelative) + length > source.size())
                return std::unexpected("SourceCopy reads outside the source");
            target.insert(target.end(), source.begin() + sourceRelative, source.begin() + sourceRelative + length);
            sourceRelative += static_cast<int64_t>(length);
            break;
        case 3: // TargetCopy: from what is written so far, byte by byte
            if (!signedOffset(r, targetRelative) || targetRelative < 0 ||
                static_cast<uint64_t>(targetRelative) >= target.size())
                return std::unexpected("TargetCopy reads outside the target written so far");
            for (uint64_t k = 0; k < length; ++k)
                target.push_back(target[static_cast<size_t>(targetRelative++)]);
            break;
        }
    }
    if (target.size() != targetSize)
        return std::unexpected("the actions make " + std::to_string(target.size()) + " bytes, not " +
                               std::to_string(targetSize));
    if (BitwiseCrc32(target) != little32(patch.subspan(footer + 4)))
        return std::unexpected("the target's CRC is wrong");
    return target;
}

Result ApplyIps(std::span<const uint8_t> patch, std::span<const uint8_t> source, std::vector<int64_t>* recordOffsets)
{
    if (patch.size() < 8 || !std::ranges::equal(patch.first(5), std::string_view("PATCH")))
        return std::unexpected("not an IPS patch");
    Bytes target(source.begin(), source.end());
    Reader r(patch, patch.size());
    std::span<const uint8_t> head;
    r.bytes(5, head);
    for (;;) {
        std::span<const uint8_t> offsetBytes;
        if (!r.bytes(3, offsetBytes))
            return std::unexpected("the patch ends without \"EOF\"");
        if (std::ranges::equal(offsetBytes, std::string_view("EOF"))) {
            if (!r.done())
                return std::unexpected("bytes after \"EOF\" at " + std::to_string(r.at() - 3));
            return target;
        }
        const size_t offset = size_t{offsetBytes[0]} << 16 | size_t{offsetBytes[1]} << 8 | offsetBytes[2];
        if (recordOffsets)
            recordOffsets->push_back(static_cast<int64_t>(offset));
        std::span<const uint8_t> sizeBytes;
        if (!r.bytes(2, sizeBytes))
            return std::unexpected("a record header is cut short");
        size_t size = size_t{sizeBytes[0]} << 8 | sizeBytes[1];
        std::span<const uint8_t> data;
        uint8_t fill = 0;
        if (size == 0) { // RLE: a count, then the byte to repeat
            std::span<const uint8_t> run;
            if (!r.bytes(2, run) || !r.byte(fill))
                return std::unexpected("an RLE record is cut short");
            size = size_t{run[0]} << 8 | run[1];
        } else if (!r.bytes(size, data)) {
            return std::unexpected("a record's data is cut short");
        }
        if (target.size() < offset + size)
            target.resize(offset + size);
        for (size_t k = 0; k < size; ++k)
            target[offset + k] = data.empty() ? fill : data[k];
    }
}

uint16_t GlobalChecksumOf(std::span<const uint8_t> rom)
{
    uint16_t sum = 0;
    for (size_t i = 0; i < rom.size(); ++i)
        if (i != 0x14E && i != 0x14F)
            sum = static_cast<uint16_t>(sum + rom[i]);
    return sum;
}

void SetGlobalChecksum(std::vector<uint8_t>& rom)
{
    const uint16_t sum = GlobalChecksumOf(rom);
    rom.at(0x14E) = static_cast<uint8_t>(sum >> 8);
    rom.at(0x14F) = static_cast<uint8_t>(sum);
}

} // namespace orv::test
