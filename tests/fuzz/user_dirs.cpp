// The desktop's user-dirs file, where quiloctl finds the documents folder (and
// in it the plugs' key files): whatever it holds, the folder is absolute, and
// an entry naming one is taken as written.
#include "FuzzCheck.h"
#include "ScratchFolder.h"
#include "cli/DocumentsFolder.h"

#include <cstdlib>
#include <memory>
#include <string>

using namespace quilo;
using namespace quilo::test;

namespace {
constexpr const char* kHome = "/home/fuzz";
std::unique_ptr<ScratchFolder> g_config;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_config = std::make_unique<ScratchFolder>();
    ::setenv("XDG_CONFIG_HOME", g_config->path().c_str(), 1);
    ::setenv("HOME", kHome, 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_config->put("user-dirs.dirs", data, size);
    const std::string folder = cli::documentsFolder().string();
    FUZZ_CHECK(folder.starts_with('/'), "a documents folder that is not absolute");
    FUZZ_CHECK(folder.find('\0') == std::string::npos, "a documents folder with a NUL");
    FUZZ_CHECK(folder.find('\n') == std::string::npos, "a documents folder across lines");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (text.find("XDG_DOCUMENTS_DIR=") == std::string_view::npos) {
        FUZZ_CHECK(folder == std::string(kHome) + "/Documents", "a folder the file does not name");
    }
    FUZZ_CHECK(cli::plugKeyFolder() == std::filesystem::path(folder) / "Plug",
               "the key folder is not in the documents folder");
    return 0;
}
