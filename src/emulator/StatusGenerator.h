#pragma once

#include "emulator/EmulatorState.h"
#include "emulator/Outbox.h"

#include <array>
#include <cstdint>

namespace quilo {

// The 16 live status bytes a PollStatus reply carries at [2-17], made up from the
// time and the live setting: input and music meters (0-60) that move like
// programme material and fall silent while muted, the music level in dB,
// stream format flags by music input, and two wireless microphones.
std::array<std::uint8_t, 16> liveStatusAt(const EmulatorState& state, EmulatorTime now);

} // namespace quilo
