#pragma once

#include "device/TraceLine.h"

namespace quilo {

// Where a tracing transport tells every report that passed; called from the read thread
// and from writers at once.
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual void record(const TraceEntry& entry) = 0;
};

} // namespace quilo
