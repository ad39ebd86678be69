#pragma once

#include "device/TraceLine.h"

#include <string>

namespace quilo::cli {

// One trace line for a person: "TIME out|in 0xCC Name" and the fields the report carries,
// named and valued as `quiloctl decode` prints them.
std::string describeTraceEntry(const TraceEntry& entry);

} // namespace quilo::cli
