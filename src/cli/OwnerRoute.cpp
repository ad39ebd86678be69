#include "cli/OwnerRoute.h"

#include "connection/OwnerLock.h"

namespace quilo::cli {

std::unique_ptr<OwnerClient> ownerOfProcessor(const GlobalOptions& options) {
    if (options.emulate && !options.emulatorFile) {
        return nullptr;
    }
    pid_t ownerPid = 0;
    if (options.emulate) {
        if (const auto owner = OwnerLock::ownerOf(OwnerLock::emulatorKey(*options.emulatorFile))) {
            ownerPid = owner->pid;
        }
    } else {
        for (const ProcessorOwner& owner : OwnerLock::owners()) {
            if (!owner.processor.starts_with("emulator:")) {
                ownerPid = owner.pid;
            }
        }
    }
    // The one serving on the bus must be the one holding this processor.
    return ownerPid > 0 ? OwnerClient::connect(ownerPid) : nullptr;
}

} // namespace quilo::cli
