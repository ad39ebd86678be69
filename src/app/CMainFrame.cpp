#include "app/CMainFrame.h"

#include "app/AppIcons.h"
#include "app/CMFCMyRibbonStatusBar.h"
#include "app/CMyMFCRibbonBar.h"
#include "app/CVORNEXv13App.h"
#include "app/CVORNEXv13View.h"
#include "app/CommandActions.h"
#include "app/SpeakerPresets.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QStatusTipEvent>

namespace quilo {

CMainFrame::CMainFrame(CVORNEXv13App& app) : m_app(app) {
    setObjectName(QStringLiteral("mainFrame"));
    // Another start finds the running copy by this.
    setProperty("PARVO V1.0", 1);
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(appIcon(AppIcon::Application));
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setMinimumSize(kMinWidth, kMinHeight);
    setAcceptDrops(true);
    m_app.settings().setApplicationLook(AppSettings::kApplicationLook);

    m_commands = new CommandActions(this);
    m_ribbon = new CMyMFCRibbonBar(*m_commands, this);
    setMenuWidget(m_ribbon);
    m_status = new CMFCMyRibbonStatusBar(*m_commands, this);
    setStatusBar(m_status);
    m_view = new CVORNEXv13View(m_app, *m_commands, *m_ribbon, *m_status, this);
    setCentralWidget(m_view);
    m_ribbon->setRecentFiles(m_app.settings().recentFiles());
    relabelPresets(m_app.language());
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::relabelPresets(int language) {
    m_ribbon->setPresetNames(speakerPresetNames(language));
    m_ribbon->setPresetCheck(m_view->modeFiles().chosenPreset());
}

void CMainFrame::bringToFront() {
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data->hasUrls() && !data->urls().isEmpty() && data->urls().constFirst().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.constFirst().isLocalFile()) {
        event->acceptProposedAction();
        const QString path = urls.constFirst().toLocalFile();
        // After the drop has finished: opening may ask questions.
        QMetaObject::invokeMethod(
            this, [this, path] { m_app.OpenDocumentFile(path); }, Qt::QueuedConnection);
    }
}

bool CMainFrame::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        m_status->showHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_closed) {
        event->accept();
        return;
    }
    const bool ready =
        m_questionsAllowed ? m_view->confirmClose() : m_view->connection().readyToClose();
    if (!ready) {
        event->ignore();
        return;
    }
    m_closed = true;
    m_view->closeForExit();
    event->accept();
    m_app.ExitInstance(m_questionsAllowed);
}

void CMainFrame::closeWithoutQuestions() {
    m_questionsAllowed = false;
    close();
}

} // namespace quilo
