#include "app/CVORNEXv13App.h"

#include "app/AboutBox.h"
#include "app/CMainFrame.h"
#include "app/CVORNEXv13View.h"
#include "app/MemoryTrim.h"
#include "ui/BiText.h"
#include "ui/CInfoDlg.h"
#include "ui/SyncProgressDialog.h"
#include "ui/Texts.h"

#include <cstdio>

namespace quilo {

CVORNEXv13App::CVORNEXv13App(AppOptions options)
    : m_options(std::move(options)),
      m_settings(m_options.settingsFile.isEmpty()
                     ? std::make_unique<AppSettings>()
                     : std::make_unique<AppSettings>(m_options.settingsFile)),
      m_image(std::make_unique<DeviceImage>()), m_help(m_options.helpFolder) {
    m_image->resetToDefaults();
    m_session = std::make_unique<DeviceSession>(*m_image, m_options.session, this);
    m_prompter = std::make_unique<Prompter>(
        [this] { return m_language.index(); },
        [this] { return m_language.table().isLoaded() ? &m_language.table() : nullptr; });
    m_toolWindows = std::make_unique<ToolWindows>(m_factories, m_language);
    new MemoryTrim(60000, this);
    connect(&m_language, &Language::changed, this, [this](int language) {
        if (CVORNEXv13View* v = view()) {
            v->relabel(language);
            m_frame->relabelPresets(language);
        }
        m_toolWindows->relabelAll();
        m_prompter->relabelNotice(language);
    });
}

CVORNEXv13App::~CVORNEXv13App() {
    m_toolWindows.reset();
    m_progress.reset();
    delete m_frame.data();
    m_context.reset();
}

bool CVORNEXv13App::InitInstance(const QString& file, bool show) {
    m_language.set(m_settings->language());
    m_progress =
        std::make_unique<SyncProgress>(m_language, *m_prompter, m_options.syncDialogTimeoutMs);
    m_frame = new CMainFrame(*this);
    m_frame->setAttribute(Qt::WA_DeleteOnClose, false);
    m_prompter->setWindow(m_frame);
    m_progress->setWindow(m_frame);
    CVORNEXv13View& v = m_frame->view();
    m_context = std::make_unique<PageContext>(*m_image, *m_session, *m_prompter, m_language, v,
                                              m_copySource, v.connection());
    m_toolWindows->setContext(m_context.get(), m_frame);
    v.initialise(*m_context);
    if (!file.isEmpty()) {
        OpenDocumentFile(file);
    }
    if (show) {
        m_frame->show();
    }
    return true;
}

void CVORNEXv13App::ExitInstance(bool mayShowWindows) {
    m_toolWindows->closeAll();
    if (CInfoDlg* notice = noticeWindow()) {
        notice->close();
    }
    QString error;
    if (!m_session->saveEmulatorState(&error)) {
        m_exitStatus = 1;
        const QString text = text::kEmulatorStateNotSaved.pick(m_language.index()) + error;
        std::fprintf(stderr, "quilo: %s\n", text.toLocal8Bit().constData());
        if (mayShowWindows) {
            m_prompter->message(m_frame, Prompter::Icon::Warning, QStringLiteral("QUILO"), text);
        }
    }
    m_settings->sync();
}

CMainFrame* CVORNEXv13App::mainFrame() const {
    return m_frame.data();
}

CVORNEXv13View* CVORNEXv13App::view() const {
    return m_frame ? &m_frame->view() : nullptr;
}

SyncProgressDialog* CVORNEXv13App::syncDialog() const {
    return m_progress ? m_progress->dialog() : nullptr;
}

void CVORNEXv13App::OpenDocumentFile(const QString& path) {
    if (view() != nullptr) {
        view()->documents().open(path);
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

void CVORNEXv13App::applyLanguage() {
    m_language.set(m_language.index());
}

void CVORNEXv13App::setLanguage(int language) {
    m_settings->setLanguage(language == kEnglish ? kEnglish : kChinese);
    m_language.set(language);
}

void CVORNEXv13App::toggleLanguage() {
    setLanguage(1 - m_language.index());
}

// ---------------------------------------------------------------- windows

void CVORNEXv13App::setPrompter(std::unique_ptr<Prompter> prompter) {
    m_prompter = std::move(prompter);
}

void CVORNEXv13App::showAbout() {
    CVORNEXv13View* v = view();
    ConnectionController* c = v != nullptr ? &v->connection() : nullptr;
    AboutBox about(m_frame, language(), &m_image->info, connected(),
                   c != nullptr && c->peakEnabled(), [c](bool on) {
                       if (c != nullptr) {
                           c->setPeakEnabled(on);
                       }
                   });
    about.exec();
}

void CVORNEXv13App::setPageFactory(PageKind kind, WindowFactories::PageFactory factory) {
    m_factories.setPage(kind, std::move(factory));
}

void CVORNEXv13App::setToolWindowFactory(ToolWindowId id, WindowFactories::ToolFactory factory) {
    m_factories.setTool(id, std::move(factory));
}

} // namespace quilo
