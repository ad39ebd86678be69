#include "model/AtomicWrite.h"

#include "model/FileError.h"
#include "model/SaveTemporary.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quilo {

namespace {

namespace fs = std::filesystem;

// The kernel's own limit on the links one path may pass through.
constexpr int kMaxLinks = 40;

std::error_code lastError() {
    return {errno, std::generic_category()};
}

fs::path folderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A link in a world-writable sticky folder that neither the user nor the
// folder's owner owns may have been planted there; open() refuses to follow such
// links, and so does a save that follows links itself.
bool foreignLink(const fs::path& link, const struct stat& st) {
    if (st.st_uid == ::geteuid()) {
        return false;
    }
    struct stat folder {};
    if (::stat(folderOf(link).c_str(), &folder) != 0) {
        return true;
    }
    return (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0 &&
           st.st_uid != folder.st_uid;
}

// Follows `path` through symbolic links to the name of the file itself, which
// need not exist yet. `existing` receives that file's status when it exists.
std::error_code resolveLinks(fs::path& path, std::optional<struct stat>& existing) {
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            return errno == ENOENT ? std::error_code{} : lastError();
        }
        if (!S_ISLNK(st.st_mode)) {
            existing = st;
            return {};
        }
        if (hops == kMaxLinks) {
            return std::make_error_code(std::errc::too_many_symbolic_link_levels);
        }
        if (foreignLink(path, st)) {
            return make_error_code(FileError::ForeignLink);
        }
        std::error_code ec;
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) {
            return ec;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
}

// What a plain write would meet: a FIFO, device or socket is never replaced by a
// file, and a file the user may not write is refused as open() refuses it.
std::error_code checkReplaceable(const fs::path& target, const struct stat& st) {
    if (S_ISDIR(st.st_mode)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    if (!S_ISREG(st.st_mode)) {
        return make_error_code(FileError::NotRegularFile);
    }
    const int fd =
        ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return lastError();
    }
    ::close(fd);
    return {};
}

// The replaced file's owner, group and permission bits. Changing the owner needs
// privileges and the group membership, so either may be refused; the
// permission bits are set last, since a change of owner clears set-id bits.
void takeOver(int fd, const struct stat& old) {
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        }
    }
    ::fchmod(fd, old.st_mode & 07777);
}

// Makes the rename itself durable; a failure here loses nothing already written.
void syncFolder(const fs::path& target) {
    const int fd = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The file itself rewritten, for a folder that takes no new file: not safe
// against a failure half-way, hence only when there is no other way.
std::error_code writeInPlace(const fs::path& target, std::span<const std::uint8_t> bytes) {
    const int fd =
        ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return lastError();
    }
    std::error_code result;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result = lastError();
    } else if (!S_ISREG(st.st_mode)) {
        result = make_error_code(FileError::NotRegularFile);
    } else if (!writeAll(fd, bytes) || ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 ||
               ::fsync(fd) != 0) {
        result = lastError();
    }
    if (::close(fd) != 0 && !result) {
        result = lastError();
    }
    return result;
}

} // namespace

std::error_code writeFileAtomically(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes, SaveOutcome* outcome) {
    if (outcome != nullptr) {
        *outcome = {};
    }
    fs::path target = path;
    std::optional<struct stat> existing;
    if (const std::error_code ec = resolveLinks(target, existing)) {
        return ec;
    }
    if (existing) {
        if (const std::error_code ec = checkReplaceable(target, *existing)) {
            return ec;
        }
    }
    removeStaleSaveTemporaries(folderOf(target));
    std::string temporary;
    // A file that replaces another starts private and takes the old one's mode
    // before any byte is written; a new one gets what open() gives.
    const int fd = createSaveTemporary(target, existing ? 0600 : 0666, temporary);
    if (fd < 0) {
        const std::error_code ec = lastError();
        if (existing && (errno == EACCES || errno == EPERM)) {
            if (outcome != nullptr) {
                outcome->inPlace = true;
            }
            return writeInPlace(target, bytes);
        }
        return ec;
    }
    if (existing) {
        takeOver(fd, *existing);
    }

    std::error_code result;
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        result = lastError();
    }
    if (::close(fd) != 0 && !result) {
        result = lastError();
    }
    if (!result && ::rename(temporary.c_str(), target.c_str()) != 0) {
        result = lastError();
    }
    if (result) {
        ::unlink(temporary.c_str());
        return result;
    }
    syncFolder(target);
    return {};
}

} // namespace quilo
