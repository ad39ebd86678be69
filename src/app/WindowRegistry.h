#pragma once

#include "ui/WindowFactories.h"

namespace quilo {

class MqttBridge;

// Registers the windows of the owner's remotes, which work on those remotes.
void registerRemoteWindows(WindowFactories& factories, MqttBridge& mqtt);

} // namespace quilo
