#include "remote/RemoteFile.h"

#include "model/AtomicWrite.h"
#include "model/FileError.h"
#include "model/FileRead.h"

#include <algorithm>
#include <cstdio>

namespace quilo {

std::filesystem::path remoteFilePath(const std::filesystem::path& chosen) {
    std::filesystem::path path = chosen;
    path.replace_extension("remo");
    return path;
}

RemoteFileResult loadRemoteFile(const std::filesystem::path& path, RemoteKeyTable& table) {
    RemoteFileResult result;
    std::vector<std::uint8_t> bytes;
    result.systemError = readRegularFile(path, table.size(), bytes);
    if (result.systemError) {
        const bool notAFile = result.systemError == FileError::NotRegularFile ||
                              result.systemError == std::errc::is_a_directory;
        result.status = notAFile ? RemoteFileStatus::CannotRead : RemoteFileStatus::CannotOpen;
    } else if (bytes.empty()) {
        result.status = RemoteFileStatus::Empty;
    } else {
        // Only the table's own bytes count; anything after them is not read.
        result.bytes = std::min(bytes.size(), table.size());
        std::copy_n(bytes.begin(), result.bytes, table.begin());
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
