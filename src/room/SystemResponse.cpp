#include "room/SystemResponse.h"

#include "room/DistanceCorrection.h"
#include "room/RoomLayout.h"
#include "room/TimeAlignment.h"

#include <algorithm>

namespace quilo {

namespace {

bool isOutput(int k) {
    return k >= 0 && k < kOutputChannels;
}

std::vector<ResponsePoint> silence(const SystemResponse& system) {
    return std::vector<ResponsePoint>(system.freqs.size(), ResponsePoint{{0.0, 0.0}, {0.0, 0.0}});
}

} // namespace

SystemResponse computeSystemResponse(const DeviceImage& image, std::span<const double> freqs) {
    SystemResponse system;
    system.freqs.assign(freqs.begin(), freqs.end());
    const RoomLayout layout = decodeRoomLayout(image.roomLayout);
    for (int k = 0; k < kOutputChannels; ++k) {
        const auto at = static_cast<std::size_t>(k);
        system.chains[at] = outputChain(image, k);
        auto& points = system.outputs[at];
        points.reserve(freqs.size());
        for (const double f : freqs) {
            points.push_back(outputResponse(system.chains[at], f));
        }
        if (const int speaker = speakerOfLocation(system.chains[at].location); speaker >= 0) {
            const double r = speakerCorrection(layout, speaker).distanceM;
            system.distanceM[at] = std::max(r, kMinListenerDistanceM);
        }
    }
    return system;
}

std::vector<ResponsePoint> plainSum(const SystemResponse& system, std::span<const int> outputs) {
    std::vector<ResponsePoint> sum = silence(system);
    for (const int k : outputs) {
        if (!isOutput(k)) {
            continue;
        }
        const auto& points = system.outputs[static_cast<std::size_t>(k)];
        for (std::size_t i = 0; i < sum.size(); ++i) {
            sum[i] = combined(sum[i], points[i]);
        }
    }
    return sum;
}

std::vector<ResponsePoint> listenerSum(const SystemResponse& system, std::span<const int> outputs) {
    std::vector<ResponsePoint> sum = silence(system);
    for (const int k : outputs) {
        if (!isOutput(k) || !system.distanceM[static_cast<std::size_t>(k)]) {
            continue;
        }
        const double r = *system.distanceM[static_cast<std::size_t>(k)];
        const auto& points = system.outputs[static_cast<std::size_t>(k)];
        for (std::size_t i = 0; i < sum.size(); ++i) {
            const ResponsePoint arrived =
                scaled(delayed(points[i], r / kSpeedOfSoundMps, system.freqs[i]), 1.0 / r);
            sum[i] = combined(sum[i], arrived);
        }
    }
    return sum;
}

std::vector<int> outputsWithoutSpeaker(const SystemResponse& system, std::span<const int> outputs) {
    std::vector<int> out;
    for (const int k : outputs) {
        if (isOutput(k) && !system.distanceM[static_cast<std::size_t>(k)]) {
            out.push_back(k);
        }
    }
    return out;
}

} // namespace quilo
