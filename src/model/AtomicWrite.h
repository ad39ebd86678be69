#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

namespace quilo {

// Writes `bytes` to `path` so that the previous file survives any failure: the data
// goes to a temporary file beside the file it replaces, is flushed, and is then
// renamed over it. Returns the system error of the step that failed, or no error;
// on failure the old file is unchanged and no temporary file is left.
//
// Saved as a plain write would save it:
// - A symbolic link is followed to its final target (relative links from the
//   link's own folder), and the target is replaced; the link stays a link. A
//   dangling link gets the file it points to created, as open() would create
//   it, provided the target's folder exists.
// - A new file gets the permissions open() gives it: 0666 less the umask (or
//   the folder's default ACL).
// - A replaced file keeps its permission bits and, as far as the user may set
//   them, its owner and group.
// A folder in the way is refused before anything is created.
std::error_code writeFileAtomically(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes);

} // namespace quilo
