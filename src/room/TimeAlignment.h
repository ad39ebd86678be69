#pragma once

#include "room/DistanceCorrection.h"
#include "room/RoomLayout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace quilo {

constexpr double kSpeedOfSoundMps = 343.0;
// The shortest delay an output takes, and the longest the alignment hands out.
constexpr double kMinAlignDelayMs = 1.5;
constexpr double kMaxAlignDelayMs = 100.0;

struct SpeakerArrival {
    float distanceM = 0.0f; // to the listener, as the level correction measures it
    // How much sooner than the farthest driven loudspeaker's its sound reaches the
    // listener, in ms (0 for the farthest); empty when no output drives it.
    std::optional<double> aheadMs;
};

struct TimeAlignment {
    std::array<SpeakerArrival, kSpeakerCount> speakers;
    // Delay for each output channel 0-7 so that every driven loudspeaker's sound
    // arrives together: the farthest gets the 1.5 ms minimum, each nearer one that
    // plus how much sooner it would arrive, at most 100 ms. Empty for a channel
    // whose location code is not one of the eight loudspeakers.
    std::array<std::optional<double>, 8> channelDelayMs;
};

// Time alignment from the layout and each output channel's outLocation.
//
// Only driven loudspeakers count: one that no channel drives keeps its distance
// but gets no lead and sets no delay, and does not decide which loudspeaker is
// the farthest (a far, silent position must not delay everything else). A channel
// names one location, so it can never drive several loudspeakers; when several
// channels share one location (two amplifiers on one position), every one of them
// gets that loudspeaker's delay.
TimeAlignment alignDelays(const RoomLayout& layout, std::span<const std::int32_t, 8> outLocation);

} // namespace quilo
