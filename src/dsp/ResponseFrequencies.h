#pragma once

#include <vector>

namespace quilo {

// The 1/24-octave centre frequencies 1000 * 10^(n/80) whose nominal values run from 20 Hz
// to 20 kHz (n = -136...104: 19.95 Hz to 19.95 kHz, 241 points, 1 kHz among them).
std::vector<double> twentyFourthOctaveFrequencies();

} // namespace quilo
