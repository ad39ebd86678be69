#pragma once

#include "model/DeviceImage.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilo {

// The value of one field of the image as `quiloctl decode` prints it; nothing
// for a name it does not know.
std::optional<std::string> fieldText(const DeviceImage& image, std::string_view name);

// The image's fields as they were at the last look, to tell which changed since,
// whoever changed them. The live status moves all the time and is left out.
class FieldSnapshot {
public:
    // The names of the fields that differ from the last look; none the first time.
    std::vector<std::string> update(const DeviceImage& image);

private:
    std::vector<std::string> m_lines;
};

} // namespace quilo
