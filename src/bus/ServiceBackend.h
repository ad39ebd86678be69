#pragma once

#include "connection/NamedField.h"
#include "model/DeviceImage.h"

#include <QString>

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
    // Sends one field as the windows' setters do, as one step of the undo history
    // where there is one; `client` names who asked. Empty on success, otherwise
    // why not (nothing changed then).
    virtual std::string setField(const FieldRef& field, double value, const QString& client) = 0;
};

} // namespace quilo
