#pragma once

#include "model/DeviceImage.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>

namespace quilo {

// Remote data files (".remo"): the 18 bytes of RemoteKeyTable in table order,
// with nothing before or after them.

enum class RemoteFileStatus {
    Ok,
    CannotOpen,  // missing, or not allowed to be read
    CannotRead,  // not a file (a folder, FIFO or device), or reading failed
    Empty,       // holds no byte at all
    CannotWrite, // the file could not be written; the previous one is untouched
};

struct RemoteFileResult {
    RemoteFileStatus status = RemoteFileStatus::Ok;
    std::size_t bytes = 0;       // bytes taken into the table, or written
    std::error_code systemError; // for CannotOpen, CannotRead and CannotWrite
    bool ok() const { return status == RemoteFileStatus::Ok; }
};

// The name a chosen file is saved and loaded under: its extension replaced by
// "remo" ("keys.txt" -> "keys.remo", "keys" -> "keys.remo").
std::filesystem::path remoteFilePath(const std::filesystem::path& chosen);

// Reads up to 18 bytes into the start of the table: a shorter file leaves the
// rest of the table as it was, a longer one gives its first 18 bytes. On any
// failure the table is left as it was.
RemoteFileResult loadRemoteFile(const std::filesystem::path& path, RemoteKeyTable& table);

// Writes the 18 bytes through a temporary file and a rename, so a failure never
// leaves a damaged file behind.
RemoteFileResult saveRemoteFile(const std::filesystem::path& path, const RemoteKeyTable& table);

// The text of the box that reports a failed load or save (language 0 Chinese,
// 1 English), naming the file and giving the system's reason.
std::string remoteFileErrorText(const RemoteFileResult& result, const std::filesystem::path& path,
                                int language);
// Caption of that box.
std::string remoteFileErrorCaption(const RemoteFileResult& result, int language);

} // namespace quilo
