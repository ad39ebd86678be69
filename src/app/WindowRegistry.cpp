// The pages and tool windows the program has, by kind. A new page or tool window
// adds its factory here: factories.setPage(PageKind::..., [](PageContext& context,
// QWidget* parent) { return new CDialog...(context, parent); });
#include "app/WindowFactories.h"

#include "app/PageContext.h"
#include "smarthome/gui/CDialogHomeTheater.h"

namespace quilo {

void registerWindows(WindowFactories& factories) {
    factories.setTool(
        ToolWindowId::SmartPlug, [](PageContext& context, QWidget* parent) -> ToolWindow* {
            SmartHome* home = context.smartHome();
            return home != nullptr ? new CDialogHomeTheater(context, *home, parent) : nullptr;
        });
}

} // namespace quilo
