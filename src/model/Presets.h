#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quilo {

// The fifteen built-in loudspeaker presets of the speaker-preset menu. Each is a
// complete version-8 mode file, built at run time from a table in Presets.cpp.

// What a loudspeaker preset puts on one output channel.
enum class SpeakerRole {
    None, // nothing connected: muted, every level 0
    FrontLeft,
    FrontRight,
    Centre,
    Subwoofer,
    SideLeft,
    SideRight,
    BackLeft,
    BackRight,
};

using SpeakerLayout = std::array<SpeakerRole, 8>; // CH 1-8

// Crossover between the subwoofers and the other loudspeakers of every preset
// that has a subwoofer ("LinkwitzRiely 24dB" in output band slots 9-12).
constexpr int kPresetCrossoverHz = 80;

int presetCount();
// Menu text of preset i (0-14) in language 0 Chinese or 1 English, UTF-8;
// empty for an index out of range.
std::string presetName(int i, int language);
// The roles of the eight outputs in preset i; all None out of range.
SpeakerLayout presetLayout(int i);
// The mode file of preset i (2175 bytes, version 8); empty out of range.
std::vector<std::uint8_t> presetModeFile(int i);

} // namespace quilo
