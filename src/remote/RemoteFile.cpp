#include "remote/RemoteFile.h"

#include "model/AtomicWrite.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace quilo {

namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

// Reads until `buffer` is full or the file ends.
std::error_code readUpTo(int fd, std::span<std::uint8_t> buffer, std::size_t& got) {
    got = 0;
    while (got < buffer.size()) {
        const ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return lastError();
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return {};
}

} // namespace

std::filesystem::path remoteFilePath(const std::filesystem::path& chosen) {
    std::filesystem::path path = chosen;
    path.replace_extension("remo");
    return path;
}

RemoteFileResult loadRemoteFile(const std::filesystem::path& path, RemoteKeyTable& table) {
    RemoteFileResult result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.status = RemoteFileStatus::CannotOpen;
        result.systemError = lastError();
        return result;
    }
    RemoteKeyTable bytes{};
    std::size_t got = 0;
    result.systemError = readUpTo(fd, bytes, got);
    ::close(fd);
    if (result.systemError) {
        result.status = RemoteFileStatus::CannotRead;
    } else if (got == 0) {
        result.status = RemoteFileStatus::Empty;
    } else {
        std::copy_n(bytes.begin(), got, table.begin());
        result.bytes = got;
    }
    return result;
}

RemoteFileResult saveRemoteFile(const std::filesystem::path& path, const RemoteKeyTable& table) {
    RemoteFileResult result;
    result.systemError = writeFileAtomically(path, table);
    if (result.systemError) {
        result.status = RemoteFileStatus::CannotWrite;
    } else {
        result.bytes = table.size();
    }
    return result;
}

std::string remoteFileErrorText(const RemoteFileResult& result, const std::filesystem::path& path,
                                int language) {
    const std::string file = path.string();
    const std::string reason = result.systemError.message();
    const bool zh = language == 0;
    switch (result.status) {
    case RemoteFileStatus::Ok:
        return {};
    case RemoteFileStatus::CannotOpen:
    case RemoteFileStatus::CannotRead:
        return (zh ? "无法读取遥控文件:\n" : "Can't read the remote data file:\n") + file + "\n" +
               reason;
    case RemoteFileStatus::Empty:
        return (zh ? "遥控文件是空的:\n" : "The remote data file is empty:\n") + file;
    case RemoteFileStatus::CannotWrite: {
        // The system's own words next to the bare number tell the user what to fix.
        char code[32];
        std::snprintf(code, sizeof code, "Errcode=%d", result.systemError.value());
        return std::string(code) + " (" + reason + "),Can't write to file:\n" + file +
               "\nProbaby it is write protected.";
    }
    }
    return {};
}

std::string remoteFileErrorCaption(const RemoteFileResult& result, int language) {
    if (result.status == RemoteFileStatus::CannotWrite) {
        return "Can't write to file";
    }
    return language == 0 ? "无法读取文件" : "Can't read file";
}

} // namespace quilo
