#pragma once

#include "support/RunCommand.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace quilo::test {

// A fresh folder per test, removed afterwards.
struct TempFolder {
    std::filesystem::path path;
    explicit TempFolder(const std::string& name)
        : path(std::filesystem::temp_directory_path() /
               ("quiloctl-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string operator/(const std::string& file) const { return (path / file).string(); }
};

inline void writeBytes(const std::string& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<std::uint8_t> readBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

// Standard output and status of quiloctl with these arguments.
inline CommandResult quiloctlOut(const std::string& args) {
    return runCommand(std::string(QUILOCTL_PATH) + " " + args + " 2>/dev/null");
}

// Standard error (as `out`) and status; standard output is dropped.
inline CommandResult quiloctlErr(const std::string& args) {
    return runCommand(std::string(QUILOCTL_PATH) + " " + args + " 2>&1 >/dev/null");
}

} // namespace quilo::test
