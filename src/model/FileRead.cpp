#include "model/FileRead.h"

#include "model/FileError.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quilo {

namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

std::error_code refusalFor(mode_t mode) {
    if (S_ISDIR(mode)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    return S_ISREG(mode) ? std::error_code{} : make_error_code(FileError::NotRegularFile);
}

std::error_code readUpTo(int fd, std::size_t limit, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::uint8_t buffer[8192];
    while (bytes.size() <= limit) {
        const std::size_t want = std::min(sizeof buffer, limit + 1 - bytes.size());
        const ssize_t n = ::read(fd, buffer, want);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return lastError();
        }
        if (n == 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return {};
}

} // namespace

std::error_code readRegularFile(const std::filesystem::path& path, std::size_t limit,
                                std::vector<std::uint8_t>& bytes) {
    // Look before opening: opening a device may already act on it.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return lastError();
    }
    if (const std::error_code refused = refusalFor(st.st_mode)) {
        return refused;
    }
    // Non-blocking, so that a FIFO put in its place meanwhile cannot hold the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return lastError();
    }
    std::error_code result;
    if (::fstat(fd, &st) != 0) {
        result = lastError();
    } else if (std::error_code refused = refusalFor(st.st_mode)) {
        result = refused;
    } else {
        result = readUpTo(fd, limit, bytes);
    }
    ::close(fd);
    return result;
}

std::error_code readInputStream(int fd, std::size_t limit, std::vector<std::uint8_t>& bytes) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return lastError();
    }
    const bool stream =
        S_ISREG(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode) || ::isatty(fd) == 1;
    if (!stream) {
        return S_ISDIR(st.st_mode) ? std::make_error_code(std::errc::is_a_directory)
                                   : make_error_code(FileError::NotRegularFile);
    }
    return readUpTo(fd, limit, bytes);
}

} // namespace quilo
