#pragma once

#include "model/SyncRunner.h"
#include "smarthome/SmartHomeEvents.h"

#include <cstdint>

namespace quilo {

// What a ProcessorConnection tells its owner, always on the owner's thread
// (through the poster it was given). Bodies are empty: a user takes what it needs.
class ConnectionEvents {
public:
    virtual ~ConnectionEvents() = default;

    // A key the processor learned (remote learning); the remote table holds it.
    virtual void learnedKey(int /*code*/) {}
    // The processor reported a parameter error (once per connection object).
    virtual void parameterError(int /*code*/, int /*module*/, int /*param*/) {}
    // A read or write failed: the processor is lost until it is found again.
    virtual void readFailed() {}
    // A read-back or write-out ended; `run` as startPull/startPush gave it.
    virtual void syncDone(SyncRunner::Direction /*direction*/, std::uint64_t /*run*/) {}
    // The synchronisation worker handed the image back (also after a cancelled run).
    virtual void imageReturned() {}
    // A scene step chose an HDMI input; the image holds it now.
    virtual void hdmiSelected(int /*input*/) {}
    // A frame of the Z-Wave module, already acknowledged and taken into the plug
    // table on the read thread.
    virtual void zwaveEvent(const ZwaveEvent& /*event*/) {}
    // A smart-home worker is done (or a scene started).
    virtual void workerNotice(WorkerNotice /*notice*/) {}
};

} // namespace quilo
