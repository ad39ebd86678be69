#pragma once

#include "ui/BiText.h"

namespace quilo {

// Names of the loudspeaker positions by `outLocation` code 0-7: the output page's position
// boxes and the room page's level sliders.
inline constexpr BiText kLocationNames[8] = {
    {"前置左", "CH-L"}, {"前置右", "CH-R"}, {"后环绕左", "CH-SBL"}, {"后环绕右", "CH-SBR"},
    {"超低", "CH-SUB"}, {"中置", "CH-CEN"}, {"侧环绕左", "CH-SL"},  {"侧环绕右", "CH-SR"},
};

} // namespace quilo
