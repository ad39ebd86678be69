// The pages and tool windows the program has, by kind. A new page or tool window
// adds its factory here: factories.setPage(PageKind::..., [](PageContext& context,
// QWidget* parent) { return new CDialog...(context, parent); });
#include "app/WindowFactories.h"
#include "remote/gui/CRemoteDlg.h"

namespace quilo {

void registerWindows(WindowFactories& factories) {
    factories.setTool(ToolWindowId::RemoteLearning, [](PageContext& context, QWidget* parent) {
        return new CRemoteDlg(context, parent);
    });
}

} // namespace quilo
