#include "ui/LanguageIni.h"

#include <algorithm>
#include <array>

namespace quilo {

namespace {

// The white space outside ASCII, as UTF-8: NEL, no-break space, Ogham space
// mark, the spaces U+2000-U+200A, line and paragraph separators, narrow no-break
// space, medium mathematical space and the ideographic space.
constexpr std::array<std::string_view, 19> kWideSpaces{
    "\xC2\x85",     "\xC2\xA0",     "\xE1\x9A\x80", "\xE2\x80\x80", "\xE2\x80\x81",
    "\xE2\x80\x82", "\xE2\x80\x83", "\xE2\x80\x84", "\xE2\x80\x85", "\xE2\x80\x86",
    "\xE2\x80\x87", "\xE2\x80\x88", "\xE2\x80\x89", "\xE2\x80\x8A", "\xE2\x80\xA8",
    "\xE2\x80\xA9", "\xE2\x80\xAF", "\xE2\x81\x9F", "\xE3\x80\x80"};

bool isAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Bytes of the white space character `s` starts (or ends) with, 0 when none.
std::size_t leadingSpace(std::string_view s) {
    if (!s.empty() && isAsciiSpace(s.front())) {
        return 1;
    }
    for (std::string_view w : kWideSpaces) {
        if (s.starts_with(w)) {
            return w.size();
        }
    }
    return 0;
}

std::size_t trailingSpace(std::string_view s) {
    if (!s.empty() && isAsciiSpace(s.back())) {
        return 1;
    }
    for (std::string_view w : kWideSpaces) {
        if (s.ends_with(w)) {
            return w.size();
        }
    }
    return 0;
}

std::string_view trimmed(std::string_view s) {
    while (const std::size_t n = leadingSpace(s)) {
        s.remove_prefix(n);
    }
    while (const std::size_t n = trailingSpace(s)) {
        s.remove_suffix(n);
    }
    return s;
}

bool isStringSection(std::string_view name) {
    constexpr std::string_view kName = "string";
    return name.size() == kName.size() &&
           std::equal(name.begin(), name.end(), kName.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? char(a - 'A' + 'a') : a) == b;
           });
}

} // namespace

std::vector<LanguageEntry> parseLanguageIni(std::string_view utf8) {
    std::vector<LanguageEntry> entries;
    bool inStrings = false;
    while (!utf8.empty()) {
        const std::size_t end = utf8.find('\n');
        const std::string_view line = trimmed(utf8.substr(0, end));
        utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);

        if (line.empty() || line.starts_with("//") || line.starts_with(';')) {
            continue;
        }
        if (line.starts_with('[') && line.ends_with(']')) {
            inStrings = isStringSection(trimmed(line.substr(1, line.size() - 2)));
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inStrings || eq == 0 || eq == std::string_view::npos) {
            continue;
        }
        std::string_view text = trimmed(line.substr(eq + 1));
        if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
            text = text.substr(1, text.size() - 2);
        }
        entries.push_back({std::string(trimmed(line.substr(0, eq))), std::string(text)});
    }
    return entries;
}

} // namespace quilo
