#pragma once

#include "model/ModeFile.h"
#include "remote/RemoteFile.h"

#include <filesystem>
#include <string>

namespace quilo::cli {

// One line saying why reading or writing the mode file `path` failed.
std::string modeFileProblem(const ModeFileResult& result, const std::filesystem::path& path);
// The same for a remote data file.
std::string remoteFileProblem(const RemoteFileResult& result, const std::filesystem::path& path);
// Reads a whole text file (at most 1 MiB) into `text`; empty on success, else why not.
std::string readTextFile(const std::filesystem::path& path, std::string& text);

} // namespace quilo::cli
