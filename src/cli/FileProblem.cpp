#include "cli/FileProblem.h"

#include "cli/CommandFiles.h"

#include <vector>

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

std::string remoteFileProblem(const RemoteFileResult& result, const std::filesystem::path& path) {
    const std::string file = path.string();
    switch (result.status) {
    case RemoteFileStatus::Ok:
        return {};
    case RemoteFileStatus::CannotOpen:
    case RemoteFileStatus::CannotRead:
        return "cannot read " + file + ": " + result.systemError.message();
    case RemoteFileStatus::Empty:
        return file + ": the remote data file is empty";
    case RemoteFileStatus::CannotWrite:
        return "cannot write " + file + ": " + result.systemError.message();
    }
    return {};
}

std::string readTextFile(const std::filesystem::path& path, std::string& text) {
    constexpr std::size_t kMaxTextSize = 1 << 20; // far more than any filter list
    // Read with a bound, so that a huge file cannot swallow the memory.
    std::vector<std::uint8_t> bytes;
    if (const std::error_code ec = readCommandInput(path, kMaxTextSize, bytes)) {
        return "cannot read " + path.string() + ": " + ec.message();
    }
    if (bytes.size() > kMaxTextSize) {
        return path.string() + ": too large for a filter list";
    }
    text.assign(bytes.begin(), bytes.end());
    return {};
}

} // namespace quilo::cli
