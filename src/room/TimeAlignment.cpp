#include "room/TimeAlignment.h"

#include <algorithm>

namespace quilo {

TimeAlignment alignDelays(const RoomLayout& layout, std::span<const std::int32_t, 8> outLocation) {
    std::array<bool, kSpeakerCount> driven{};
    for (const std::int32_t code : outLocation) {
        if (const int k = speakerOfLocation(code); k >= 0) {
            driven[static_cast<std::size_t>(k)] = true;
        }
    }

    TimeAlignment result;
    double farthest = -1.0;
    for (std::size_t k = 0; k < kSpeakerCount; ++k) {
        result.speakers[k].distanceM = speakerCorrection(layout, static_cast<int>(k)).distanceM;
        if (driven[k]) {
            farthest = std::max(farthest, static_cast<double>(result.speakers[k].distanceM));
        }
    }
    for (std::size_t k = 0; k < kSpeakerCount; ++k) {
        if (driven[k]) {
            const double gapM = farthest - result.speakers[k].distanceM;
            result.speakers[k].aheadMs = gapM / kSpeedOfSoundMps * 1000.0;
        }
    }
    for (std::size_t ch = 0; ch < outLocation.size(); ++ch) {
        if (const int k = speakerOfLocation(outLocation[ch]); k >= 0) {
            const double ahead = *result.speakers[static_cast<std::size_t>(k)].aheadMs;
            result.channelDelayMs[ch] = std::min(kMinAlignDelayMs + ahead, kMaxAlignDelayMs);
        }
    }
    return result;
}

} // namespace quilo
