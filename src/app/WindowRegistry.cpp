// The pages and tool windows the program has, by kind. A new page or tool window
// adds its factory here: factories.setPage(PageKind::..., [](PageContext& context,
// QWidget* parent) { return new CDialog...(context, parent); });
#include "app/WindowFactories.h"

namespace quilo {

void registerWindows(WindowFactories& factories) {
    (void)factories;
}

} // namespace quilo
