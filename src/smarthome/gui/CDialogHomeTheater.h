#pragma once

#include "model/PollingGate.h"
#include "smarthome/SmartHomeEvents.h"
#include "ui/ToolWindow.h"

#include <QPointer>
#include <QTimer>

#include <array>
#include <memory>

class QPushButton;

namespace quilo {

class CDialogZwaveRemoter;
class CDlgZwaveEdit;
class CDlgZwaveLight;
class CDlgZwaveList;
class CDlgZwaveSwitch;
class CRemoteLearnDlg;
class CTabWnd;
class PageContext;
class PlugOperation;
class SmartHome;
class SyncProgress;

// The smart-plug window (template 479): the power-on and power-off scenes, the
// network reset, the help, and three pages — the plug list, the scene editor and
// the key learning page. It owns the plug operation and the plug dialogs, and
// takes the Z-Wave events and worker notices while it is open. The status poll
// stays off while it exists.
class CDialogHomeTheater : public ToolWindow {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 479;
    enum CtrlId {
        kPowerOnLabel = 1005,
        kPowerOffLabel = 1007,
        kPowerOn = 1068,
        kPowerOff = 1069,
        kScene0 = 1070, // .. 1073, hidden
        kPlugListTab = 1074,
        kRemoveHidden = 1075,
        kAddHidden = 1076,
        kSceneTab = 1077,
        kReset = 1078,
        kHelp = 1079,
        kLearnTab = 1080,
        kPages = 1226,
    };
    static constexpr int kSyncDelayMs = 200;

    CDialogHomeTheater(PageContext& context, SmartHome& home, QWidget* parent);
    ~CDialogHomeTheater() override;

    int templateId() const override { return kTemplateId; }
    // The smart-home data live outside the image: the pages refresh on the smart
    // home's own notices, so a read-back of the image changes nothing here.
    void refreshFromImage() override {}
    void applyLanguage(int language) override;

    void refreshPages();
    void showTab(int index);

    PlugOperation& operation() { return *m_operation; }
    CDlgZwaveList& plugList() { return *m_list; }
    CDialogZwaveRemoter& sceneEditor() { return *m_scenes; }
    CRemoteLearnDlg& learnPage() { return *m_learn; }
    // The open plug dialogs, or null.
    CDlgZwaveSwitch* switchDialog() const;
    CDlgZwaveLight* dimmerDialog() const;
    CDlgZwaveEdit* editDialog() const;
    SyncProgress& progress() { return *m_progress; }

    void openSwitch(int id);
    void openDimmer(int id);
    void openEdit(int id);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fitPages();
    void runScene(int scene, const QString& text);
    void reset();
    void firstSync();
    void onEvent(const ZwaveEvent& event);
    void onNotice(WorkerNotice notice);
    void centre(QWidget* dialog);
    void openHelp();

    PageContext& m_context;
    // While the window is open the status poll would only get in the module's way.
    PollingGate::Pause m_noPolling;
    SmartHome& m_home;
    std::unique_ptr<PlugOperation> m_operation;
    std::unique_ptr<SyncProgress> m_progress;
    CTabWnd* m_tabs;
    CDlgZwaveList* m_list;
    CDialogZwaveRemoter* m_scenes;
    CRemoteLearnDlg* m_learn;
    std::array<QPushButton*, 3> m_tabButtons{};
    QPointer<CDlgZwaveSwitch> m_switch;
    QPointer<CDlgZwaveLight> m_dimmer;
    QPointer<CDlgZwaveEdit> m_edit;
    QTimer m_syncTimer;
};

} // namespace quilo
