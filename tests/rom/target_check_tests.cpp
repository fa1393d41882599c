#include <gtest/gtest.h>

#include <sys/stat.h>

#include "synthetic_rom.h"
#include "target_check.h"

namespace {

// The ROM target checks, in their order, with their exact German texts and
// the same path in the English ones; a folder, a device and a link loop are
// named as such.
TEST(RomTarget, ChecksInOrderWithTheirTexts)
{
    orv::test::TempDir dir;
    const std::string rom = (dir / "game.gbc").string(), locked = (dir / "locked.gbc").string();
    for (const auto& path : {rom, locked}) {
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(f);
        std::fwrite(std::string(1000, '\1').data(), 1, 1000, f);
        std::fclose(f);
    }
    ::chmod(locked.c_str(), 0444);
    const std::string missing = (dir / "none.gbc").string();
    const std::string loop = (dir / "loop.gbc").string();
    std::filesystem::create_symlink("loop.gbc", loop);

    struct Case {
        std::string path;
        int64_t n;
        std::string refusal; // empty: accepted
    } cases[] = {
        {rom, 1000, ""}, // exactly as long as the data still passes
        {rom, 1001, "Datei zu klein für Bilddaten"},
        {missing, 10,
         "Die Datei \"" + missing + "\" existiert nicht. Bilder können nur in existierende Dateien insertet werden."},
        {dir.path().string(), 10,
         "\"" + dir.path().string() + "\" ist ein Ordner. Bilder können nur in Dateien insertet werden."},
        {"/dev/null", 10,
         "\"/dev/null\" ist keine gewöhnliche Datei, sondern ein Gerät, eine Pipe oder ein Socket. Bilder können "
         "nur in Dateien insertet werden."},
        {loop, 10,
         "\"" + loop + "\" ist eine Schleife symbolischer Links (Systemfehler 40: Zu viele Ebenen von symbolischen "
         "Links). Bilder können nur in existierende Dateien insertet werden."},
        {locked, 2000,
         "Die Datei \"" + locked +
             "\" ist schreibgeschütz. Orvista kann nicht in schreibgeschützte Dateien schreiben."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto result = orv::rom::CheckRomTarget(c.path, c.n);
        if (c.refusal.empty()) {
            EXPECT_EQ(result.value_or(-1), 1000);
            continue;
        }
        ASSERT_FALSE(result.has_value());
        EXPECT_EQ(result.error().message, c.refusal);
        EXPECT_NE(result.error().english.find(c.path == rom ? "1001" : "\"" + c.path + "\""), std::string::npos)
            << result.error().english;
    }
}

} // namespace
