#pragma once

#include "model/ModeFile.h"
#include "remote/RemoteFile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace quilo {
class DeviceImage;
}

namespace quilo::cli {

// Files the commands read and write; "-" stands for standard input or output.
inline bool isStandardStream(const std::filesystem::path& path) {
    return path == "-";
}

// At most `limit` + 1 bytes of the file (or of standard input), as readRegularFile.
std::error_code readCommandInput(const std::filesystem::path& path, std::size_t limit,
                                 std::vector<std::uint8_t>& bytes);

// Saves `bytes` (or writes them to standard output); a save in place is told
// on standard error.
std::error_code writeCommandOutput(const std::filesystem::path& path,
                                   std::span<const std::uint8_t> bytes);

ModeFileResult readModeInput(const std::filesystem::path& path, DeviceImage& image);
ModeFileResult writeModeOutput(const std::filesystem::path& path, const DeviceImage& image);
RemoteFileResult writeRemoteOutput(const std::filesystem::path& path, const RemoteKeyTable& table);

} // namespace quilo::cli
