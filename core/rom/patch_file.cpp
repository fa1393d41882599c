#include "patch_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>


namespace orv::rom {

namespace {

using Bytes = std::vector<uint8_t>;

// Below this many bytes of one value a run stays inside the literal around
// it: a copy or RLE record and the split literal cost about as much.
constexpr size_t kMinRepeat = 16;
// Fewer unchanged bytes than this between changes are written as literal
// bytes: a SourceRead and the next TargetRead's header cost as much.
constexpr size_t kMinUnchanged = 4;
// Unchanged bytes between two IPS records up to which one record covers both
// (a record header is 5 bytes).
constexpr size_t kIpsMergeGap = 5;

constexpr int64_t kIpsLimit = int64_t{1} << 24;
constexpr size_t kIpsEofOffset = 0x454F46; // "EOF"
constexpr size_t kIpsMaxRecord = 0xFFFF;

size_t repeatLength(std::span<const uint8_t> bytes, size_t at, size_t end)
{
    size_t k = at + 1;
    while (k < end && bytes[k] == bytes[at])
        ++k;
    return k - at;
}

// BPS numbers: seven bits a byte, the last byte flagged, minus one after
// each byte so every number has one encoding.
void putNumber(Bytes& out, uint64_t value)
{
    for (;;) {
        const auto low = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
        if (value == 0) {
            out.push_back(0x80 | low);
            return;
        }
        out.push_back(low);
        --value;
    }
}

void putLittle32(Bytes& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

enum BpsAction : uint64_t { SourceRead = 0, TargetRead = 1, TargetCopy = 3 };

class BpsWriter {
public:
    BpsWriter(std::span<const uint8_t> source, std::span<const uint8_t> target) : source_(source), target_(target)
    {
        out_ = {'B', 'P', 'S', '1'};
        putNumber(out_, source.size());
        putNumber(out_, target.size());
        putNumber(out_, 0); // no metadata
    }

    Bytes finish()
    {
        for (size_t i = 0; i < target_.size();) {
            size_t same = i;
            while (same < target_.size() && unchanged(same))
                ++same;
            if (same > i) {
                action(SourceRead, same - i);
                i = same;
                continue;
            }
            const size_t end = changedEnd(i);
            changed(i, end);
            i = end;
        }
        putLittle32(out_, Crc32(source_));
        putLittle32(out_, Crc32(target_));
        putLittle32(out_, Crc32(out_));
        return std::move(out_);
    }

private:
    bool unchanged(size_t i) const { return i < source_.size() && source_[i] == target_[i]; }

    // The end of the changed stretch from i: the next run of kMinUnchanged
    // unchanged bytes, or the end of the target.
    size_t changedEnd(size_t i) const
    {
        size_t end = i;
        while (end < target_.size()) {
            if (!unchanged(end)) {
                ++end;
                continue;
            }
            size_t k = end;
            while (k < target_.size() && unchanged(k) && k - end < kMinUnchanged)
                ++k;
            if (k - end >= kMinUnchanged || k == target_.size())
                break;
            end = k;
        }
        return end;
    }

    // Literal bytes, except runs of one value: the run's first byte is
    // written, the rest copied from the target one byte behind.
    void changed(size_t begin, size_t end)
    {
        size_t literal = begin;
        for (size_t k = begin; k < end;) {
            const size_t run = repeatLength(target_, k, end);
            if (run >= kMinRepeat) {
                targetRead(literal, k + 1);
                targetCopy(k, run - 1);
                literal = k + run;
            }
            k += run;
        }
        targetRead(literal, end);
    }

    void action(BpsAction kind, size_t length) { putNumber(out_, (uint64_t{length} - 1) << 2 | kind); }

    void targetRead(size_t begin, size_t end)
    {
        if (begin == end)
            return;
        action(TargetRead, end - begin);
        out_.insert(out_.end(), target_.begin() + begin, target_.begin() + end);
    }

    void targetCopy(size_t from, size_t length)
    {
        action(TargetCopy, length);
        const int64_t delta = static_cast<int64_t>(from) - copyFrom_;
        putNumber(out_, static_cast<uint64_t>(delta < 0 ? -delta : delta) << 1 | (delta < 0 ? 1 : 0));
        copyFrom_ = static_cast<int64_t>(from + length);
    }

    std::span<const uint8_t> source_, target_;
    Bytes out_;
    int64_t copyFrom_ = 0; // where the next TargetCopy reads, relative to which its offset counts
};

class IpsWriter {
public:
    explicit IpsWriter(std::span<const uint8_t> target) : target_(target) { out_ = {'P', 'A', 'T', 'C', 'H'}; }

    // Records over [begin, end): RLE for long runs of one value, literal
    // records otherwise, none starting at the offset that reads as "EOF".
    void span(size_t begin, size_t end)
    {
        for (size_t pos = begin; pos < end;) {
            const size_t run = repeatLength(target_, pos, std::min(end, pos + kIpsMaxRecord));
            if (run >= kMinRepeat && pos != kIpsEofOffset) {
                header(pos, 0);
                out_.push_back(static_cast<uint8_t>(run >> 8));
                out_.push_back(static_cast<uint8_t>(run));
                out_.push_back(target_[pos]);
                pos += run;
                continue;
            }
            // The byte before is rewritten with the target's own value.
            const size_t start = pos == kIpsEofOffset ? pos - 1 : pos;
            size_t stop = pos + 1;
            while (stop < end && stop - start < kIpsMaxRecord && repeatLength(target_, stop, end) < kMinRepeat)
                ++stop;
            header(start, stop - start);
            out_.insert(out_.end(), target_.begin() + start, target_.begin() + stop);
            pos = stop;
        }
    }

    Bytes finish()
    {
        out_.insert(out_.end(), {'E', 'O', 'F'});
        return std::move(out_);
    }

private:
    void header(size_t offset, size_t length)
    {
        out_.insert(out_.end(), {static_cast<uint8_t>(offset >> 16), static_cast<uint8_t>(offset >> 8),
                                 static_cast<uint8_t>(offset), static_cast<uint8_t>(length >> 8),
                                 static_cast<uint8_t>(length)});
    }

    std::span<const uint8_t> target_;
    Bytes out_;
};

} // namespace

std::optional<PatchFormat> PatchFormatOfName(std::string_view name)
{
    // As a path's extension: a leading dot starts no extension.
    const std::string_view file = name.substr(name.find_last_of('/') + 1);
    const size_t dot = file.rfind('.');
    std::string extension(dot == std::string_view::npos || dot == 0 ? std::string_view() : file.substr(dot));
    std::ranges::transform(extension, extension.begin(), [](unsigned char c) { return std::tolower(c); });
    if (extension == ".bps")
        return PatchFormat::Bps;
    if (extension == ".ips")
        return PatchFormat::Ips;
    return std::nullopt;
}

const char* PatchFormatName(PatchFormat format) { return format == PatchFormat::Bps ? "BPS" : "IPS"; }

uint32_t Crc32(std::span<const uint8_t> bytes)
{
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    // Plain pointers: unoptimised (sanitizer) builds run this over whole ROMs too.
    uint32_t crc = 0xFFFFFFFFu;
    const uint32_t* t = table.data();
    for (const uint8_t *p = bytes.data(), *end = p + bytes.size(); p != end; ++p)
        crc = t[(crc ^ *p) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::vector<uint8_t> MakeBpsPatch(std::span<const uint8_t> source, std::span<const uint8_t> target)
{
    return BpsWriter(source, target).finish();
}

std::expected<std::vector<uint8_t>, Error> MakeIpsPatch(std::span<const uint8_t> source,
                                                           std::span<const uint8_t> target)
{
    const auto size = static_cast<int64_t>(target.size());
    if (size >= kIpsLimit)
        return std::unexpected(Error{.kind = ErrorKind::IpsTooLarge, .value = size});
    if (target.size() < source.size())
        return std::unexpected(Error{.kind = ErrorKind::IpsShortens,
                                     .low = static_cast<int64_t>(source.size()),
                                     .high = size});
    const auto differs = [&](size_t i) { return i >= source.size() || source[i] != target[i]; };
    IpsWriter writer(target);
    for (size_t i = 0; i < target.size();) {
        if (!differs(i)) {
            ++i;
            continue;
        }
        // One record over changes with few unchanged bytes between them.
        size_t end = i + 1, gap = 0;
        for (size_t k = end; k < target.size() && gap <= kIpsMergeGap; ++k) {
            if (differs(k)) {
                end = k + 1;
                gap = 0;
            } else {
                ++gap;
            }
        }
        writer.span(i, end);
        i = end;
    }
    return writer.finish();
}

std::expected<std::vector<uint8_t>, Error> MakePatch(PatchFormat format, std::span<const uint8_t> source,
                                                        std::span<const uint8_t> target)
{
    if (format == PatchFormat::Bps)
        return MakeBpsPatch(source, target);
    return MakeIpsPatch(source, target);
}

} // namespace orv::rom
