#include "model/AtomicWrite.h"

#include <cerrno>
#include <chrono>
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
        std::error_code ec;
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) {
            return ec;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
}

// Creates a new temporary file "<folder>/.<name>.<suffix>" with `mode` (less
// the umask, as open() applies it) and returns its descriptor, or -1.
int createTemporary(const fs::path& target, mode_t mode, std::string& name) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    auto seed = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count() ^ ::getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        name = (folder / ("." + target.filename().string() + "." + std::to_string(seed % 1000000)))
                   .string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
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
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::error_code writeFileAtomically(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes) {
    fs::path target = path;
    std::optional<struct stat> existing;
    if (const std::error_code ec = resolveLinks(target, existing)) {
        return ec;
    }
    // A directory or a missing folder is refused before anything is created.
    if (existing && S_ISDIR(existing->st_mode)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    std::string temporary;
    // A file that replaces another starts private and takes the old one's mode
    // before any byte is written; a new one gets what open() gives.
    const int fd = createTemporary(target, existing ? 0600 : 0666, temporary);
    if (fd < 0) {
        return lastError();
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
