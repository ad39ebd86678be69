#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace quilo::test {

struct CommandResult {
    int status = -1;
    std::string out; // standard output only
};

// Runs a shell command line and collects its standard output and exit status.
inline CommandResult runCommand(const std::string& commandLine) {
    CommandResult result;
    FILE* pipe = ::popen(commandLine.c_str(), "r");
    if (!pipe) {
        return result;
    }
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.out.append(buffer.data(), n);
    }
    const int raw = ::pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

} // namespace quilo::test
