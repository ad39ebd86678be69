#pragma once

#include <string>

namespace quilo {

// quiloctl's side of org.quilo.Mqtt1 on the owner found by OwnerClient::connect
// (which set up the bus connection): method "On", "Off" or "Status".
struct MqttCallReply {
    std::string value;     // Status: its lines
    std::string errorText; // empty on success
};
MqttCallReply callMqttBridge(const std::string& method);

} // namespace quilo
