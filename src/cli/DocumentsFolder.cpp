#include "cli/DocumentsFolder.h"

#include "model/FileRead.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace quilo::cli {

namespace {

constexpr std::size_t kMaxUserDirsSize = 64 * 1024;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// XDG_DOCUMENTS_DIR="$HOME/Dokumente" -> /home/user/Dokumente; empty when the
// file does not name it or names no absolute folder (or one with a NUL in it).
std::string userDirsEntry(const std::filesystem::path& file, const std::string& home) {
    // Only a plain file, read with a bound: a FIFO or device there must not stop the tool.
    std::vector<std::uint8_t> bytes;
    if (readRegularFile(file, kMaxUserDirsSize, bytes) || bytes.size() > kMaxUserDirsSize) {
        return {};
    }
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    const std::string key = "XDG_DOCUMENTS_DIR=";
    for (std::string line; std::getline(in, line);) {
        if (!line.starts_with(key)) {
            continue;
        }
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (value.starts_with("$HOME")) {
            value = home + value.substr(5);
        }
        // A NUL would end the name early wherever the system reads it: another folder.
        const bool usable = value.starts_with('/') && value.find('\0') == std::string::npos;
        return usable ? value : std::string();
    }
    return {};
}

} // namespace

std::filesystem::path configFolder() {
    const std::string config = environment("XDG_CONFIG_HOME");
    return config.empty() ? std::filesystem::path(environment("HOME")) / ".config"
                          : std::filesystem::path(config);
}

std::filesystem::path documentsFolder() {
    const std::string home = environment("HOME");
    if (std::string named = userDirsEntry(configFolder() / "user-dirs.dirs", home);
        !named.empty()) {
        return named;
    }
    return std::filesystem::path(home) / "Documents";
}

} // namespace quilo::cli
