#pragma once

#include "model/BandOps.h"
#include "model/DeviceImage.h"
#include "model/FieldSetters.h"

namespace quilo {

// What the delay editors set on an output channel: its delay, held within 1.5-100 ms,
// and the split filters of its high-frequency delay.

constexpr float kMinOutputDelayMs = 1.5f;
constexpr float kMaxOutputDelayMs = 100.0f;

// Within 1.5-100 ms; a value that is not a number reads as the minimum.
float clampOutputDelay(double ms);

// Stores and sends the delay of output `channel` (0-7), held within its limits, when it
// differs from the stored one; returns the delay the channel now has.
float setOutputDelay(DeviceImage& image, FieldSetters& setters, int channel, double ms);

// Bands 13 and 14 of output `channel` at split pair `pair` (0-25): a high-pass at the
// pair's low and a low-pass at its high frequency, or both flat for a whole-channel delay.
int applyDelaySplit(BandOps& bands, int channel, int pair, bool wholeChannel);

} // namespace quilo
