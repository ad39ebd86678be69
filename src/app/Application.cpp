#include "app/Application.h"

#include "app/CAboutDlg.h"
#include "app/CInfoDlg.h"
#include "app/CSyncDlg.h"
#include "app/MainFrame.h"
#include "app/MainView.h"
#include "app/Texts.h"

#include <QApplication>

namespace quilo {

CVORNEXv13App::CVORNEXv13App(AppOptions options)
    : m_options(std::move(options)),
      m_settings(m_options.settingsFile.isEmpty()
                     ? std::make_unique<AppSettings>()
                     : std::make_unique<AppSettings>(m_options.settingsFile)),
      m_image(std::make_unique<DeviceImage>()), m_help(m_options.helpFolder) {
    m_image->resetToDefaults();
    m_session = std::make_unique<DeviceSession>(*m_image, m_options.session, this);
    m_setters = std::make_unique<FieldSetters>(*m_image, m_session->uiSink());
    m_bands = std::make_unique<BandOps>(*m_image, m_session->uiSink());
    m_prompter = std::make_unique<Prompter>(
        [this] { return m_language; }, [this] { return m_table.isLoaded() ? &m_table : nullptr; });
}

CVORNEXv13App::~CVORNEXv13App() {
    for (auto& [id, window] : m_toolWindows) {
        delete window.data();
    }
    delete m_notice.data();
    delete m_syncDialog.data();
    delete m_frame.data();
}

bool CVORNEXv13App::InitInstance(const QString& file, bool show) {
    m_language = m_settings->language();
    m_frame = new CMainFrame(*this);
    m_frame->setAttribute(Qt::WA_DeleteOnClose, false);
    view()->initialise();
    if (!file.isEmpty()) {
        OpenDocumentFile(file);
    }
    if (show) {
        m_frame->show();
    }
    return true;
}

void CVORNEXv13App::ExitInstance() {
    for (auto& [id, window] : m_toolWindows) {
        if (window) {
            window->close();
        }
    }
    if (m_notice) {
        m_notice->close();
    }
    QString error;
    m_session->saveEmulatorState(&error);
    m_settings->sync();
}

CMainFrame* CVORNEXv13App::mainFrame() const {
    return m_frame.data();
}

CInfoDlg* CVORNEXv13App::noticeWindow() const {
    return m_notice.data();
}

CSyncDlg* CVORNEXv13App::syncDialog() const {
    return m_syncDialog.data();
}

CVORNEXv13View* CVORNEXv13App::view() const {
    return m_frame ? &m_frame->view() : nullptr;
}

void CVORNEXv13App::OpenDocumentFile(const QString& path) {
    if (view() != nullptr) {
        view()->openModeFileByPath(path);
    }
}

void CVORNEXv13App::activate(const QString& file) {
    if (m_frame) {
        m_frame->bringToFront();
    }
    if (!file.isEmpty()) {
        OpenDocumentFile(file);
    }
}

// ---------------------------------------------------------------- language

void CVORNEXv13App::applyTable(QWidget* window, int templateId) const {
    m_table.applyTable(window, templateId);
}

void CVORNEXv13App::applyLanguage() {
    const bool tableLoaded = m_table.load(m_language);
    if (CVORNEXv13View* v = view()) {
        v->applyLanguage(m_language);
        m_frame->relabelPresets(m_language);
    }
    if (tableLoaded) {
        for (CToolWindow* w : openToolWindows()) {
            m_table.applyTable(w, w->templateId());
            w->applyLanguage(m_language);
        }
    }
    if (m_notice) {
        m_notice->setLanguage(m_language);
    }
    emit languageChanged(m_language);
}

void CVORNEXv13App::setLanguage(int language) {
    m_language = language == kEnglish ? kEnglish : kChinese;
    m_settings->setLanguage(m_language);
    applyLanguage();
}

void CVORNEXv13App::toggleLanguage() {
    setLanguage(1 - m_language);
}

// ---------------------------------------------------------------- windows

void CVORNEXv13App::showNotice(const QString& text, int ms) {
    if (!m_notice) {
        m_notice = new CInfoDlg(m_frame, m_language);
    }
    m_notice->showNotice(text, ms);
}

int CVORNEXv13App::askChoice(const QString& message, const QString& first, const QString& second) {
    return m_prompter->askChoice(m_frame, message, first, second);
}

void CVORNEXv13App::setPrompter(std::unique_ptr<Prompter> prompter) {
    m_prompter = std::move(prompter);
}

void CVORNEXv13App::showSyncDialog(const QString& text) {
    if (m_syncDialog) {
        m_syncDialog->raise();
        return;
    }
    m_syncDialog = new CSyncDlg(m_frame, m_language, text, m_options.syncDialogTimeoutMs);
    connect(m_syncDialog, &CSyncDlg::timedOut, this, [this] {
        m_prompter->message(m_frame, Prompter::Icon::Error, text::kError.pick(m_language),
                            text::kSyncTimeout.pick(m_language));
    });
    m_syncDialog->show();
}

void CVORNEXv13App::closeSyncDialog() {
    if (m_syncDialog) {
        CSyncDlg* dialog = m_syncDialog;
        m_syncDialog = nullptr;
        dialog->finish();
    }
}

void CVORNEXv13App::showAbout() {
    CVORNEXv13View* v = view();
    CAboutDlg about(m_frame, m_language, &m_image->info, connected(),
                    v != nullptr && v->peakEnabled(), [v](bool on) {
                        if (v != nullptr) {
                            v->setPeakEnabled(on);
                        }
                    });
    about.exec();
}

void CVORNEXv13App::setPageFactory(CPage::Kind kind, PageFactory factory) {
    m_pageFactories[kind] = std::move(factory);
}

bool CVORNEXv13App::hasPage(CPage::Kind kind) const {
    return m_pageFactories.count(kind) != 0;
}

CPage* CVORNEXv13App::createPage(CPage::Kind kind, QWidget* parent) {
    const auto it = m_pageFactories.find(kind);
    return it == m_pageFactories.end() ? nullptr : it->second(*this, parent);
}

void CVORNEXv13App::setToolWindowFactory(ToolWindowId id, ToolFactory factory) {
    m_toolFactories[id] = std::move(factory);
}

CToolWindow* CVORNEXv13App::toolWindow(ToolWindowId id) const {
    const auto it = m_toolWindows.find(id);
    return it == m_toolWindows.end() ? nullptr : it->second.data();
}

CToolWindow* CVORNEXv13App::openToolWindow(ToolWindowId id) {
    CToolWindow* w = toolWindow(id);
    if (w == nullptr) {
        const auto f = m_toolFactories.find(id);
        if (f == m_toolFactories.end()) {
            return nullptr;
        }
        w = f->second(*this, m_frame);
        if (w == nullptr) {
            return nullptr;
        }
        w->setAttribute(Qt::WA_DeleteOnClose);
        m_toolWindows[id] = w;
        if (id == ToolWindowId::MachineSettings) {
            // The maximum volumes may have changed: show the master controls again.
            connect(w, &QObject::destroyed, this, [this] {
                if (CVORNEXv13View* v = view(); v != nullptr && m_image->mainThreadOwns()) {
                    v->refreshMasterControls();
                }
            });
        }
    }
    m_table.applyTable(w, w->templateId());
    w->applyLanguage(m_language);
    w->refreshFromImage();
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

void CVORNEXv13App::closeToolWindow(ToolWindowId id) {
    if (CToolWindow* w = toolWindow(id)) {
        w->close();
    }
}

std::vector<CToolWindow*> CVORNEXv13App::openToolWindows() const {
    std::vector<CToolWindow*> out;
    for (const auto& [id, w] : m_toolWindows) {
        if (w) {
            out.push_back(w.data());
        }
    }
    return out;
}

} // namespace quilo
