#include "smarthome/PlugNames.h"

#include <algorithm>
#include <vector>

namespace quilo {

namespace {

constexpr int kLastNumber = 254;

std::u16string foldAsciiCase(std::u16string text) {
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return text;
}

} // namespace

std::u16string defaultPlugName(std::uint8_t type, const PlugTableData& table) {
    const std::u16string prefix = type == kDimmerPlug ? u"调压" : u"开关";
    std::vector<std::u16string> taken;
    for (int id : table.plugIds()) {
        taken.push_back(foldAsciiCase(table.record(id).name()));
    }
    for (int i = 1; i < kLastNumber; ++i) {
        std::u16string name = prefix;
        for (char c : std::to_string(i)) {
            name += static_cast<char16_t>(c);
        }
        if (std::find(taken.begin(), taken.end(), foldAsciiCase(name)) == taken.end()) {
            return name;
        }
    }
    return prefix + u"254";
}

std::optional<std::u16string> utf16FromUtf8(std::string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80                   ? 0
                          : lead >= 0xC2 && lead < 0xE0 ? 1
                          : lead >= 0xE0 && lead < 0xF0 ? 2
                          : lead >= 0xF0 && lead < 0xF5 ? 3
                                                        : -1;
        if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra)) {
            return std::nullopt;
        }
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            c = c << 6 | (next & 0x3F);
        }
        constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return std::nullopt;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

} // namespace quilo
