#include "model/SaveTemporary.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace quilo {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kEnd = ".tmp";
constexpr int kStaleSeconds = 60;

fs::path folderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

long nameMax(const fs::path& folder) {
    const long max = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return max > 0 ? max : 255;
}

// At most `max` bytes of `name`, not cutting a UTF-8 sequence apart.
std::string shortened(const std::string& name, std::size_t max) {
    if (name.size() <= max) {
        return name;
    }
    std::size_t n = max;
    while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) {
        --n;
    }
    return name.substr(0, n);
}

bool allDigits(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// The process id in a temporary's name, or 0 when the name is not one of ours.
pid_t makerOf(std::string_view name) {
    if (name.size() < 2 || name.front() != '.' || !name.ends_with(kEnd)) {
        return 0;
    }
    name.remove_suffix(kEnd.size());
    const std::size_t dash = name.rfind('-');
    const std::size_t dot = name.rfind('.', dash);
    if (dash == std::string_view::npos || dot == std::string_view::npos || dot == 0 ||
        !allDigits(name.substr(dash + 1)) || !allDigits(name.substr(dot + 1, dash - dot - 1))) {
        return 0;
    }
    pid_t pid = 0;
    const std::string_view digits = name.substr(dot + 1, dash - dot - 1);
    if (std::from_chars(digits.data(), digits.data() + digits.size(), pid).ec != std::errc{}) {
        return 0;
    }
    return pid;
}

bool processGone(pid_t pid) {
    return pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH;
}

} // namespace

int createSaveTemporary(const fs::path& target, mode_t mode, std::string& name) {
    const fs::path folder = folderOf(target);
    const std::string pid = std::to_string(::getpid());
    auto seed = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count() ^ ::getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        const std::string tail =
            "." + pid + "-" + std::to_string(seed % 1000000) + std::string(kEnd);
        const auto max = static_cast<std::size_t>(nameMax(folder));
        const std::size_t room = max > tail.size() + 2 ? max - 1 - tail.size() : 1;
        name = (folder / ("." + shortened(target.filename().string(), room) + tail)).string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

void removeStaleSaveTemporaries(const fs::path& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const int dirFd = ::dirfd(dir);
    const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t maker = makerOf(entry->d_name);
        if (maker <= 0 || !processGone(maker)) {
            continue;
        }
        struct stat st {};
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || now - st.st_mtime < kStaleSeconds) {
            continue;
        }
        ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace quilo
