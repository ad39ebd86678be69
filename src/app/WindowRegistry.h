#pragma once

#include "ui/WindowFactories.h"

namespace quilo {

class MqttBridge;

// Registers "Home automation…", over the bridge of the program's owner.
void registerHomeAutomation(WindowFactories& factories, MqttBridge& bridge);

} // namespace quilo
