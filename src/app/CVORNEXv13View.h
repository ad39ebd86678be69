#pragma once

#include "app/ConnectionController.h"
#include "app/DocumentOpener.h"
#include "app/MasterControls.h"
#include "app/ModeFileController.h"
#include "app/PageHost.h"
#include "app/ShortcutController.h"
#include "app/UndoController.h"
#include "ui/Navigator.h"

#include <QTimer>
#include <QWidget>

#include <memory>

namespace quilo {

class CMFCMyRibbonStatusBar;
class CMyMFCRibbonBar;
class CommandActions;
class CVORNEXv13App;
class PageContext;

// The main view: the page area below the ribbon, put together from its
// controllers (connection, mode files and presets, master controls, shortcuts,
// page host). It binds every command of the ribbon, the menus, the status bar and
// the keys to its call, keeps the indicators current and takes pages and tool
// windows where they ask to go.
class CVORNEXv13View : public QWidget, public Navigator {
    Q_OBJECT
public:
    CVORNEXv13View(CVORNEXv13App& app, CommandActions& commands, CMyMFCRibbonBar& ribbon,
                   CMFCMyRibbonStatusBar& status, QWidget* parent = nullptr);
    ~CVORNEXv13View() override;

    // Resets the image, creates the first page, applies the language and arms
    // the connection timer.
    void initialise(PageContext& context);

    ConnectionController& connection() { return *m_connection; }
    ModeFileController& modeFiles() { return *m_modeFiles; }
    MasterControls& masterControls() { return *m_master; }
    PageHost& pages() { return *m_pages; }
    DocumentOpener& documents() { return *m_documents; }
    UndoController& undo() { return *m_undo; }
    CommandActions& commands() { return m_commands; }

    // Master controls, the page and the tool windows from the image.
    void refreshFromImage();
    // The table is loaded: relabel the ribbon, the status bar and the page.
    void relabel(int language);
    // Connection pane, mode pane, mute marks, mode marks, microphone lines and the
    // equaliser controls; while a synchronisation owns the image only what needs
    // none of it.
    void updateIndicators();

    // Closing: false keeps the program open (a run still owns the image, or the
    // user wants to keep unsaved changes).
    bool confirmClose();
    // The program ends: goodbye to the processor.
    void closeForExit();

    // --- Navigator
    void showPage(PageKind kind, int argument = -1) override;
    void openToolWindow(ToolWindowId id) override;
    void closeToolWindow(ToolWindowId id) override;
    PageState& pageState() override { return m_pages->state(); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // What each command does.
    void bindCommands();
    bool keyboardBlocked() const;
    // A remote data file from outside goes into the remote-learning window.
    void openRemoteFile(const QString& path);
    // "Compare with file…": the differences between the setting and a chosen mode file.
    void compareWithFile();

    CVORNEXv13App& m_app;
    CommandActions& m_commands;
    CMyMFCRibbonBar& m_ribbon;
    CMFCMyRibbonStatusBar& m_status;
    std::unique_ptr<FieldSetters> m_setters;
    std::unique_ptr<PageHost> m_pages;
    std::unique_ptr<ConnectionController> m_connection;
    std::unique_ptr<ModeFileController> m_modeFiles;
    std::unique_ptr<MasterControls> m_master;
    std::unique_ptr<ShortcutController> m_shortcuts;
    std::unique_ptr<DocumentOpener> m_documents;
    // After the shortcuts: its filter runs first, so a key ends the step before it acts.
    std::unique_ptr<UndoController> m_undo;
    QTimer m_indicators; // what the framework's idle update refreshes
};

} // namespace quilo
