#pragma once

#include "device/Report.h"

namespace quilo {

// Receives every report the read thread gets from the processor, on the read thread.
class InboundHandler {
public:
    virtual ~InboundHandler() = default;
    virtual void handleReport(const Report& report) = 0;
};

} // namespace quilo
