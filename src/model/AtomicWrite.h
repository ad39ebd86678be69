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
// Refused before anything is created, as a plain write would refuse it or should:
// a folder, a FIFO, device node or socket (FileError::NotRegularFile), a file
// the user may not write, and another user's link in a shared sticky folder
// (FileError::ForeignLink).
//
// The temporary's name never makes a valid name too long, and temporaries that
// killed saves left in the folder are removed. When the folder takes no new
// file but the file itself may be written, it is rewritten in place and
// `outcome` says so, for the caller to tell the user.
struct SaveOutcome {
    bool inPlace = false; // written over the old bytes, not through a temporary
};

std::error_code writeFileAtomically(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes,
                                    SaveOutcome* outcome = nullptr);

} // namespace quilo
