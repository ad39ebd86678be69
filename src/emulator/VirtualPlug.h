#pragma once

#include "emulator/EmulatorOptions.h"
#include "emulator/EmulatorState.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quilo {

// A plug's answer to a command that reached it: a Basic Report carrying `value`
// after `after`, and, for a key learned by then, the key to mark as learned.
struct PlugReaction {
    std::chrono::milliseconds after{0};
    std::uint8_t value = 0;
    std::optional<int> learnsKey;
};

// Values an infrared plug takes in a Basic Set: 128 + k emits key k, 192 + k
// learns key k (k = 0-62). Its reports: 2 ready to learn, then 3 learned once the
// user's remote is pressed, 4 when the code failed its check or 5 when no key came
// in time (as the faults ask); 6 emitted, 7 emitting failed (a key never learned,
// or the emitting fault).
constexpr int kInfraredKeys = 63;

// Basic Set switches (0 off; 1-99 and 0xFF on, a dimmer at that level or, for
// 0xFF, at its last level); infrared values are ignored by the switch and the
// dimmer. Basic Get reports the level. Other commands are ignored.
std::vector<PlugReaction> plugReceive(PlugState& plug, std::span<const std::uint8_t> command,
                                      const EmulatorTimings& timings, const ZwaveFaults& faults);

// Basic device class, generic and specific class and command classes, as the
// node information of an inclusion carries them.
std::vector<std::uint8_t> plugNodeInfo(PlugKind kind);

// What a plug forgets when it leaves a network.
void resetPlug(PlugState& plug);

} // namespace quilo
