#pragma once

#include "dsp/FrequencyResponse.h"
#include "model/DeviceImage.h"
#include "room/OutputChain.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace quilo {

// Distances closer than this are taken as this, so a loudspeaker on the listener's seat
// does not make the 1/r sum infinite.
constexpr double kMinListenerDistanceM = 0.1;

// Every output's response over one frequency list, and where its loudspeaker stands.
// Computed once per change of the image; the sums below only add stored points.
struct SystemResponse {
    std::vector<double> freqs;
    std::array<OutputChain, kOutputChannels> chains{};
    // H_k g_k e^(-j 2 pi f D_k) at each frequency.
    std::array<std::vector<ResponsePoint>, kOutputChannels> outputs{};
    // From the listener to the loudspeaker the room page places at the output's
    // location, at least kMinListenerDistanceM; empty when no loudspeaker is there.
    std::array<std::optional<double>, kOutputChannels> distanceM{};
};

// The caller owns the image for the call.
SystemResponse computeSystemResponse(const DeviceImage& image, std::span<const double> freqs);

// Plain sum of the given outputs (0-7) at each frequency; one output alone is itself.
std::vector<ResponsePoint> plainSum(const SystemResponse& system, std::span<const int> outputs);

// S(f) at the listener: each output's response delayed by r/343 s and weakened by 1/r
// (free field, re 1 m). Outputs without a loudspeaker are left out.
std::vector<ResponsePoint> listenerSum(const SystemResponse& system, std::span<const int> outputs);

// Those of `outputs` that the listener sum leaves out, in the given order.
std::vector<int> outputsWithoutSpeaker(const SystemResponse& system, std::span<const int> outputs);

} // namespace quilo
