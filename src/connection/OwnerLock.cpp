#include "connection/OwnerLock.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quilo {

namespace {

constexpr const char* kSuffix = ".lock";

std::uint64_t fnv1a(const std::string& text) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : text) {
        h = (h ^ c) * 1099511628211ull;
    }
    return h;
}

bool alive(pid_t pid) {
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

// The owner written in an open lock file; pid 0 when it holds none yet.
ProcessorOwner readOwner(int fd) {
    char buffer[4096];
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
    ProcessorOwner owner;
    if (n <= 0) {
        return owner;
    }
    std::istringstream in(std::string(buffer, static_cast<std::size_t>(n)));
    std::string pid;
    std::getline(in, owner.program);
    std::getline(in, pid);
    std::getline(in, owner.processor);
    owner.pid = static_cast<pid_t>(std::strtol(pid.c_str(), nullptr, 10));
    return owner;
}

// The owner of the lock file at `path` while a living process holds it.
std::optional<ProcessorOwner> heldOwner(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<ProcessorOwner> owner;
    if (::flock(fd, LOCK_SH | LOCK_NB) == 0) {
        ::flock(fd, LOCK_UN); // nobody holds it: a file left behind
    } else if (ProcessorOwner o = readOwner(fd); alive(o.pid)) {
        owner = o;
    }
    ::close(fd);
    return owner;
}

bool makePrivateFolder(const std::filesystem::path& folder, std::string* error) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        if (error) {
            *error = folder.string() + ": " + std::strerror(errno);
        }
        return false;
    }
    struct stat st {};
    // In a shared temporary folder someone else may have put it there first.
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
        if (error) {
            *error = folder.string() + ": not a folder of this user";
        }
        return false;
    }
    return true;
}

} // namespace

std::filesystem::path OwnerLock::folder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        return std::filesystem::path(runtime) / "quilo";
    }
    std::error_code ec;
    std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (ec) {
        temp = "/tmp";
    }
    return temp / ("quilo-" + std::to_string(::getuid()));
}

std::filesystem::path OwnerLock::fileFor(const std::string& processor) {
    // Readable enough to tell them apart by eye, unique by the hash.
    std::string name;
    for (char c : processor.substr(0, 64)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.';
        name += plain ? c : '_';
    }
    char hash[20];
    std::snprintf(hash, sizeof hash, "-%016llx", static_cast<unsigned long long>(fnv1a(processor)));
    return folder() / (name + hash + kSuffix);
}

std::string OwnerLock::emulatorKey(const std::filesystem::path& stateFile) {
    std::error_code ec;
    std::filesystem::path p =
        std::filesystem::weakly_canonical(std::filesystem::absolute(stateFile), ec);
    return "emulator:" + (ec ? stateFile.string() : p.string());
}

std::optional<ProcessorOwner> OwnerLock::take(const std::string& processor,
                                              const std::string& program, std::string* error) {
    release();
    if (!makePrivateFolder(folder(), error)) {
        return ProcessorOwner{};
    }
    const std::filesystem::path path = fileFor(processor);
    // A few rounds: the last owner may be letting go (or a reader looking) right now.
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            if (error) {
                *error = path.string() + ": " + std::strerror(errno);
            }
            return ProcessorOwner{};
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const ProcessorOwner owner = readOwner(fd);
            ::close(fd);
            if (alive(owner.pid)) {
                return owner;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        // Locked; but the file may have been unlinked by its last owner after we opened it.
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) != 0 || ::stat(path.c_str(), &named) != 0 ||
            held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
            ::close(fd);
            continue;
        }
        const std::string text =
            program + '\n' + std::to_string(::getpid()) + '\n' + processor + '\n';
        if (::ftruncate(fd, 0) != 0 ||
            ::pwrite(fd, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())) {
            if (error) {
                *error = path.string() + ": " + std::strerror(errno);
            }
            ::unlink(path.c_str());
            ::close(fd);
            return ProcessorOwner{};
        }
        m_fd = fd;
        m_path = path;
        return std::nullopt;
    }
    if (error) {
        *error = path.string() + ": held, but by no living process";
    }
    return ProcessorOwner{};
}

void OwnerLock::release() {
    if (m_fd < 0) {
        return;
    }
    // Unlinked while still held, so that whoever opened it meanwhile tries again.
    ::unlink(m_path.c_str());
    ::close(m_fd);
    m_fd = -1;
}

std::vector<ProcessorOwner> OwnerLock::owners() {
    std::vector<ProcessorOwner> found;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder(), ec)) {
        if (entry.path().extension() == kSuffix) {
            if (auto owner = heldOwner(entry.path())) {
                found.push_back(*owner);
            }
        }
    }
    return found;
}

std::optional<ProcessorOwner> OwnerLock::ownerOf(const std::string& processor) {
    return heldOwner(fileFor(processor));
}

std::string ownerText(const ProcessorOwner& owner) {
    return owner.program + " (pid " + std::to_string(owner.pid) + ")";
}

} // namespace quilo
