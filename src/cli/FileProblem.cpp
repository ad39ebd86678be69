#include "cli/FileProblem.h"

namespace quilo::cli {

std::string modeFileProblem(const ModeFileResult& result, const std::filesystem::path& path) {
    const std::string file = path.string();
    switch (result.status) {
    case ModeFileStatus::Ok:
        return {};
    case ModeFileStatus::CannotOpen:
        return "cannot read " + file + ": " + result.systemError.message();
    case ModeFileStatus::UnsupportedVersion:
        return file + ": mode file version " + std::to_string(result.version) +
               " is not supported (versions 1-8 are)";
    case ModeFileStatus::Truncated:
        return result.version == 0
                   ? file + ": too short to be a mode file"
                   : file + ": shorter than a version-" + std::to_string(result.version) +
                         " mode file; nothing was loaded";
    case ModeFileStatus::CannotWrite:
        return "cannot write " + file + ": " + result.systemError.message();
    }
    return {};
}

} // namespace quilo::cli
