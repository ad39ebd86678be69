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

// A handler whose work comes in two halves, so that the read thread never writes
// what only one owner may (see InboundQueue): what is safe from any thread, at
// once, and the rest later, on the owner's thread.
class SplitInboundHandler : public InboundHandler {
public:
    // The read thread's half. True when the report has more for applyLater.
    virtual bool takeOnReadThread(const Report& report) = 0;
    // The owner's half.
    virtual void applyLater(const Report& report) = 0;
};

} // namespace quilo
