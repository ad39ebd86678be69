#pragma once

#include "bus/OwnerClient.h"
#include "cli/Commands.h"

#include <memory>

namespace quilo::cli {

// The owner of the processor these options name, on the session bus: null when
// no other process owns it (the command then opens it itself) or when its owner
// does not serve on the bus (opening it then stops with who owns it). Plain
// --emulate names a processor of this run alone.
std::unique_ptr<OwnerClient> ownerOfProcessor(const GlobalOptions& options);

} // namespace quilo::cli
