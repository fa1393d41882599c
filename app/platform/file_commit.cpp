#include "file_commit.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

#include "stop_signals.h"

namespace orv {

namespace {

constexpr char kTemporaryPrefix[] = ".~orvista-tmp-";
// Encoded names longer than this are cut and followed by a hash of the whole name.
constexpr size_t kLongestEncodedName = 120;

std::unexpected<IoError> fail(const char* operation, int code = errno, std::string detail = {})
{
    return std::unexpected(IoError{code, operation, std::move(detail)});
}

// ".~orvista-tmp-<name>-": letters, digits and "-" stay, every other byte
// becomes "_" and two hex digits, so different names never share a stem
// ("a.b" gives "a_2Eb", "a_b" gives "a_5Fb") and no temporary contains ".gb"
// or ".orv". A very long name is cut and ends in "~" and a hash of it.
std::string temporaryStem(const std::filesystem::path& target)
{
    static const char hex[] = "0123456789ABCDEF";
    const std::string name = target.filename().string();
    std::string encoded;
    for (const unsigned char c : name) {
        if (encoded.size() + 3 > kLongestEncodedName)
            break;
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-') {
            encoded += static_cast<char>(c);
        } else {
            encoded += '_';
            encoded += hex[c >> 4];
            encoded += hex[c & 15];
        }
    }
    if (encoded.size() + 3 > kLongestEncodedName) {
        uint64_t hash = 14695981039346656037u; // FNV-1a
        for (const unsigned char c : name)
            hash = (hash ^ c) * 1099511628211u;
        encoded += '~';
        for (int shift = 60; shift >= 0; shift -= 4)
            encoded += hex[(hash >> shift) & 15];
    }
    return kTemporaryPrefix + encoded + "-";
}

std::filesystem::path folderOf(const std::filesystem::path& target)
{
    const auto parent = target.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

void syncFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd); // the rename is done; a failure here only costs durability
        ::close(fd);
    }
}

bool writeAll(int fd, std::span<const uint8_t> data)
{
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool sameFile(int fd, const std::string& path)
{
    struct stat held {}, named {};
    return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

// The names of a file's extended attributes; empty where the file system has none.
std::expected<std::vector<std::string>, int> attributeNames(const std::filesystem::path& path, int fd = -1)
{
    for (;;) {
        const ssize_t size = fd >= 0 ? ::flistxattr(fd, nullptr, 0) : ::listxattr(path.c_str(), nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP ? std::expected<std::vector<std::string>, int>{} : std::unexpected(errno);
        std::vector<char> list(static_cast<size_t>(size) + 1);
        const ssize_t got =
            fd >= 0 ? ::flistxattr(fd, list.data(), size) : ::listxattr(path.c_str(), list.data(), size);
        if (got < 0 && errno == ERANGE)
            continue; // grew meanwhile
        if (got < 0)
            return std::unexpected(errno);
        std::vector<std::string> names;
        for (ssize_t at = 0; at < got;) {
            names.emplace_back(list.data() + at);
            at += static_cast<ssize_t>(names.back().size()) + 1;
        }
        return names;
    }
}

// Only root may set attributes of these name spaces. A security label is
// left out: a new file in the same folder usually gets the same one by itself.
bool privilegedAttribute(const std::string& name)
{
    return name.starts_with("trusted.") || (name.starts_with("security.") && name != "security.selinux");
}

bool inGroup(gid_t gid)
{
    if (gid == ::getegid())
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<size_t>(std::max(count, 0)));
    const int got = ::getgroups(count, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, gid) != groups.begin() + got;
}

// Gives the temporary the old file's owner, group and attributes; strict:
// any of them that cannot be given is an error.
std::expected<void, IoError> copyOwnership(int fd, const std::filesystem::path& old, const struct stat& st,
                                           bool strict)
{
    if (::fchown(fd, st.st_uid, st.st_gid) != 0 && strict) {
        const int code = errno;
        struct stat now {};
        const bool ownerKept = ::fstat(fd, &now) == 0 && now.st_uid == st.st_uid;
        return fail(ownerKept ? "keep group" : "keep owner", code,
                    std::to_string(ownerKept ? st.st_gid : st.st_uid));
    }
    auto wanted = attributeNames(old);
    if (!wanted)
        return strict ? fail("keep attributes", wanted.error()) : std::expected<void, IoError>{};
    // A default ACL of the folder may have given the temporary one the old file lacks.
    if (auto own = attributeNames({}, fd))
        for (const std::string& name : *own)
            if (std::ranges::find(*wanted, name) == wanted->end() && ::fremovexattr(fd, name.c_str()) != 0 &&
                strict)
                return fail("keep attributes", errno, name);
    for (const std::string& name : *wanted) {
        std::vector<char> value;
        ssize_t size;
        for (;;) {
            size = ::getxattr(old.c_str(), name.c_str(), nullptr, 0);
            if (size < 0)
                break;
            value.resize(static_cast<size_t>(size));
            size = ::getxattr(old.c_str(), name.c_str(), value.data(), value.size());
            if (size >= 0 || errno != ERANGE)
                break;
        }
        if (size >= 0) {
            // What the temporary got by itself (an inherited ACL, a label) is not set again.
            std::vector<char> own(value.size() + 1);
            if (::fgetxattr(fd, name.c_str(), own.data(), own.size()) == size &&
                std::equal(value.begin(), value.begin() + size, own.begin()))
                continue;
        }
        if ((size < 0 || ::fsetxattr(fd, name.c_str(), value.data(), static_cast<size_t>(size), 0) != 0) &&
            strict)
            return fail("keep attributes", errno, name);
    }
    return {};
}

} // namespace

std::filesystem::path ReplacementTarget(const std::filesystem::path& path)
{
    std::filesystem::path target = path;
    // A loop of links ends here; the rename then replaces the last link.
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(target, ec))
            return target;
        const auto next = std::filesystem::read_symlink(target, ec);
        if (ec)
            return target;
        target = next.is_absolute() ? next : folderOf(target) / next;
    }
    return target;
}

std::expected<void, IoError> CheckOwnerCanBeKept(const std::filesystem::path& path)
{
    const std::filesystem::path target = ReplacementTarget(path);
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0 || ::geteuid() == 0)
        return {};
    if (st.st_uid != ::geteuid())
        return fail("keep owner", EPERM, std::to_string(st.st_uid));
    if (!inGroup(st.st_gid))
        return fail("keep group", EPERM, std::to_string(st.st_gid));
    auto names = attributeNames(target);
    if (!names)
        return fail("keep attributes", names.error());
    for (const std::string& name : *names)
        if (privilegedAttribute(name))
            return fail("keep attributes", EPERM, name);
    return {};
}

std::expected<PendingReplacement, IoError> PendingReplacement::write(const std::filesystem::path& path,
                                                                     std::span<const uint8_t> data,
                                                                     ReplaceOptions options)
{
    PendingReplacement pending;
    pending.options_ = options;
    pending.target_ = ReplacementTarget(path);
    const std::filesystem::path folder = folderOf(pending.target_);
    const std::string pattern = (folder / temporaryStem(pending.target_)).string() + "XXXXXX";

    // The temporary is ours once it is locked and still has its name: a
    // cleanup in the moment between creating and locking it may have taken it.
    int fd = -1, createError = 0;
    for (int attempt = 0; fd < 0; ++attempt) {
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        {
            // A stopping signal between creating the file and holding its
            // name would leave it behind: it waits until both are done.
            const StopSignalsHeld held;
            fd = ::mkostemp(name.data(), O_CLOEXEC);
            createError = errno;
            if (fd >= 0) {
                pending.temporary_.assign(name.data());
                pending.slot_ = HoldTemporary(name.data());
            }
        }
        if (fd < 0)
            return fail("create temporary", createError);
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        pending.lockFd_ = ::dup(fd);
        if (pending.lockFd_ < 0) {
            const int code = errno;
            ::close(fd);
            pending.abandon();
            return fail("create temporary", code);
        }
        if (!sameFile(fd, pending.temporary_)) {
            ::close(fd);
            ::close(pending.lockFd_);
            pending.lockFd_ = -1;
            ReleaseTemporary(pending.slot_);
            pending.slot_ = -1;
            pending.temporary_.clear(); // that name is no longer ours to remove
            fd = -1;
            if (attempt == 3)
                return fail("create temporary", ENOENT);
        }
    }
    const auto abandon = [&](const char* operation, int code, std::string detail = {}) {
        ::close(fd);
        pending.abandon();
        return fail(operation, code, std::move(detail));
    };

    struct stat old {};
    if (::stat(pending.target_.c_str(), &old) == 0) {
        if (auto kept = copyOwnership(fd, pending.target_, old, options.keepOwnerStrictly); !kept)
            return abandon(kept.error().operation.c_str(), kept.error().code, kept.error().detail);
        // After the owner: a change of owner clears the set-user-ID bits.
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            return abandon("write", errno);
    } else {
        const mode_t mask = ::umask(0); // mkstemp made it 0600; a new file gets the usual bits
        ::umask(mask);
        (void)::fchmod(fd, 0666 & ~mask);
    }
    if (!writeAll(fd, data))
        return abandon("write", errno);
    if (options.flush && ::fsync(fd) != 0)
        return abandon("flush", errno);
    // The lock lives on in lockFd_; closing this descriptor reports what the
    // file system could not store.
    if (::close(fd) != 0) {
        const int code = errno;
        pending.abandon();
        return fail("close", code);
    }
    return pending;
}

PendingReplacement::PendingReplacement(PendingReplacement&& other) noexcept
    : target_(std::move(other.target_)), temporary_(std::move(other.temporary_)), lockFd_(other.lockFd_),
      slot_(other.slot_), options_(other.options_)
{
    other.temporary_.clear();
    other.lockFd_ = -1;
    other.slot_ = -1;
}

PendingReplacement::~PendingReplacement() { abandon(); }

void PendingReplacement::abandon()
{
    if (!temporary_.empty())
        ::unlink(temporary_.c_str()); // still locked: no cleanup of another run can mistake it
    temporary_.clear();
    ReleaseTemporary(slot_);
    slot_ = -1;
    if (lockFd_ >= 0)
        ::close(lockFd_);
    lockFd_ = -1;
}

std::expected<void, IoError> PendingReplacement::commit()
{
    int code = 0;
    {
        const StopSignalsHeld held;
        if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
            code = errno;
        } else {
            temporary_.clear();
            ReleaseTemporary(slot_);
            slot_ = -1;
            if (options_.finalStep)
                MarkFinalStepDone();
        }
    }
    if (code != 0) {
        abandon();
        return fail("rename", code);
    }
    abandon(); // lets the lock go; the file is in its place
    if (options_.flush)
        syncFolder(folderOf(target_));
    return {};
}

std::expected<void, IoError> ReplaceFile(const std::filesystem::path& path, std::span<const uint8_t> data,
                                         ReplaceOptions options)
{
    auto pending = PendingReplacement::write(path, data, options);
    if (!pending)
        return std::unexpected(pending.error());
    return pending->commit();
}

bool IsReplacementTemporary(const std::filesystem::path& path)
{
    return path.filename().string().starts_with(kTemporaryPrefix);
}

void RemoveStaleTemporaries(const std::filesystem::path& path)
{
    const std::filesystem::path target = ReplacementTarget(path);
    const std::string stem = temporaryStem(target);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folderOf(target), ec)) {
        const std::string name = entry.path().filename().string();
        // The stem and exactly the six characters mkstemp adds.
        if (name.size() != stem.size() + 6 || !name.starts_with(stem))
            continue;
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {};
        // A writer that lives holds its lock; one that was killed holds none.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            sameFile(fd, entry.path().string()))
            ::unlink(entry.path().c_str());
        ::close(fd);
    }
}

} // namespace orv
