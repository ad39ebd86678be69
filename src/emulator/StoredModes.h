#pragma once

#include "emulator/EmulatorState.h"

namespace quilo {

// The four stored modes. Each holds the parameter words and the mode stretch of
// processor memory (band store, room blocks, boost word); mode names and the
// rest of memory are not part of a mode. Indexes outside 0-3 change nothing and
// return false.

// Stores the live setting into mode n, which becomes the current mode.
bool saveMode(EmulatorState& state, int n);

// Recalls mode n into the live setting and makes it current. While machine
// settings byte 0 is 0 (volumes kept per power cycle) the live master
// microphone and music volumes stay as they are.
bool loadMode(EmulatorState& state, int n);

bool selectMode(EmulatorState& state, int n);

// Returns mode n to its factory setting and recalls it, as a fresh load would.
bool resetMode(EmulatorState& state, int n);

// Everything back to the factory except the Z-Wave module, which keeps its
// network and memory.
void resetMachine(EmulatorState& state);

} // namespace quilo
