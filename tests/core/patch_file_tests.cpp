// BPS and IPS patches checked by appliers written from the formats'
// descriptions (tests/support), not by the writer's own code.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "patch_appliers.h"
#include "patch_file.h"

namespace orv::rom {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr int64_t kEofOffset = 0x454F46; // the record offset that reads as "EOF"

Bytes Random(size_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (auto& b : bytes)
        b = static_cast<uint8_t>(random());
    return bytes;
}

struct Case {
    const char* name;
    size_t size;
    std::function<void(Bytes&)> change; // turns the source into the target
    size_t maxBps, maxIps;              // patch sizes the writer must stay within
};

const Case kCases[] = {
    {"nothing changed", 0x8000, [](Bytes&) {}, 30, 8},
    {"one byte", 0x8000, [](Bytes& t) { t[0x1234] ^= 0xFF; }, 40, 14},
    {"first and last byte", 0x8000, [](Bytes& t) { t.front() ^= 1, t.back() ^= 1; }, 40, 22},
    {"changes close together and far apart", 0x8000,
     [](Bytes& t) {
         for (size_t at : {0x100, 0x102, 0x105, 0x109, 0x4000, 0x4001, 0x7000})
             t[at] ^= 0x5A;
     },
     80, 60},
    {"runs of one value over a picture", 0x8000,
     [](Bytes& t) {
         std::fill_n(t.begin() + 0x2000, 3000, 0);    // zeros over an old picture
         std::fill_n(t.begin() + 0x3000, 500, 0xFF); // and a run of another value
     },
     60, 40},
    {"longer than one IPS record", 0x30000,
     [](Bytes& t) {
         const Bytes fresh = Random(70000, 3);
         std::ranges::copy(fresh, t.begin() + 0x100);
     },
     70100, 70100},
    {"everything", 0x4000, [](Bytes& t) { t = Random(t.size(), 99); }, 0x4100, 0x4100},
    {"a longer target", 0x4000, [](Bytes& t) { t.resize(t.size() + 100, 0x33); }, 150, 130},
    // Records around the offset whose bytes read "EOF".
    {"a change at 0x454F46", 0x460000, [](Bytes& t) { t[kEofOffset] ^= 1; }, 40, 20},
    {"a run from 0x454F46", 0x460000, [](Bytes& t) { std::fill_n(t.begin() + kEofOffset, 100, 0); }, 50, 30},
    {"a full record up to 0x454F46", 0x460000,
     [](Bytes& t) {
         const Bytes fresh = Random(0xFFFF + 20, 5);
         std::ranges::copy(fresh, t.begin() + kEofOffset - 0xFFFF);
     },
     0x10100, 0x10100},
};

TEST(PatchFile, AppliedPatchesGiveTheTarget)
{
    for (const Case& c : kCases) {
        const Bytes source = Random(c.size, 1);
        Bytes target = source;
        c.change(target);

        const Bytes bps = MakeBpsPatch(source, target);
        auto byBps = test::ApplyBps(bps, source);
        ASSERT_TRUE(byBps) << c.name << ": " << byBps.error();
        EXPECT_EQ(*byBps, target) << c.name;
        EXPECT_LE(bps.size(), c.maxBps) << c.name;

        auto ips = MakeIpsPatch(source, target);
        ASSERT_TRUE(ips) << c.name << ": kind " << int(ips.error().kind);
        std::vector<int64_t> records;
        auto byIps = test::ApplyIps(*ips, source, &records);
        ASSERT_TRUE(byIps) << c.name << ": " << byIps.error();
        EXPECT_EQ(*byIps, target) << c.name;
        EXPECT_LE(ips->size(), c.maxIps) << c.name;
        EXPECT_EQ(std::ranges::count(records, kEofOffset), 0) << c.name;
        if (std::string(c.name).contains("0x454F46")) {
            EXPECT_EQ(std::ranges::count(records, kEofOffset - 1), 1) << c.name << ": starts one byte earlier";
        }
    }
}

TEST(PatchFile, BpsRefusesAWrongBase)
{
    const Bytes source = Random(0x8000, 1);
    Bytes target = source;
    target[0x100] ^= 1;
    const Bytes patch = MakeBpsPatch(source, target);
    Bytes otherByte = source;
    otherByte[0x7000] ^= 1; // a byte the patch does not touch
    Bytes shorter = source;
    shorter.pop_back();
    Bytes corrupt = patch;
    corrupt[6] ^= 1;
    const std::tuple<const char*, Bytes, Bytes, const char*> refusals[] = {
        {"another ROM of the same size", patch, otherByte, "source's CRC"},
        {"a shorter ROM", patch, shorter, "the patch wants 32768"},
        {"the target itself", patch, target, "source's CRC"},
        {"a damaged patch", corrupt, source, "own CRC"},
    };
    for (const auto& [what, p, base, reason] : refusals) {
        auto applied = test::ApplyBps(p, base);
        ASSERT_FALSE(applied) << what;
        EXPECT_NE(applied.error().find(reason), std::string::npos) << what << ": " << applied.error();
    }
    EXPECT_EQ(Crc32(source), test::BitwiseCrc32(source));
}

TEST(PatchFile, IpsLimitsAndFormatsByName)
{
    const Bytes big(size_t{16} << 20, 0);
    auto tooLarge = MakeIpsPatch(big, big);
    ASSERT_FALSE(tooLarge);
    EXPECT_EQ(tooLarge.error().kind, ErrorKind::IpsTooLarge);
    EXPECT_EQ(tooLarge.error().value, int64_t{16} << 20);
    const Bytes largest(big.begin(), big.end() - 1);
    Bytes changed = largest;
    changed.back() = 7;
    auto atTheEnd = MakeIpsPatch(largest, changed);
    ASSERT_TRUE(atTheEnd);
    EXPECT_EQ(test::ApplyIps(*atTheEnd, largest).value_or(Bytes{}), changed);
    const auto shorter = MakeIpsPatch(Bytes(10, 1), Bytes(9, 1));
    EXPECT_EQ(shorter.error().kind, ErrorKind::IpsShortens);
    EXPECT_EQ(shorter.error().low, 10);
    EXPECT_EQ(shorter.error().high, 9);

    const std::pair<const char*, std::optional<PatchFormat>> names[] = {
        {"hack.bps", PatchFormat::Bps}, {"HACK.IPS", PatchFormat::Ips}, {"dir.bps/hack.Bps", PatchFormat::Bps},
        {"hack.bps.gb", std::nullopt},  {"bps", std::nullopt},          {"hack.ups", std::nullopt},
        {".bps", std::nullopt},         {"dir/.ips", std::nullopt},
    };
    for (const auto& [name, format] : names)
        EXPECT_EQ(PatchFormatOfName(name), format) << name;
}

} // namespace
} // namespace orv::rom
