#pragma once

#include "device/Report.h"

#include <chrono>

namespace quilo {

// Where senders hand their outbound reports: the device link's write path, a
// queue in front of it, or a recorder in tests.
class ReportSink {
public:
    virtual ~ReportSink() = default;

    // Hands over one report. Returns 61 when it was written (or accepted for
    // writing on an open link) and 0 when no processor is attached.
    virtual int send(const Report& report) = 0;

    // A timed gap between two reports of one calling order (the music unmute
    // ramp). The sink decides how to honour it without blocking its caller.
    virtual void pause(std::chrono::milliseconds duration) = 0;
};

} // namespace quilo
