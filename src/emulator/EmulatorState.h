#pragma once

#include "model/DeviceImage.h"

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace quilo {

// Everything the emulated processor remembers across a power cycle: what
// `--emulate=FILE` saves at exit and loads at start. Timers, pending replies and
// the state of an inclusion in progress are not part of it.

constexpr std::size_t kProcessorMemorySize = 0x10000; // 16-bit addresses
// The stretch of processor memory that belongs to a stored mode: band store,
// room gain, room layout and boost word (0-1306).
constexpr std::size_t kModeMemorySize = 1307;
constexpr std::size_t kZwaveMemorySize = 6860;
constexpr std::size_t kEmulatorModes = 4;

struct ParamKey {
    std::uint8_t module = 0;
    std::uint8_t param = 0;
    auto operator<=>(const ParamKey&) const = default;
};

// The words last sent for every known (module, parameter), exactly as sent.
using ParamMap = std::map<ParamKey, std::vector<std::uint32_t>>;

struct StoredMode {
    ParamMap params;
    std::vector<std::uint8_t> memory; // kModeMemorySize bytes from address 0
    bool operator==(const StoredMode&) const = default;
};

enum class PlugKind : std::uint8_t { Switch = 1, Dimmer = 2, Infrared = 3 };

// One virtual plug on the desk beside the processor.
struct PlugState {
    PlugKind kind = PlugKind::Switch;
    std::uint8_t nodeId = 0;       // 0 while it belongs to no network
    std::uint8_t level = 0;        // 0 off, 1-99 dimmer level, 0xFF on
    std::uint8_t lastOnLevel = 99; // what a dimmer returns to on 0xFF
    std::uint64_t learnedKeys = 0; // bit k: infrared key k (0-62) learned
    bool operator==(const PlugState&) const = default;
};

struct EmulatorState {
    ParamMap params;                  // live parameter words
    std::vector<std::uint8_t> memory; // kProcessorMemorySize bytes, mode names included
    std::array<StoredMode, kEmulatorModes> modes;
    std::uint8_t currentMode = 0;
    MachineSettingsBytes machine{};
    RemoteKeyTable remoteTable{};
    std::vector<std::uint8_t> zwaveMemory; // kZwaveMemorySize bytes
    std::vector<PlugState> plugs;
    bool operator==(const EmulatorState&) const = default;
};

} // namespace quilo
