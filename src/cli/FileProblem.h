#pragma once

#include "model/ModeFile.h"

#include <filesystem>
#include <string>

namespace quilo::cli {

// One line saying why reading or writing the mode file `path` failed.
std::string modeFileProblem(const ModeFileResult& result, const std::filesystem::path& path);

} // namespace quilo::cli
