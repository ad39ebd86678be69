#include "connection/FieldSnapshot.h"

#include "model/ImageDiff.h"

namespace quilo {

std::optional<std::string> fieldText(const DeviceImage& image, std::string_view name) {
    const std::string prefix = std::string(name) + '=';
    for (const std::string& line : imageFieldLines(image)) {
        if (line.starts_with(prefix)) {
            return line.substr(prefix.size());
        }
    }
    return std::nullopt;
}

std::vector<std::string> FieldSnapshot::update(const DeviceImage& image) {
    std::vector<std::string> lines = imageFieldLines(image);
    std::vector<std::string> changed;
    // The same names in the same order every time: lines compare one to one.
    if (lines.size() == m_lines.size()) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] != m_lines[i] && !lines[i].starts_with("liveStatus[")) {
                changed.push_back(lines[i].substr(0, lines[i].find('=')));
            }
        }
    }
    m_lines = std::move(lines);
    return changed;
}

} // namespace quilo
