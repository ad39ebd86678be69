#pragma once

#include "smarthome/PlugTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quilo {

// The name the plug editor proposes for a new plug of `type`: "开关" (switch) or
// "调压" (dimmer) followed by the smallest number from 1 that no present plug
// 2-232 is named, compared without regard to the case of A-Z; 254 when 1-254 are
// all taken.
std::u16string defaultPlugName(std::uint8_t type, const PlugTableData& table);

// A name typed by a script or sent by a remote, UTF-8 to UTF-16; nothing when it
// is not well-formed UTF-8 (overlong forms and surrogates included).
std::optional<std::u16string> utf16FromUtf8(std::string_view text);

} // namespace quilo
