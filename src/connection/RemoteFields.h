#pragma once

#include "model/DeviceImage.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace quilo {

// The master controls a remote (a phone, a home-automation system) may change:
// the five master volumes, the four mutes and the music pitch, with the ranges
// of the window's controls.
struct RemoteField {
    enum class Kind { Volume, Mute, Pitch };
    std::string_view name; // as scripts name the field
    Kind kind;
    std::int32_t DspParams::*field;
    int minimum;
    int maximum; // before the machine settings' limit of the mic and music volumes
    int step;
};

std::span<const RemoteField> remoteFields();
// Nothing for a name that is not in the table.
const RemoteField* findRemoteField(std::string_view name);

// The highest value the window's slider lets the master volume `field` take:
// 99, or the machine settings' maximum of the mic and music volumes once read.
int masterVolumeLimit(const MachineSettings& settings, std::int32_t DspParams::*field);

// The control's current value in the image.
int remoteFieldValue(const DeviceImage& image, const RemoteField& field);
// `value` brought into the control's range as its slider or box would:
// rounded, volumes 0 to their limit, the pitch -5 to +5, a mute 0 or 1.
int clampRemoteValue(const DeviceImage& image, const RemoteField& field, double value);

} // namespace quilo
