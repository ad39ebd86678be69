#pragma once

#include "dsp/Biquad.h"
#include "dsp/FrequencyResponse.h"
#include "model/DeviceImage.h"

#include <array>
#include <cstdint>

namespace quilo {

constexpr int kOutputChannels = 8;
// Bands 0-12 shape an output's sound: the user bands and the crossover. The delay split
// bands 13 and 14 belong to the high-frequency delay and are left out.
constexpr int kOutputResponseBands = 13;

// One output channel as the processor runs it, from the image: its sections as the
// program designs them, its gain and its delay.
struct OutputChain {
    std::array<BiquadCoefficients, kOutputResponseBands> sections{};
    // -1 when the phase is inverted, times outLevel / 100 and the room correction; 0 muted.
    double gain = 1.0;
    // A whole-channel delay that is switched on; 0 otherwise.
    double delaySeconds = 0.0;
    // The delay is on but in high-frequency mode, which acts between split filters and is
    // not part of this response.
    bool delayNotModelled = false;
    std::int32_t location = 0; // outLocation: which loudspeaker it drives
};

// Output `channel` (0-7) of the image; the caller owns the image for the call.
OutputChain outputChain(const DeviceImage& image, int channel);

// H(f) * g * e^(-j 2 pi f D) of one output.
ResponsePoint outputResponse(const OutputChain& chain, double freqHz);

} // namespace quilo
