#pragma once

#include "emulator/EmulatorOptions.h"
#include "emulator/FactorySettings.h"

#include <chrono>
#include <string>
#include <vector>

namespace quilo::test {

// Every human-scale delay of the emulated module and plugs at zero.
inline EmulatorOptions instantEmulator(std::vector<PlugKind> plugs) {
    EmulatorOptions o;
    o.timings.learnKeyPress = o.timings.zwaveResponse = o.timings.zwaveCallback =
        o.timings.zwaveNoAck = o.timings.learnReady = o.timings.buttonPress =
            o.timings.inclusionStep = o.timings.networkReset = o.timings.plugReport =
                o.timings.irKeyPress = o.timings.irLearnTimeout = std::chrono::milliseconds(0);
    o.plugs = std::move(plugs);
    o.logCapacity = 100000;
    return o;
}

// An emulated network: plug i has node id 2 + i and a record named "Plug<i>" of
// its kind's type in Z-Wave memory.
inline EmulatorState networkState(const std::vector<PlugKind>& plugs) {
    EmulatorState s = factoryState(plugs);
    for (std::size_t i = 0; i < s.plugs.size(); ++i) {
        const int id = static_cast<int>(2 + i);
        s.plugs[i].nodeId = static_cast<std::uint8_t>(id);
        const std::string name = "Plug" + std::to_string(i);
        const std::size_t at = 28u * std::size_t(id);
        s.zwaveMemory[at] = static_cast<std::uint8_t>(s.plugs[i].kind);
        for (std::size_t c = 0; c < name.size(); ++c) {
            s.zwaveMemory[at + 4 + 2 * c] = static_cast<std::uint8_t>(name[c]);
        }
    }
    return s;
}

} // namespace quilo::test
