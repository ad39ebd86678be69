#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quilo {

// One "key=text" entry of a language table as written (UTF-8): key and text
// without the white space around them, the text also without the double quotes
// that keep its own leading and trailing spaces.
struct LanguageEntry {
    std::string key;
    std::string text;
    bool operator==(const LanguageEntry&) const = default;
};

// The entries of the "[String]" section of an INI text, in file order,
// duplicates included. "[name]" lines choose the section (the name in any
// letter case), lines starting with "//" or ";" are comments, and lines without
// a key before their first "=" are passed over. Lines end at LF; white space is
// Unicode's (CR included) and is trimmed from lines, section names, keys and
// texts. Plain C++, so the reader can be fuzzed and tested without Qt.
std::vector<LanguageEntry> parseLanguageIni(std::string_view utf8);

} // namespace quilo
