#pragma once

#include "device/ReportSink.h"
#include "model/PollingGate.h"
#include "smarthome/SmartHomeEvents.h"

#include <QObject>

namespace quilo {

class SmartHome;

// What windows see of the connection to the processor: the user-interface
// thread's way to send, whether a processor is there, the status poll gate and
// the events of the read thread (delivered on the user-interface thread).
class DeviceAccess : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool linkOpen() const = 0;
    // Queues reports for the writer thread; never blocks. 61 while the link is
    // open, 0 when it is not.
    virtual ReportSink& uiSink() = 0;
    // Queues a release of the pacing after what was queued so far: the next report
    // then goes without waiting for an answer that will not come (a withdrawn
    // key learning).
    virtual void releasePacing() = 0;
    // The 300 ms status poll goes out only while nobody holds a pause of this gate
    // (the smart-plug and remote-learning windows hold one while they are open).
    virtual PollingGate& polling() = 0;
    // The smart home over this connection; null where there is none.
    virtual SmartHome* smartHome() { return nullptr; }

signals:
    // A key the processor learned (remote learning); the remote table holds it.
    void learnedKey(int code);
    // A frame of the Z-Wave module, already acknowledged and taken into the plug
    // table on the read thread (smart-home windows).
    void zwaveEvent(quilo::ZwaveEvent event);
    // A smart-home worker is done (or a scene started).
    void smartHomeNotice(quilo::WorkerNotice notice);
};

} // namespace quilo
