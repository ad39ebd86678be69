#include "room/RoomText.h"

#include "room/RoomLayout.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>

namespace quilo {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Skips leading white space; returns the text from there.
std::string_view trimmed(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    return text.substr(at);
}

} // namespace

std::string positionText(double metres) {
    char text[64];
    std::snprintf(text, sizeof text, "%+-.1fm", metres);
    return text;
}

std::string roomSizeText(int metres) {
    return std::to_string(metres) + "m";
}

double readPositionText(std::string_view text) {
    text = trimmed(text);
    // The longest prefix of the form [sign] digits [. digits] [e [sign] digits].
    std::size_t end = 0;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) {
        ++end;
    }
    const std::size_t mantissa = end;
    while (end < text.size() && isDigit(text[end])) {
        ++end;
    }
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && isDigit(text[end])) {
            ++end;
        }
    }
    if (end == mantissa || (end == mantissa + 1 && text[mantissa] == '.')) {
        return 0.0;
    }
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exp = end + 1;
        if (exp < text.size() && (text[exp] == '+' || text[exp] == '-')) {
            ++exp;
        }
        if (exp < text.size() && isDigit(text[exp])) {
            end = exp;
            while (end < text.size() && isDigit(text[end])) {
                ++end;
            }
        }
    }
    // from_chars takes no plus sign.
    const std::size_t from = text[0] == '+' ? 1 : 0;
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data() + from, text.data() + end, value);
    return ec == std::errc() ? value : 0.0;
}

int readRoomSizeText(std::string_view text) {
    text = trimmed(text);
    const std::size_t from = !text.empty() && text[0] == '+' ? 1 : 0;
    long value = 0;
    const auto [ptr, ec] = std::from_chars(text.data() + from, text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Only the sign matters once the number is that large.
        value = text.substr(from).starts_with('-') ? LONG_MIN : LONG_MAX;
    } else if (ec != std::errc()) {
        value = 0;
    }
    return clampRoomSize(value);
}

int positionSpinValue(float metres) {
    const float tenths = std::trunc(metres * 10.0f);
    return std::isnan(tenths) ? 0 : static_cast<int>(std::clamp(tenths, -1.0e9f, 1.0e9f));
}

int positionSpinLimit(int roomSizeM) {
    return roomSizeM * 10 / 2;
}

} // namespace quilo
