#pragma once

#include "device/Report.h"

namespace quilo {

// Where the smart-home code sends its reports. Memory reports and SetParam go
// paced (after the processor answered the previous report); Z-Wave frames and
// their acknowledgements go unpaced, as the module answers them on its own time.
// Sends return 61 when the report was written or accepted for writing, 0 when no
// processor is attached.
class ZwavePort {
public:
    virtual ~ZwavePort() = default;
    virtual int sendPaced(const Report& report) = 0;
    virtual int sendUnpaced(const Report& report) = 0;
    // Lets the next paced write go without waiting for a reply.
    virtual void releasePacing() = 0;
    virtual bool connected() const = 0;
};

} // namespace quilo
