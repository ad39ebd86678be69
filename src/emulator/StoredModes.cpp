#include "emulator/StoredModes.h"

#include "emulator/FactorySettings.h"
#include "model/DeviceImage.h"
#include "model/ParamTable.h"

#include <algorithm>

namespace quilo {

namespace {

constexpr ParamKey keyOf(const ParamRow& row) {
    return {row.module, row.param};
}
constexpr ParamKey kMicVolume = keyOf(rowOf("micVolume"));
constexpr ParamKey kMusicVolume = keyOf(rowOf("musicVolume"));

bool valid(int n) {
    return n >= 0 && n < static_cast<int>(kEmulatorModes);
}

void recall(EmulatorState& state, const StoredMode& mode, bool keepVolumes) {
    const ParamMap live = state.params;
    state.params = mode.params;
    if (keepVolumes) {
        for (ParamKey key : {kMicVolume, kMusicVolume}) {
            if (auto it = live.find(key); it != live.end()) {
                state.params[key] = it->second;
            }
        }
    }
    std::copy(mode.memory.begin(), mode.memory.end(), state.memory.begin());
}

} // namespace

bool saveMode(EmulatorState& state, int n) {
    if (!valid(n)) {
        return false;
    }
    StoredMode& mode = state.modes[static_cast<std::size_t>(n)];
    mode.params = state.params;
    mode.memory.assign(state.memory.begin(), state.memory.begin() + kModeMemorySize);
    state.currentMode = static_cast<std::uint8_t>(n);
    return true;
}

bool loadMode(EmulatorState& state, int n) {
    if (!valid(n)) {
        return false;
    }
    const bool keepVolumes = state.machine[machine::kVolumeRecall] == 0;
    recall(state, state.modes[static_cast<std::size_t>(n)], keepVolumes);
    state.currentMode = static_cast<std::uint8_t>(n);
    return true;
}

bool selectMode(EmulatorState& state, int n) {
    if (!valid(n)) {
        return false;
    }
    state.currentMode = static_cast<std::uint8_t>(n);
    return true;
}

bool resetMode(EmulatorState& state, int n) {
    if (!valid(n)) {
        return false;
    }
    StoredMode& mode = state.modes[static_cast<std::size_t>(n)];
    mode = factoryMode();
    recall(state, mode, false);
    state.currentMode = static_cast<std::uint8_t>(n);
    return true;
}

void resetMachine(EmulatorState& state) {
    std::vector<PlugKind> kinds;
    for (const PlugState& p : state.plugs) {
        kinds.push_back(p.kind);
    }
    EmulatorState fresh = factoryState(kinds);
    fresh.zwaveMemory = std::move(state.zwaveMemory);
    fresh.plugs = std::move(state.plugs);
    state = std::move(fresh);
}

} // namespace quilo
