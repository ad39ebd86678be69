#pragma once

#include "room/RoomLayout.h"

namespace quilo {

// A loudspeaker's distance to the listener and the level correction it earns:
// +3 dB at the listener, 0 dB at 1 m, -3 dB for every further metre.
struct SpeakerCorrection {
    float distanceM = 0.0f;
    float gainDb = 0.0f;
};

// With the room page's precision: the differences, squares and their sum in
// single precision, the root and the correction in double, each result stored
// as single.
SpeakerCorrection distanceCorrection(RoomPoint listener, RoomPoint speaker);

// The same for loudspeaker k (0-7) of a layout.
SpeakerCorrection speakerCorrection(const RoomLayout& layout, int speaker);

} // namespace quilo
