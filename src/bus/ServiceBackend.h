#pragma once

#include "connection/NamedField.h"
#include "model/DeviceImage.h"
#include "smarthome/PlugKeyFile.h"
#include "smarthome/PlugTable.h"

#include <QString>

#include <functional>
#include <string>

namespace quilo {

// What the bus service needs of the process that owns the processor (the desktop
// program or the daemon). Everything runs on the owner's thread.
class ServiceBackend {
public:
    virtual ~ServiceBackend() = default;

    // "quilo" or "quilod".
    virtual QString ownerName() const = 0;
    virtual bool connected() const = 0;
    // The image; read only while this thread owns it (DeviceImage::mainThreadOwns).
    virtual const DeviceImage& image() const = 0;
    // The smart-plug table (plugs in the network, their records and the scenes);
    // null where there is none.
    virtual const PlugTable* plugs() const { return nullptr; }
    // The plugs' infrared key files (names and learned state); null where there are none.
    virtual const PlugKeyFile* plugKeys() const { return nullptr; }
    // Sends one field as the windows' setters do, as one step of the undo history
    // where there is one; `client` names who asked. Empty on success, otherwise
    // why not (nothing changed then).
    virtual std::string setField(const FieldRef& field, double value, const QString& client) = 0;

    // A read-back into the mode file `path`, or a write-out of it. `done` is called
    // later on this thread with an empty text on success, otherwise why not.
    // Refused: bad input (`problem` says why), nothing changed.
    enum class LongStart { Started, Busy, Refused, NotHere };
    using Done = std::function<void(const std::string& problem)>;
    virtual LongStart pull(const std::string& /*path*/, Done /*done*/) {
        return LongStart::NotHere;
    }
    virtual LongStart push(const std::string& /*path*/, Done /*done*/, std::string* /*problem*/) {
        return LongStart::NotHere;
    }
    // Stored mode 0-3 (Mode1-Mode4) into the processor's setting, then read back;
    // or the setting stored into it (answered once the processor has it).
    virtual LongStart recallMode(int /*mode*/, Done /*done*/) { return LongStart::NotHere; }
    virtual LongStart storeMode(int /*mode*/, Done /*done*/) { return LongStart::NotHere; }
    // Scene 0-5 run to its end; one Basic Set to plug `id` (1-232), answered
    // with the Z-Wave module's end of send.
    virtual LongStart runScene(int /*scene*/, Done /*done*/) { return LongStart::NotHere; }
    virtual LongStart setPlug(int /*id*/, int /*value*/, Done /*done*/) {
        return LongStart::NotHere;
    }
};

} // namespace quilo
