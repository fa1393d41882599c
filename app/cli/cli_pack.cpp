#include "cli_pack.h"

#include "binary_file.h"
#include "cli_coding.h"
#include "folder_batch.h"
#include "messages_en.h"
#include "pack_index.h"
#include "rom_identity.h"

namespace orv::cli {

namespace fs = std::filesystem;

namespace {

// More than any .pal file needs.
constexpr int64_t kMaxPalFileBytes = 64 << 10;

// The folder's entries below prefix, a folder's name ending in '/'.
void listEntries(const fs::path& dir, const std::string& prefix, std::vector<std::string>& paths)
{
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec))
        paths.push_back(prefix + entry.path().filename().string() + (entry.is_directory(ec) ? "/" : ""));
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
        if (!rom::PackFolderKnown(relative)) {
            it.disable_recursion_pending();
            paths.push_back(relative + "/");
        }
    }
    if (ec)
        return std::unexpected("could not read the folder \"" + root.string() + "\": " + ec.message() + ".");
    return paths;
}

} // namespace

std::optional<fs::path> PackRoot(const fs::path& dir)
{
    std::vector<std::string> paths;
    listEntries(dir, "", paths);
    listEntries(dir / "gfx", "gfx/", paths);
    const auto root = rom::PackRootIn(paths);
    if (!root)
        return std::nullopt;
    return root->empty() ? dir : dir / "gfx";
}

std::expected<PackBatch, std::string> ReadPack(const fs::path& root, const rom::RomImage& rom)
{
    auto paths = listLayout(root);
    if (!paths)
        return std::unexpected(paths.error());
    const rom::GameVersion version = rom::EditionOfRom(rom.bytes()).version;
    const rom::PackIndex index = rom::IndexPack(*paths, version);

    std::string readError;
    const auto palText = [&](const rom::PackFileUse& use) -> std::optional<std::string> {
        auto bytes = ReadWholeFile(root / use.path, kMaxPalFileBytes);
        if (!bytes) {
            readError = "could not read \"" + (root / use.path).string() + "\": " + DescribeIoError(bytes.error());
            return std::nullopt;
        }
        return std::string(bytes->begin(), bytes->end());
    };
    const auto picture = [&](const rom::PackFileUse& use) -> std::optional<LoadedPicture> {
        auto loaded = LoadPicture(root / use.path);
        if (!loaded) {
            readError = loaded.error();
            return std::nullopt;
        }
        return std::move(*loaded);
    };
    auto items = rom::CodePack(index, rom, {palText, picture});
    if (!items) {
        const rom::PackRefusal& refusal = items.error();
        if (refusal.palError)
            return std::unexpected(en::Text(*refusal.palError, (root / refusal.path).string()));
        return std::unexpected(refusal.error ? en::Text(*refusal.error) : readError);
    }
    PackBatch batch{.items = std::move(*items)};
    for (const rom::PackSkipped& skipped : index.skipped)
        batch.unused.push_back(skipped.path + ": " + en::Text(skipped, version));
    for (const rom::PackIgnored& ignored : index.ignored)
        batch.unused.push_back(ignored.path + ": " + en::Text(ignored));
    return batch;
}

} // namespace orv::cli
