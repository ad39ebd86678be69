#pragma once

#include <filesystem>

namespace quilo::cli {

// The user's configuration folder: $XDG_CONFIG_HOME, otherwise $HOME/.config.
std::filesystem::path configFolder();

// The user's documents folder as the desktop names it: XDG_DOCUMENTS_DIR of the
// user-dirs file in the configuration folder, otherwise $HOME/Documents.
std::filesystem::path documentsFolder();

// Where the desktop program keeps the plugs' key files: "Plug" in it.
inline std::filesystem::path plugKeyFolder() {
    return documentsFolder() / "Plug";
}

} // namespace quilo::cli
