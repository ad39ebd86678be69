#pragma once

#include "emulator/EmulatorState.h"

#include <span>

namespace quilo {

// What a processor holds when it leaves the factory. The parameter table also
// defines which (module, parameter) pairs exist and how many words each takes.
ParamMap factoryParams();

// Every band flat (as a processor set up once), room gain zero, the default room
// layout, boost 0 dB.
std::vector<std::uint8_t> factoryModeMemory();
// All of processor memory: blank except the mode stretch; mode names blank.
std::vector<std::uint8_t> factoryMemory();
StoredMode factoryMode();

MachineSettingsBytes factoryMachineSettings();
RemoteKeyTable factoryRemoteTable();

// A factory processor with these plugs lying beside it, none in its network.
EmulatorState factoryState(std::span<const PlugKind> plugs);
// A processor whose bands were never written: the band store of its memory and of
// every stored mode answers FF.
void blankBandStore(EmulatorState& state);

} // namespace quilo
