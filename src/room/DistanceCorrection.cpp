#include "room/DistanceCorrection.h"

#include <cmath>

namespace quilo {

SpeakerCorrection distanceCorrection(RoomPoint listener, RoomPoint speaker) {
    const float dx = std::fabs(listener.x - speaker.x);
    const float dy = std::fabs(listener.y - speaker.y);
    const float squares = dx * dx + dy * dy;
    const auto distance = static_cast<float>(std::sqrt(static_cast<double>(squares)));
    const auto gain = static_cast<float>(3.0 - 3.0 * static_cast<double>(distance));
    return {distance, gain};
}

SpeakerCorrection speakerCorrection(const RoomLayout& layout, int speaker) {
    return distanceCorrection(layout.listener, layout.position(speaker + 1));
}

} // namespace quilo
