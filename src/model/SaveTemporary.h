#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace quilo {

// The temporary files a save writes beside the file it replaces:
// ".<name>.<pid>-<number>.tmp". The name is shortened (at a character boundary)
// when the whole would be longer than the folder allows, so that any valid name
// can be saved.

// Creates a new temporary file for `target` with `mode` (less the umask) and
// returns its descriptor, or -1 with errno set; `name` receives its path.
int createSaveTemporary(const std::filesystem::path& target, mode_t mode, std::string& name);

// Removes the temporaries in `folder` that a save of this user left behind when
// it was killed: the process that made one is gone and it has not been touched
// for a minute. Anything else, and any failure, is left alone.
void removeStaleSaveTemporaries(const std::filesystem::path& folder);

} // namespace quilo
