// quiloctl's arguments: one per line, the first naming a command that needs no
// processor and no file (biquad, send, band, decode, room, frame). Every
// argument also goes through the number and hex readers, whose results must
// agree with the C library and read back from what the tool prints.
#include "FuzzCheck.h"
#include "cli/ArgParse.h"
#include "cli/Commands.h"
#include "device/ReportHex.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

using namespace quilo;
using namespace quilo::cli;

namespace {

struct Offline {
    std::string_view name;
    int (*run)(Args);
};

constexpr std::array<Offline, 6> kCommands{{{"biquad", runBiquad},
                                            {"send", runSend},
                                            {"band", runBand},
                                            {"decode", runDecode},
                                            {"room", runRoom},
                                            {"frame", runFrame}}};

void checkReaders(std::string_view arg) {
    const std::string text(arg); // the C library wants it NUL-terminated
    if (const auto number = parseNumber(arg)) {
        char* end = nullptr;
        const double c = std::strtod(text.c_str(), &end);
        FUZZ_CHECK(end == text.c_str() + text.size() && c == *number,
                   "a number read otherwise than strtod reads it");
    }
    if (const auto whole = parseInteger(arg)) {
        char* end = nullptr;
        errno = 0;
        const long c = std::strtol(text.c_str(), &end, 10);
        FUZZ_CHECK(errno == 0 && end == text.c_str() + text.size() && c == *whole,
                   "a whole number read otherwise than strtol reads it");
    }
    if (const auto report = parseReportHex(arg)) {
        FUZZ_CHECK(parseReportHex(formatReportHex(*report)) == report,
                   "a report printed as hex reads back differently");
    }
}

// Swallows what the commands print.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Never destroyed: the streams flush once more at exit.
    auto* nothing = new NullBuffer;
    std::cout.rdbuf(nothing);
    std::cerr.rdbuf(nothing);
    std::freopen("/dev/null", "w", stdout);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    for (std::string_view arg : lines) {
        checkReaders(arg);
    }
    if (lines.empty()) {
        return 0;
    }
    for (const Offline& c : kCommands) {
        if (c.name == lines[0]) {
            const int status = c.run(Args(lines).subspan(1));
            FUZZ_CHECK(status == 0 || status == kUsageError, "an exit status other than 0 or 2");
        }
    }
    return 0;
}
