#include "ui/Resources.h"

#include <QtGlobal>

#include <mutex>

// The resources live in a static library: nothing would pull their object file
// into the program unless someone registers them by name.
static void registerQuiloResources() {
    Q_INIT_RESOURCE(quilo);
}

namespace quilo {

void ensureResources() {
    static std::once_flag once;
    std::call_once(once, registerQuiloResources);
}

} // namespace quilo
