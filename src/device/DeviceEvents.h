#pragma once

#include "device/Report.h"

namespace quilo {

// What the read thread has to tell the rest of the program. Every method is
// called on the read thread, never on the user-interface thread; a window
// implementation queues the event onto its own thread and never shows a window
// from here. All bodies are empty so an implementation overrides only what it
// needs, and this class itself serves as "nobody listens".
class DeviceEvents {
public:
    virtual ~DeviceEvents() = default;

    // The processor learned a remote-control key and reports its code. The read
    // thread waits until this returns, so an implementation hands the code to the
    // learning window and returns once the window has taken it.
    virtual void learnedKey(int /*code*/) {}

    // A frame of the Z-Wave controller (reply 0x12; the serial frame starts at
    // byte 3). Whoever owns the link answers it; must not wait on the user interface.
    virtual void zwaveFrame(const Report& /*report*/) {}

    // Z-Wave controller memory (reply 0x14: [2-3] address, [4] length, [5...] data).
    // Must not wait on the user interface.
    virtual void zwaveMemory(const Report& /*report*/) {}

    // The processor refused a parameter request: its error code, module and
    // parameter. Comes at most once per dispatcher; the caller does not wait for
    // the box, and the reply's value is stored all the same.
    virtual void parameterError(int /*code*/, int /*module*/, int /*param*/) {}
};

} // namespace quilo
