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

} // namespace quilo
