// The pages and tool windows the program has, by kind. A new page or tool window
// adds its factory here: factories.setPage(PageKind::..., [](PageContext& context,
// QWidget* parent) { return new CDialog...(context, parent); });
#include "app/WindowFactories.h"
#include "pages/CAutoMusicVolDlg.h"
#include "pages/CAutoSubDlg.h"
#include "pages/CDialogMusicInput.h"
#include "pages/CSetDlg.h"
#include "pages/CloudnessDlg.h"

namespace quilo {

namespace {
template <typename W> WindowFactories::ToolFactory toolOf() {
    return [](PageContext& context, QWidget* parent) { return new W(context, parent); };
}
} // namespace

void registerWindows(WindowFactories& factories) {
    factories.setTool(ToolWindowId::MachineSettings, toolOf<CSetDlg>());
    factories.setTool(ToolWindowId::SubDecay, toolOf<CAutoSubDlg>());
    factories.setTool(ToolWindowId::MusicAgc, toolOf<CAutoMusicVolDlg>());
    factories.setTool(ToolWindowId::InputSource, toolOf<CDialogMusicInput>());
    factories.setTool(ToolWindowId::Features, toolOf<CloudnessDlg>());
}

} // namespace quilo
