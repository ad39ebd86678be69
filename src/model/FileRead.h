#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

namespace quilo {

// Reads the regular file `path` (or the regular file a link names) into
// `bytes`, at most `limit` + 1 bytes, so that a file over the limit shows as
// more than `limit` bytes. A FIFO, device node or socket is refused without
// being opened for long and never blocks; a folder is refused as one.
std::error_code readRegularFile(const std::filesystem::path& path, std::size_t limit,
                                std::vector<std::uint8_t>& bytes);

// The same for a descriptor a command was handed as its input (standard input
// for "-"): a regular file, a pipe, a socket or a terminal; a device is refused.
std::error_code readInputStream(int fd, std::size_t limit, std::vector<std::uint8_t>& bytes);

} // namespace quilo
