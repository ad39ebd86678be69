#pragma once

#include "app/AppSettings.h"
#include "app/DeviceSession.h"
#include "app/ToolWindows.h"
#include "app/WindowFactories.h"
#include "model/DeviceImage.h"
#include "ui/EqCopySource.h"
#include "ui/HelpFile.h"
#include "ui/Language.h"
#include "ui/PageContext.h"
#include "ui/Prompter.h"
#include "ui/SyncProgress.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace quilo {

class CInfoDlg;
class CMainFrame;
class CVORNEXv13View;
class SyncProgressDialog;

struct AppOptions {
    SessionOptions session;
    // Settings in an INI file of their own instead of the user's store (tests).
    QString settingsFile;
    // Folder of the help document; the user's data folder when empty.
    QString helpFolder;
    int connectDelayMs = 250;
    int pollIntervalMs = 300;
    int syncDialogTimeoutMs = 30000;
    // Follow USB arrival and removal (real hardware only).
    bool watchDevices = true;
};

// The process-wide application object: settings, the language, the device
// session with the image, the prompter, the progress dialog, the tool windows,
// the equaliser copy source and the one context every page and tool window is
// made from.
class CVORNEXv13App : public QObject {
    Q_OBJECT
public:
    explicit CVORNEXv13App(AppOptions options = {});
    ~CVORNEXv13App() override;

    // Creates the main frame, the view and everything it needs, loads `file`
    // (from the command line) and shows the window when asked.
    bool InitInstance(const QString& file = {}, bool show = true);
    // The frame closed: saves what must outlive the process. A save that fails is
    // told (in a window when `mayShowWindows`, always on standard error) and makes
    // exitStatus() 1.
    void ExitInstance(bool mayShowWindows = true);
    int exitStatus() const { return m_exitStatus; }

    // A file from the command line, the recent list or another start.
    void OpenDocumentFile(const QString& path);
    // Brings the window forward (another start asked for it) and opens `file`.
    void activate(const QString& file);

    DeviceImage& image() { return *m_image; }
    DeviceSession& session() { return *m_session; }
    bool connected() const { return m_session->linkOpen(); }
    AppSettings& settings() { return *m_settings; }
    const AppOptions& options() const { return m_options; }
    HelpFile& helpFile() { return m_help; }
    CMainFrame* mainFrame() const;
    CVORNEXv13View* view() const;
    // Null before InitInstance.
    PageContext* pageContext() const { return m_context.get(); }

    // --- language
    int language() const { return m_language.index(); }
    Language& languageState() { return m_language; }
    const LanguageTable& languageTable() const { return m_language.table(); }
    // Makes the current language effective in every window.
    void applyLanguage();
    // Switches Chinese and English and remembers the choice.
    void toggleLanguage();
    void setLanguage(int language);

    // --- notices, questions, progress
    Prompter& prompter() { return *m_prompter; }
    // Replaces the prompter (tests); only before InitInstance.
    void setPrompter(std::unique_ptr<Prompter> prompter);
    void showNotice(const QString& text, int ms = 1100) { m_prompter->notice(text, ms); }
    CInfoDlg* noticeWindow() const { return m_prompter->noticeWindow(); }
    SyncProgress& syncProgress() { return *m_progress; }
    SyncProgressDialog* syncDialog() const;
    void showAbout();

    // --- pages and tool windows
    WindowFactories& windowFactories() { return m_factories; }
    void setPageFactory(PageKind kind, WindowFactories::PageFactory factory);
    void setToolWindowFactory(ToolWindowId id, WindowFactories::ToolFactory factory);
    ToolWindows& toolWindows() { return *m_toolWindows; }
    // The open window, or null.
    ToolWindow* toolWindow(ToolWindowId id) const { return m_toolWindows->window(id); }

private:
    AppOptions m_options;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<DeviceImage> m_image;
    std::unique_ptr<DeviceSession> m_session;
    std::unique_ptr<Prompter> m_prompter;
    Language m_language;
    HelpFile m_help;
    EqCopySource m_copySource;
    WindowFactories m_factories;
    std::unique_ptr<ToolWindows> m_toolWindows;
    std::unique_ptr<SyncProgress> m_progress;
    std::unique_ptr<PageContext> m_context;
    QPointer<CMainFrame> m_frame;
    int m_exitStatus = 0;
};

} // namespace quilo
