#include "device/TraceLine.h"

#include "device/ReportHex.h"

#include <algorithm>
#include <charconv>
#include <span>

namespace quilo {

namespace {

constexpr std::string_view kOut = "out";
constexpr std::string_view kIn = "in";

// The next space-separated word of `text` from `at`, moving `at` past it.
std::string_view nextWord(std::string_view text, std::size_t& at) {
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
    const std::size_t start = at;
    while (at < text.size() && text[at] != ' ') {
        ++at;
    }
    return text.substr(start, at - start);
}

} // namespace

std::string formatTraceLine(const TraceEntry& entry) {
    const std::size_t n = std::min(entry.length, kReportSize);
    return std::to_string(entry.timeUs) + ' ' +
           std::string(entry.direction == TraceDirection::Out ? kOut : kIn) + ' ' +
           formatHexBytes(std::span(entry.bytes).first(n));
}

std::optional<TraceEntry> parseTraceLine(std::string_view line) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    TraceEntry entry;
    std::size_t at = 0;
    const std::string_view time = nextWord(line, at);
    const auto [end, error] = std::from_chars(time.data(), time.data() + time.size(), entry.timeUs);
    if (time.empty() || error != std::errc{} || end != time.data() + time.size()) {
        return std::nullopt;
    }
    const std::string_view direction = nextWord(line, at);
    if (direction == kOut) {
        entry.direction = TraceDirection::Out;
    } else if (direction == kIn) {
        entry.direction = TraceDirection::In;
    } else {
        return std::nullopt;
    }
    entry.length = 0;
    for (std::string_view word = nextWord(line, at); !word.empty(); word = nextWord(line, at)) {
        std::uint8_t byte = 0;
        const auto [stop, bad] = std::from_chars(word.data(), word.data() + word.size(), byte, 16);
        if (word.size() != 2 || bad != std::errc{} || stop != word.data() + 2 ||
            entry.length == kReportSize) {
            return std::nullopt;
        }
        entry.bytes[entry.length++] = byte;
    }
    if (entry.length == 0) {
        return std::nullopt;
    }
    return entry;
}

} // namespace quilo
