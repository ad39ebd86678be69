#include "cli/CommandFiles.h"

#include "model/AtomicWrite.h"
#include "model/DeviceImage.h"
#include "model/FileRead.h"

#include <cerrno>
#include <iostream>
#include <unistd.h>

namespace quilo::cli {

namespace {

std::error_code writeStandardOutput(std::span<const std::uint8_t> bytes) {
    std::cout.flush();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return {errno, std::generic_category()};
        }
        done += static_cast<std::size_t>(n);
    }
    return {};
}

} // namespace

std::error_code readCommandInput(const std::filesystem::path& path, std::size_t limit,
                                 std::vector<std::uint8_t>& bytes) {
    return isStandardStream(path) ? readInputStream(STDIN_FILENO, limit, bytes)
                                  : readRegularFile(path, limit, bytes);
}

std::error_code writeCommandOutput(const std::filesystem::path& path,
                                   std::span<const std::uint8_t> bytes) {
    if (isStandardStream(path)) {
        return writeStandardOutput(bytes);
    }
    SaveOutcome outcome;
    const std::error_code ec = writeFileAtomically(path, bytes, &outcome);
    if (outcome.inPlace) {
        std::cerr << "quiloctl: the folder of " << path.string()
                  << " takes no new file; the file was written in place\n";
    }
    return ec;
}

ModeFileResult readModeInput(const std::filesystem::path& path, DeviceImage& image) {
    if (!isStandardStream(path)) {
        return readModeFile(path, image);
    }
    std::vector<std::uint8_t> bytes;
    const std::error_code ec = readInputStream(STDIN_FILENO, kMaxModeFileRead, bytes);
    return readModeFileFrom(ec, std::move(bytes), image);
}

ModeFileResult writeModeOutput(const std::filesystem::path& path, const DeviceImage& image) {
    ModeFileResult result;
    result.version = kModeFileVersion;
    result.systemError = writeCommandOutput(path, encodeModeFile(captureModeContent(image)));
    if (result.systemError) {
        result.status = ModeFileStatus::CannotWrite;
    }
    return result;
}

RemoteFileResult writeRemoteOutput(const std::filesystem::path& path, const RemoteKeyTable& table) {
    RemoteFileResult result;
    result.systemError = writeCommandOutput(path, table);
    if (result.systemError) {
        result.status = RemoteFileStatus::CannotWrite;
    } else {
        result.bytes = table.size();
    }
    return result;
}

} // namespace quilo::cli
