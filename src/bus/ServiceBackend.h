#pragma once

#include "connection/NamedField.h"
#include "model/DeviceImage.h"
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
    // Sends one field as the windows' setters do, as one step of the undo history
    // where there is one; `client` names who asked. Empty on success, otherwise
    // why not (nothing changed then).
    virtual std::string setField(const FieldRef& field, double value, const QString& client) = 0;

    // A filter text (as the equaliser pages import it) into the user bands of
    // equaliser `eqId`, stored and sent; empty on success, otherwise why not
    // (nothing changed then). One step of the undo history where there is one.
    virtual std::string applyEq(int /*eqId*/, const std::string& /*text*/,
                                const QString& /*client*/) {
        return "this owner takes no filter text";
    }

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
    // A plug of record type `type` (1 switch, 2 dimmer, 3 infrared) named `name`
    // (UTF-8; empty: the name the plug editor proposes) joins the network, or one
    // leaves it; `done` tells the plug's id. Refused: a name that cannot be a plug's.
    using DoneWith = std::function<void(const std::string& problem, int value)>;
    virtual LongStart includePlug(int /*type*/, const std::string& /*name*/, DoneWith /*done*/,
                                  std::string* /*problem*/) {
        return LongStart::NotHere;
    }
    virtual LongStart excludePlug(DoneWith /*done*/) { return LongStart::NotHere; }
    // Remote key 1-17 learned within `timeoutS` seconds; `done` tells the code.
    virtual LongStart learnRemoteKey(int /*key*/, int /*timeoutS*/, DoneWith /*done*/) {
        return LongStart::NotHere;
    }
    // A remote-key file into the processor, or its table into one.
    virtual LongStart pushRemote(const std::string& /*path*/, Done /*done*/,
                                 std::string* /*problem*/) {
        return LongStart::NotHere;
    }
    virtual LongStart pullRemote(const std::string& /*path*/, Done /*done*/) {
        return LongStart::NotHere;
    }
};

} // namespace quilo
