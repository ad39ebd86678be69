// The pages and tool windows the program has, by kind. A new page or tool
// window adds its factory here.
#include "app/Application.h"

namespace quilo {

void registerWindows(CVORNEXv13App& app) {
    (void)app;
}

} // namespace quilo
