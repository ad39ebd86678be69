#pragma once

#include "app/AppSettings.h"
#include "app/CPage.h"
#include "app/DeviceSession.h"
#include "app/HelpFile.h"
#include "app/LanguageTable.h"
#include "app/Prompter.h"
#include "model/BandOps.h"
#include "model/DeviceImage.h"
#include "model/FieldSetters.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>

namespace quilo {

class CInfoDlg;
class CMainFrame;
class CSyncDlg;
class CVORNEXv13View;

// The modeless tool windows, by their template ids.
enum class ToolWindowId {
    MachineSettings = 335,
    RemoteLearning = 373,
    SubDecay = 410,
    MusicAgc = 424,
    SmartPlug = 479,
    InputSource = 512,
    Features = 515,
};

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

// The process-wide application object: settings, language, the device session,
// the image and the windows that exist at most once. Pages and tool windows get
// it to reach everything they share.
class CVORNEXv13App : public QObject {
    Q_OBJECT
public:
    using PageFactory = std::function<CPage*(CVORNEXv13App& app, QWidget* parent)>;
    using ToolFactory = std::function<CToolWindow*(CVORNEXv13App& app, QWidget* parent)>;

    explicit CVORNEXv13App(AppOptions options = {});
    ~CVORNEXv13App() override;

    // Creates the main frame, the view and everything it needs, loads `file`
    // (from the command line) and shows the window when asked.
    bool InitInstance(const QString& file = {}, bool show = true);
    // The frame closed: saves what must outlive the process.
    void ExitInstance();

    // A file from the command line, the recent list or another start.
    void OpenDocumentFile(const QString& path);
    // Brings the window forward (another start asked for it) and opens `file`.
    void activate(const QString& file);

    // --- shared state ---
    DeviceImage& image() { return *m_image; }
    DeviceSession& session() { return *m_session; }
    ReportSink& sink() { return m_session->uiSink(); }
    FieldSetters& setters() { return *m_setters; }
    BandOps& bands() { return *m_bands; }
    bool connected() const { return m_session->linkOpen(); }
    AppSettings& settings() { return *m_settings; }
    const AppOptions& options() const { return m_options; }
    CMainFrame* mainFrame() const;
    CVORNEXv13View* view() const;
    HelpFile& helpFile() { return m_help; }

    int pendingModeSlot = -1;
    int chosenPreset = -1;    // entry 0-14 of the speaker-preset menu
    int musicEqSelection = 0; // music page: 0 mic channel A, 1 mic channel B, 2 music

    // --- language ---
    int language() const { return m_language; }
    const LanguageTable& languageTable() const { return m_table; }
    // Applies the table to one window (nothing when the table could not be loaded).
    void applyTable(QWidget* window, int templateId) const;
    // Makes the current language effective in every window.
    void applyLanguage();
    // Switches Chinese and English and remembers the choice.
    void toggleLanguage();
    void setLanguage(int language);

    // --- notices, questions, progress ---
    void showNotice(const QString& text, int ms = 1100);
    CInfoDlg* noticeWindow() const;
    int askChoice(const QString& message, const QString& first, const QString& second);
    Prompter& prompter() { return *m_prompter; }
    void setPrompter(std::unique_ptr<Prompter> prompter);
    // The modal synchronisation dialog; when one is shown it is only raised.
    void showSyncDialog(const QString& text = {});
    void closeSyncDialog();
    CSyncDlg* syncDialog() const;
    void showAbout();

    // --- pages and tool windows ---
    void setPageFactory(CPage::Kind kind, PageFactory factory);
    CPage* createPage(CPage::Kind kind, QWidget* parent);
    bool hasPage(CPage::Kind kind) const;
    void setToolWindowFactory(ToolWindowId id, ToolFactory factory);
    // The open window, or null.
    CToolWindow* toolWindow(ToolWindowId id) const;
    // Creates it on first use, applies its table, refreshes and shows it.
    CToolWindow* openToolWindow(ToolWindowId id);
    void closeToolWindow(ToolWindowId id);
    // Every open tool window, for refreshing and relabelling.
    std::vector<CToolWindow*> openToolWindows() const;

signals:
    void languageChanged(int language);

private:
    AppOptions m_options;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<DeviceImage> m_image;
    std::unique_ptr<DeviceSession> m_session;
    std::unique_ptr<FieldSetters> m_setters;
    std::unique_ptr<BandOps> m_bands;
    std::unique_ptr<Prompter> m_prompter;
    LanguageTable m_table;
    HelpFile m_help;
    int m_language = 0;

    QPointer<CMainFrame> m_frame;
    QPointer<CInfoDlg> m_notice;
    QPointer<CSyncDlg> m_syncDialog;
    std::map<CPage::Kind, PageFactory> m_pageFactories;
    std::map<ToolWindowId, ToolFactory> m_toolFactories;
    std::map<ToolWindowId, QPointer<CToolWindow>> m_toolWindows;
};

// Registers the factories of every page and tool window the program has.
void registerWindows(CVORNEXv13App& app);

} // namespace quilo
