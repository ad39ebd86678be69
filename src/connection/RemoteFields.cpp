#include "connection/RemoteFields.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quilo {

namespace {

using Kind = RemoteField::Kind;

constexpr std::array kFields{
    RemoteField{"micVolume", Kind::Volume, &DspParams::micVolume, 0, 99, 1},
    RemoteField{"effectVolume", Kind::Volume, &DspParams::effectVolume, 0, 99, 1},
    RemoteField{"reverbVolume", Kind::Volume, &DspParams::reverbVolume, 0, 99, 1},
    RemoteField{"echoVolume", Kind::Volume, &DspParams::echoVolume, 0, 99, 1},
    RemoteField{"musicVolume", Kind::Volume, &DspParams::musicVolume, 0, 99, 1},
    RemoteField{"micMute", Kind::Mute, &DspParams::micMute, 0, 1, 1},
    RemoteField{"reverbMute", Kind::Mute, &DspParams::reverbMute, 0, 1, 1},
    RemoteField{"echoMute", Kind::Mute, &DspParams::echoMute, 0, 1, 1},
    RemoteField{"musicMute", Kind::Mute, &DspParams::musicMute, 0, 1, 1},
    RemoteField{"musicPitch", Kind::Pitch, &DspParams::musicPitch, -5, 5, 1},
};

} // namespace

std::span<const RemoteField> remoteFields() {
    return kFields;
}

const RemoteField* findRemoteField(std::string_view name) {
    const auto it = std::find_if(kFields.begin(), kFields.end(),
                                 [name](const RemoteField& f) { return f.name == name; });
    return it == kFields.end() ? nullptr : &*it;
}

int masterVolumeLimit(const MachineSettings& settings, std::int32_t DspParams::*field) {
    int limit = 99;
    if (field == &DspParams::micVolume) {
        limit = settings.applied[machine::kMaxMicVolume];
    } else if (field == &DspParams::musicVolume) {
        limit = settings.applied[machine::kMaxMusicVolume];
    }
    // 0 is no maximum the processor would use (its range is 1-99): the settings
    // have not been read, so nothing is limited.
    return limit <= 0 || limit > 99 ? 99 : limit;
}

int remoteFieldValue(const DeviceImage& image, const RemoteField& field) {
    const int value = image.params.*field.field;
    return field.kind == Kind::Mute ? (value != 0 ? 1 : 0) : value;
}

int clampRemoteValue(const DeviceImage& image, const RemoteField& field, double value) {
    if (!std::isfinite(value)) {
        value = field.minimum;
    }
    if (field.kind == Kind::Mute) {
        return value != 0 ? 1 : 0;
    }
    int maximum = field.maximum;
    if (field.kind == Kind::Volume) {
        maximum = std::min(maximum, masterVolumeLimit(image.machine, field.field));
    }
    const double rounded = std::round(std::clamp(value, double(field.minimum), double(maximum)));
    return static_cast<int>(rounded);
}

} // namespace quilo
