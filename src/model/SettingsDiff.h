#pragma once

#include "model/DeviceImage.h"

#include <string>
#include <string_view>
#include <vector>

namespace quilo {

// Comparing two settings field by field: every field a mode file carries, named
// and printed as `quiloctl decode` and `modefile dump` print it.

// Where the program edits a field.
enum class SettingsPage {
    MainControls,       // master volumes, mutes, pitch and music noise gate
    MusicAndMicrophone, // mic channels, inputs, shifters, echo and reverb, mic and music EQ
    Effects,            // echo and reverb equalisers
    Output,             // output channels: EQ, crossover, levels, delay, compressor, ...
    InputSource,        // music source, HDMI input and input gains
    Features,           // boost, low-pass boost path, subwoofer decay, music level and compressor
    Room,               // room layout, level compensation and output levels
    None,               // kept in files, edited nowhere
};

struct FieldDifference {
    std::string name;   // "outDelayMs[2]", "band[5,3]"
    std::string before; // the value in the first setting
    std::string after;  // the value in the second
    SettingsPage page;
};

// The fields of a mode file whose stored content differs between the two
// settings, sorted as decode sorts them.
std::vector<FieldDifference> settingsDifferences(const DeviceImage& first,
                                                 const DeviceImage& second);

// "name: before -> after"
std::string differenceLine(const FieldDifference& difference);

// The page of a field by its printed name (with or without its index).
SettingsPage settingsPageOf(std::string_view fieldName);

// The page's name in English; the windows carry the Chinese names themselves.
std::string_view englishPageName(SettingsPage page);

} // namespace quilo
