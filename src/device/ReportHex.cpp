#include "device/ReportHex.h"

#include <cctype>

namespace quilo {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower >= 'a' && lower <= 'f') {
        return lower - 'a' + 10;
    }
    return -1;
}

} // namespace

std::string formatReportHex(const Report& report) {
    return formatHexBytes(report);
}

std::string formatHexBytes(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            out += ' ';
        }
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0x0F];
    }
    return out;
}

std::optional<Report> parseReportHex(std::string_view text) {
    Report report{};
    std::size_t bytes = 0;
    int high = -1;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            continue;
        }
        const int v = hexValue(c);
        if (v < 0) {
            return std::nullopt;
        }
        if (high < 0) {
            high = v;
            continue;
        }
        if (bytes == kReportSize) {
            return std::nullopt;
        }
        report[bytes++] = static_cast<std::uint8_t>(high << 4 | v);
        high = -1;
    }
    if (high >= 0) {
        return std::nullopt;
    }
    return report;
}

} // namespace quilo
