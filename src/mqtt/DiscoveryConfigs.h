#pragma once

#include "mqtt/BridgeTopics.h"

namespace quilo {

// What the discovery configs say of the processor in their device block.
struct DeviceFacts {
    QString model;    // the processor's model name
    QString firmware; // its firmware dates
};

// The retained Home Assistant discovery configs, PREFIX/<component>/ID/<object>/config:
// a number per volume and the pitch (the window's range), a switch per mute, a select
// for the stored mode, a scene per scene, a switch or a light (brightness) per plug in
// the network, a binary sensor for the connection. Each has a unique id that stays
// while the device id does, the one device block, and the availability topic.
Messages discoveryMessages(const BridgeNames& names, const DeviceFacts& device,
                           const DeviceImage& image, const std::vector<BridgePlug>& plugs);

// "micVolume" -> "Mic volume": an entity's name from a field's.
QString spokenName(std::string_view fieldName);

} // namespace quilo
