#pragma once

#include <string>
#include <string_view>

namespace quilo {

// The texts of the room page's edit boxes and the values of their spins.

// A position as the boxes show it: "%+-.1fm" ("+1.0m", "-0.5m").
std::string positionText(double metres);
// A room size: "%dm".
std::string roomSizeText(int metres);

// A position box: its leading decimal number counts ("+1.0m" and " 2.5 m" read
// 1.0 and 2.5); text that does not start with one, or a number no double can
// hold, reads 0.
double readPositionText(std::string_view text);
// A room size box: its leading whole number ("4m", "4.5m" read 4), taken into
// 1-10 m; text without one reads 1.
int readRoomSizeText(std::string_view text);

// A position spin counts tenths: truncate(metres x 10).
int positionSpinValue(float metres);
// Its range is +-(size x 10 / 2) in whole tenths.
int positionSpinLimit(int roomSizeM);

} // namespace quilo
