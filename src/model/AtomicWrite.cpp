#include "model/AtomicWrite.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quilo {

namespace {

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

} // namespace

std::error_code writeFileAtomically(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes) {
    // A directory or a missing folder is refused before anything is created.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    const std::filesystem::path folder =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::string tmpl = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        return lastError();
    }
    // Keep the permissions of the file we replace; a new file is readable by all,
    // not private as mkstemp makes it.
    struct stat previous {};
    ::fchmod(fd, ::stat(path.c_str(), &previous) == 0 ? (previous.st_mode & 07777) : 0644);

    std::error_code result;
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        result = lastError();
    }
    if (::close(fd) != 0 && !result) {
        result = lastError();
    }
    if (!result && ::rename(tmpl.c_str(), path.c_str()) != 0) {
        result = lastError();
    }
    if (result) {
        ::unlink(tmpl.c_str());
    }
    return result;
}

} // namespace quilo
