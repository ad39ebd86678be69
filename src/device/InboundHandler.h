#pragma once

#include "device/Report.h"

namespace quilo {

// Receives every report the read thread gets from the processor, on the read thread.
class InboundHandler {
public:
    virtual ~InboundHandler() = default;
    virtual void handleReport(const Report& report) = 0;
    // The link is closing (before its goodbye): what the processor reported live
    // no longer holds. Called on the thread that closes the link.
    virtual void linkClosing() {}
};

} // namespace quilo
