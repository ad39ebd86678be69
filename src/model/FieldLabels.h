#pragma once

#include <string>
#include <string_view>

namespace quilo {

// A compared field as a person reads it, in the program's language (0 Chinese, 1 English):
// its row named as the pages label it ("micMute" -> "Mic mute", "band[4,2]" -> "Music EQ
// band 3", "outDelayMs[1]" -> "CH 2 delay") and its value with the unit or on/off word the
// page shows. UTF-8. A name the table does not know comes back as it is.
std::string fieldLabel(std::string_view fieldName, int language);
// `value` as the field lists print it ("1", "-12.5"); band records are left as they are.
std::string fieldValueText(std::string_view fieldName, std::string_view value, int language);

} // namespace quilo
