#pragma once

#include "smarthome/PlugTable.h"

#include <cstdint>
#include <string>

namespace quilo {

// The name the plug editor proposes for a new plug of `type`: "开关" (switch) or
// "调压" (dimmer) followed by the smallest number from 1 that no present plug
// 2-232 is named, compared without regard to the case of A-Z; 254 when 1-254 are
// all taken.
std::u16string defaultPlugName(std::uint8_t type, const PlugTableData& table);

} // namespace quilo
