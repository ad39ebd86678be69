// The pages and tool windows the program has, by kind. A new page or tool window
// adds its factory here: factories.setPage(PageKind::..., [](PageContext& context,
// QWidget* parent) { return new CDialog...(context, parent); });
#include "app/WindowRegistry.h"
#include "mqtt/gui/HomeAutomationWindow.h"
#include "pages/CAutoMusicVolDlg.h"
#include "pages/CAutoSubDlg.h"
#include "pages/CCompDlg.h"
#include "pages/CDelayDlg.h"
#include "pages/CDialogEfx.h"
#include "pages/CDialogMusic.h"
#include "pages/CDialogMusicInput.h"
#include "pages/CDialogOutput.h"
#include "pages/CSetDlg.h"
#include "pages/CloudnessDlg.h"
#include "pages/SystemResponseWindow.h"
#include "remote/gui/CRemoteDlg.h"
#include "room/gui/CSSVCDlg.h"
#include "smarthome/gui/CDialogHomeTheater.h"
#include "ui/PageContext.h"

namespace quilo {

namespace {
template <typename W> WindowFactories::ToolFactory toolOf() {
    return [](PageContext& context, QWidget* parent) { return new W(context, parent); };
}
} // namespace

void registerWindows(WindowFactories& factories) {
    factories.setPage(PageKind::MusicMic, [](PageContext& context, QWidget* parent) {
        return new CDialogMusic(context, parent);
    });
    factories.setPage(PageKind::Effects, [](PageContext& context, QWidget* parent) {
        return new CDialogEfx(context, parent);
    });
    factories.setPage(PageKind::Output, [](PageContext& context, QWidget* parent) {
        return new CDialogOutput(context, context.pageState().outputChannel, parent);
    });
    factories.setPage(PageKind::Compressor, [](PageContext& context, QWidget* parent) {
        return new CCompDlg(context, parent);
    });
    factories.setPage(PageKind::Delay, [](PageContext& context, QWidget* parent) {
        return new CDelayDlg(context, parent);
    });
    factories.setPage(PageKind::RoomLayout, [](PageContext& context, QWidget* parent) {
        return new CSSVCDlg(context, parent);
    });
    factories.setTool(ToolWindowId::MachineSettings, toolOf<CSetDlg>());
    factories.setTool(ToolWindowId::SubDecay, toolOf<CAutoSubDlg>());
    factories.setTool(ToolWindowId::MusicAgc, toolOf<CAutoMusicVolDlg>());
    factories.setTool(ToolWindowId::InputSource, toolOf<CDialogMusicInput>());
    factories.setTool(ToolWindowId::Features, toolOf<CloudnessDlg>());
    factories.setTool(
        ToolWindowId::SmartPlug, [](PageContext& context, QWidget* parent) -> ToolWindow* {
            SmartHome* home = context.smartHome();
            return home != nullptr ? new CDialogHomeTheater(context, *home, parent) : nullptr;
        });
    factories.setTool(ToolWindowId::RemoteLearning, toolOf<CRemoteDlg>());
    factories.setTool(ToolWindowId::SystemResponse, toolOf<SystemResponseWindow>());
}

void registerHomeAutomation(WindowFactories& factories, MqttBridge& bridge) {
    factories.setTool(ToolWindowId::HomeAutomation,
                      [&bridge](PageContext& context, QWidget* parent) -> ToolWindow* {
                          return new HomeAutomationWindow(context, bridge, parent);
                      });
}

} // namespace quilo
