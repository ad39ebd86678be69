#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

namespace quilo {

// Writes `bytes` to `path` so that the previous file survives any failure: the data
// goes to a temporary file in the same folder, is flushed, and then renamed over
// the target. Returns the system error of the step that failed, or no error.
std::error_code writeFileAtomically(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes);

} // namespace quilo
