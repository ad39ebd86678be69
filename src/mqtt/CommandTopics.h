#pragma once

#include "connection/RemoteFields.h"
#include "mqtt/BridgeTopics.h"

#include <optional>

namespace quilo {

// The longest command payload taken; anything longer is refused unread.
constexpr int kMaxCommandBytes = 64;

// What one message on a command topic asks for.
struct BridgeCommand {
    enum class Kind { Field, Mode, Scene, Plug };
    Kind kind = Kind::Field;
    const RemoteField* field = nullptr; // Field
    int value = 0; // the field's value brought into range, mode 0-3, scene 0-5, plug value
    int plug = 0;  // Plug: its id
    bool operator==(const BridgeCommand&) const = default;
};

// A command, or why the message asks for nothing (in English, for the log).
struct ParsedCommand {
    std::optional<BridgeCommand> command;
    QString refusal;
};

// Reads a message on BASE/ID/<what>/set: a remote field (a number brought into the
// control's range as the window's control would, ON/OFF for a mute), mode M1-M4,
// scene by name (either language) or number 0-5, plug/NODE for a plug in the
// network (ON/OFF, a dimmer also a brightness 0-99). Anything else is refused.
ParsedCommand parseCommand(const BridgeNames& names, const QString& topic,
                           const QByteArray& payload, const DeviceImage& image,
                           const std::vector<BridgePlug>& plugs);

} // namespace quilo
