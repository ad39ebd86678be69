#include "app/ConnectionController.h"

#include "app/DeviceSession.h"
#include "device/PermissionProblem.h"
#include "device/ReportBuilder.h"
#include "model/InboundDispatcher.h"
#include "model/Synchroniser.h"
#include "smarthome/SmartHome.h"
#include "ui/Language.h"
#include "ui/Prompter.h"
#include "ui/SyncProgress.h"
#include "ui/Texts.h"

#include <QApplication>
#include <QEvent>
#include <QSystemTrayIcon>
#include <QWidget>

namespace quilo {

namespace {
constexpr std::uint8_t kResetMachineKey = 0xAA;
constexpr int kRestartNoticeMs = 2000;
} // namespace

ConnectionController::ConnectionController(DeviceSession& session, DeviceImage& image,
                                           SyncProgress& progress, Language& language,
                                           Prompter& prompter, QWidget& window,
                                           ConnectionTimings timings)
    : m_session(session), m_image(image), m_progress(progress), m_language(language),
      m_prompter(prompter), m_window(window), m_timings(timings), m_peakOff(session.polling()) {
    m_connectTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, &ConnectionController::connectAtStart);
    connect(&m_poll, &QTimer::timeout, this, &ConnectionController::pollStatus);
    connect(&m_session, &DeviceSession::deviceArrived, this,
            &ConnectionController::onDeviceArrival);
    connect(&m_session, &DeviceSession::deviceRemoved, this,
            &ConnectionController::onDeviceRemoval);
    connect(&m_session, &DeviceSession::syncDone, this, &ConnectionController::onSyncDone);
    connect(&m_session, &DeviceSession::imageReturned, this,
            &ConnectionController::onImageReturned);
    // A failed read or write is a lost processor, removal event or not; it is
    // opened again when it is found again.
    connect(&m_session, &DeviceSession::readFailed, this, [this] {
        if (m_session.linkOpen()) {
            m_session.closeLink(false);
            lostProcessor();
        }
    });
    connect(&m_session, &DeviceSession::parameterError, this,
            [this](int code, int module, int param) {
                m_prompter.message(&m_window, Prompter::Icon::Error,
                                   QString::fromUtf8(kParameterErrorCaption),
                                   QString::fromStdString(parameterErrorText(code, module, param)));
            });
    connect(&m_progress, &SyncProgress::timedOut, this, [this] {
        // The run goes on and keeps the image: nothing may edit it meanwhile.
        if (!m_image.mainThreadOwns()) {
            holdInput(true);
        }
    });
}

ConnectionController::~ConnectionController() {
    holdInput(false);
    m_tray.remove();
}

void ConnectionController::start() {
    m_connectTimer.start(m_timings.connectDelayMs);
}

void ConnectionController::connectAtStart() {
    const bool opened = !m_session.linkOpen() && m_session.openLink();
    if (opened) {
        m_permissionPath.clear();
        announce(kConnectedBalloonMs);
    }
    m_startAttempted = true;
    emit startAttemptDone(m_session.linkOpen());
    // After whatever waited for the attempt, so that a missing permission is the
    // last word.
    if (!m_session.linkOpen()) {
        reportFailedSearch();
    }
}

void ConnectionController::reportFailedSearch() {
    if (const auto& owner = m_session.connection().heldBy()) {
        // Another program talks to this processor; this one keeps out of its way.
        const int lang = m_language.index();
        m_prompter.notice(
            text::kProcessorInUse.pick(lang).arg(QString::fromStdString(ownerText(*owner))),
            kPermissionMessageMs);
        return;
    }
    const SearchResult search = m_session.lastSearch();
    if (search.outcome != SearchResult::Outcome::PermissionDenied) {
        if (!m_permissionPath.isEmpty()) {
            m_permissionPath.clear();
            emit indicatorsChanged();
        }
        return;
    }
    const QString path = QString::fromStdString(search.path);
    if (path == m_permissionPath) {
        return; // said already; another interface of it, or another device, arrived
    }
    m_permissionPath = path;
    const int lang = m_language.index();
    const QString text = QString::fromStdString(permissionProblemText(lang, search.path));
    m_tray.show(text::kInformation.pick(lang), text, kPermissionMessageMs);
    // Without a tray the balloon is never seen.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        m_prompter.notice(text, kPermissionMessageMs);
    }
    emit indicatorsChanged();
}

void ConnectionController::announce(int balloonMs) {
    const int lang = m_language.index();
    m_tray.show(text::kInformation.pick(lang), text::kConnectedBalloon.pick(lang), balloonMs);
    m_announced = true;
    startPull();
    m_poll.start(m_timings.pollIntervalMs);
    emit indicatorsChanged();
}

void ConnectionController::onDeviceArrival(const QString&) {
    if (m_session.openLink()) {
        m_permissionPath.clear();
        emit arrived();
        announce(kArrivalBalloonMs);
    } else if (!m_session.linkOpen()) {
        reportFailedSearch();
    }
}

void ConnectionController::onDeviceRemoval(const QString& path) {
    if (!m_permissionPath.isEmpty() && path == m_permissionPath) {
        // The processor it could not open is gone; plugged in again it is tried anew.
        m_permissionPath.clear();
        emit indicatorsChanged();
        return;
    }
    if (m_session.interfaceRemoved(path)) {
        lostProcessor();
    }
}

void ConnectionController::lostProcessor() {
    m_poll.stop();
    const int lang = m_language.index();
    m_tray.show(text::kInformation.pick(lang), text::kDisconnectedBalloon.pick(lang),
                kRemovedBalloonMs);
    emit indicatorsChanged();
}

void ConnectionController::startPull(const QString& dialogText) {
    emit syncStarted();
    m_lastSyncRun = m_session.sync().startPull();
    m_progress.show(dialogText);
}

void ConnectionController::startPush() {
    emit syncStarted();
    m_lastSyncRun = m_session.sync().startPush();
    m_progress.show();
}

void ConnectionController::onSyncDone(int, quint64 run) {
    if (run < m_lastSyncRun) {
        return; // an older run that finished just before a newer one started
    }
    m_progress.close();
    const int lang = m_language.index();
    const IdentityVerdict verdict = checkIdentity(m_image);
    if (verdict == IdentityVerdict::Ok) {
        emit synchronised();
        emit indicatorsChanged();
        return;
    }
    // The worker has let the processor go already.
    const QString message =
        (verdict == IdentityVerdict::ModelMismatch ? text::kModelMismatch : text::kProtocolMismatch)
            .pick(lang);
    m_session.closeLink(true);
    m_poll.stop();
    emit indicatorsChanged();
    if (m_mismatchBoxAllowed) {
        m_mismatchBoxAllowed = false;
        m_prompter.message(&m_window, Prompter::Icon::Error, text::kError.pick(lang), message);
        m_mismatchBoxAllowed = true;
    }
}

void ConnectionController::onImageReturned() {
    if (!m_image.mainThreadOwns()) {
        return; // a newer run took it again meanwhile
    }
    holdInput(false);
    if (m_closePending) {
        m_closePending = false;
        m_progress.close();
        emit closeRequested();
    }
}

void ConnectionController::pollStatus() {
    // A processor that stops answering must not make the polls pile up.
    if (m_session.polling().open() && m_session.linkOpen() && m_session.writer().queued() == 0) {
        m_session.uiSink().send(buildCommand(Command::PollStatus));
    }
}

void ConnectionController::resetMachine() {
    if (!m_session.linkOpen()) {
        return;
    }
    const int lang = m_language.index();
    if (m_prompter.askYesNo(&m_window, text::kPrompt.pick(lang),
                            text::kResetMachineAsk.pick(lang))) {
        m_session.uiSink().send(buildCommand(Command::ResetMachine, {kResetMachineKey}));
        m_prompter.notice(text::kPleaseRestart.pick(lang), kRestartNoticeMs);
    }
}

bool ConnectionController::readyToClose() {
    if (m_image.mainThreadOwns()) {
        return true;
    }
    m_closePending = true;
    m_session.sync().cancel();
    // The run's write waiting for a processor that does not answer goes ahead at
    // once, so the image comes back without waiting out the pacing.
    m_session.link().releasePacing();
    return false;
}

void ConnectionController::closeForExit() {
    m_poll.stop();
    m_connectTimer.stop();
    m_session.sync().cancel();
    // A scene or plug synchronisation still running stops before the goodbye.
    if (SmartHome* home = m_session.smartHome()) {
        home->workers().requestStop();
    }
    // What the user did last (storing into a mode, say) goes out before the goodbye.
    m_session.closeForExit();
}

void ConnectionController::holdInput(bool hold) {
    if (hold == m_inputHeld) {
        return;
    }
    m_inputHeld = hold;
    if (hold) {
        qApp->installEventFilter(this);
    } else {
        qApp->removeEventFilter(this);
    }
}

bool ConnectionController::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu: {
        // Message boxes shown meanwhile still take their answers.
        auto* widget = qobject_cast<QWidget*>(watched);
        QWidget* modal = QApplication::activeModalWidget();
        return widget != nullptr &&
               !(modal != nullptr && (widget == modal || modal->isAncestorOf(widget)));
    }
    default:
        return false;
    }
}

} // namespace quilo
