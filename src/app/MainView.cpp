#include "app/MainView.h"

#include "app/Application.h"
#include "app/CSyncDlg.h"
#include "app/RibbonBar.h"
#include "app/StatusBar.h"
#include "app/Texts.h"
#include "app/WirelessMicText.h"
#include "device/InboundDispatcher.h"
#include "device/ReportBuilder.h"
#include "model/Sync.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QResizeEvent>
#include <QThread>

namespace quilo {

using namespace ribbon;

namespace {
constexpr int kIndicatorIntervalMs = 200;
// Longest wait at exit for queued reports (one unanswered report takes 1.8 s).
constexpr int kExitFlushMs = 2500;
} // namespace

CVORNEXv13View::CVORNEXv13View(CVORNEXv13App& app, CMyMFCRibbonBar& ribbon,
                               CMFCMyRibbonStatusBar& status, QWidget* parent)
    : QWidget(parent), m_app(app), m_ribbon(ribbon), m_status(status) {
    setObjectName(QStringLiteral("view"));
    setContextMenuPolicy(Qt::PreventContextMenu);
    setMinimumSize(kMinPageWidth, kMinPageHeight);

    m_connectTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, &CVORNEXv13View::connectAtStart);
    connect(&m_poll, &QTimer::timeout, this, &CVORNEXv13View::pollStatus);
    connect(&m_indicators, &QTimer::timeout, this, &CVORNEXv13View::updateIndicators);

    connect(&m_ribbon, &CMyMFCRibbonBar::command, this, &CVORNEXv13View::onCommand);
    connect(&m_ribbon, &CMyMFCRibbonBar::sliderChanged, this, &CVORNEXv13View::onSliderChanged);
    connect(&m_ribbon, &CMyMFCRibbonBar::categoryChanged, this, &CVORNEXv13View::categoryChanged);
    connect(&m_ribbon, &CMyMFCRibbonBar::recentFileChosen, this,
            &CVORNEXv13View::openModeFileByPath);
    connect(&m_status, &CMFCMyRibbonStatusBar::command, this, &CVORNEXv13View::onCommand);

    DeviceSession& session = m_app.session();
    connect(&session, &DeviceSession::deviceArrived, this, &CVORNEXv13View::onDeviceArrival);
    connect(&session, &DeviceSession::deviceRemoved, this, &CVORNEXv13View::onDeviceRemoval);
    connect(&session, &DeviceSession::syncDone, this, &CVORNEXv13View::onSyncDone);
    connect(&session, &DeviceSession::readFailed, this, [this] { m_poll.stop(); });
    connect(&session, &DeviceSession::learnedKey, this, &CVORNEXv13View::learnedKey);
    connect(&session, &DeviceSession::zwaveReport, this, &CVORNEXv13View::zwaveReport);
    connect(&session, &DeviceSession::parameterError, this,
            [this](int code, int module, int param) {
                m_app.prompter().message(
                    window(), Prompter::Icon::Error, QString::fromUtf8(kParameterErrorCaption),
                    QString::fromStdString(parameterErrorText(code, module, param)));
            });

    qApp->installEventFilter(this);
}

CVORNEXv13View::~CVORNEXv13View() {
    qApp->removeEventFilter(this);
    m_tray.remove();
}

void CVORNEXv13View::initialise() {
    m_app.image().resetToDefaults();
    if (CPage* page = m_app.createPage(CPage::Kind::MusicMic, this)) {
        setPage(page);
    }
    m_app.applyLanguage();
    m_app.helpFile().ensureExists();
    m_indicators.start(kIndicatorIntervalMs);
    m_connectTimer.start(m_app.options().connectDelayMs);
}

// ---------------------------------------------------------------- page area

void CVORNEXv13View::setPage(CPage* page) {
    CPage* old = m_page;
    m_page = page;
    if (page != nullptr) {
        page->setParent(this);
        m_app.applyTable(page, page->templateId());
        page->applyLanguage(m_app.language());
        page->refreshFromImage();
        layoutPage();
        page->show();
    }
    if (old != nullptr && old != page) {
        old->hide();
        old->deleteLater();
    }
    updateIndicators();
}

void CVORNEXv13View::layoutPage() {
    if (m_page != nullptr) {
        m_page->setGeometry(0, 0, std::max(width(), kMinPageWidth),
                            std::max(height(), kMinPageHeight));
    }
}

void CVORNEXv13View::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPage();
}

void CVORNEXv13View::categoryChanged(int category) {
    const CPage::Kind wanted = category == kOutput ? CPage::Kind::Output : CPage::Kind::MusicMic;
    if (m_page != nullptr && m_page->kind() == wanted) {
        m_page->reselect();
        return;
    }
    if (CPage* page = m_app.createPage(wanted, this)) {
        setPage(page);
    }
}

// ---------------------------------------------------------------- connection

void CVORNEXv13View::connectAtStart() {
    if (!m_app.session().linkOpen() && m_app.session().openLink()) {
        announceConnection(kConnectedBalloonMs);
    }
}

void CVORNEXv13View::announceConnection(int balloonMs) {
    const int lang = m_app.language();
    m_tray.show(text::kInformation.pick(lang), text::kConnectedBalloon.pick(lang), balloonMs);
    announced = true;
    startPull();
    m_poll.start(m_app.options().pollIntervalMs);
    updateIndicators();
}

void CVORNEXv13View::onDeviceArrival(const QString&) {
    if (m_app.session().openLink()) {
        closeToolWindowsForArrival();
        announceConnection(kArrivalBalloonMs);
    }
}

void CVORNEXv13View::closeToolWindowsForArrival() {
    for (ToolWindowId id :
         {ToolWindowId::MachineSettings, ToolWindowId::RemoteLearning, ToolWindowId::SubDecay,
          ToolWindowId::MusicAgc, ToolWindowId::InputSource, ToolWindowId::Features,
          ToolWindowId::SmartPlug}) {
        m_app.closeToolWindow(id);
    }
}

void CVORNEXv13View::onDeviceRemoval(const QString& path) {
    if (!m_app.session().interfaceRemoved(path)) {
        return;
    }
    m_poll.stop();
    const int lang = m_app.language();
    m_tray.show(text::kInformation.pick(lang), text::kDisconnectedBalloon.pick(lang),
                kRemovedBalloonMs);
    updateIndicators();
}

void CVORNEXv13View::startPull(const QString& dialogText) {
    m_lastSyncRun = m_app.session().sync().startPull();
    m_app.showSyncDialog(dialogText);
}

void CVORNEXv13View::startPush() {
    m_lastSyncRun = m_app.session().sync().startPush();
    m_app.showSyncDialog();
}

void CVORNEXv13View::onSyncDone(int, quint64 run) {
    if (run < m_lastSyncRun) {
        return; // an older run that finished just before a newer one started
    }
    m_app.closeSyncDialog();
    const int lang = m_app.language();
    const IdentityVerdict verdict = checkIdentity(m_app.image());
    if (verdict == IdentityVerdict::Ok) {
        if (m_app.pendingModeSlot != -1) {
            Synchroniser(m_app.image(), m_app.sink(), m_app.session().syncTimings())
                .storeIntoMode(m_app.pendingModeSlot);
            m_app.pendingModeSlot = -1;
        }
        refreshFromImage();
        updateIndicators();
        return;
    }
    const QString message =
        (verdict == IdentityVerdict::ModelMismatch ? text::kModelMismatch : text::kProtocolMismatch)
            .pick(lang);
    m_app.session().closeLink(true);
    m_poll.stop();
    updateIndicators();
    if (mismatchBoxAllowed) {
        mismatchBoxAllowed = false;
        m_app.prompter().message(window(), Prompter::Icon::Error, text::kError.pick(lang), message);
        mismatchBoxAllowed = true;
    }
}

void CVORNEXv13View::pollStatus() {
    DeviceSession& s = m_app.session();
    // A processor that stops answering must not make the polls pile up.
    if (s.pollingAllowed() && s.linkOpen() && m_peakEnabled && s.writer().queued() == 0) {
        s.uiSink().send(buildCommand(Command::PollStatus));
    }
}

void CVORNEXv13View::closeLinkForExit() {
    m_poll.stop();
    m_connectTimer.stop();
    DeviceSession& session = m_app.session();
    session.sync().cancel();
    if (session.linkOpen()) {
        // What the user did last (storing into a mode, say) goes out before the
        // goodbye: a marker at the end of the queue shows when all before it has.
        session.writer().pause(std::chrono::milliseconds(0));
        QElapsedTimer waited;
        waited.start();
        while (session.writer().queued() > 0 && waited.elapsed() < kExitFlushMs) {
            QThread::msleep(5);
        }
    }
    session.closeLink(true);
}

// ---------------------------------------------------------------- refresh

void CVORNEXv13View::refreshFromImage() {
    refreshMasterControls();
    if (m_page != nullptr) {
        m_page->refreshFromImage();
    }
    for (CToolWindow* w : m_app.openToolWindows()) {
        w->refreshFromImage();
    }
}

void CVORNEXv13View::applyLanguage(int language) {
    m_ribbon.relabel(language);
    m_status.relabel(language);
    refreshMasterControls();
    if (m_page != nullptr) {
        m_app.applyTable(m_page, m_page->templateId());
        m_page->applyLanguage(language);
    }
    updateIndicators();
}

void CVORNEXv13View::updateIndicators() {
    DeviceImage& image = m_app.image();
    const int lang = m_app.language();
    m_status.setConnection(m_app.session().linkOpen(), m_app.session().emulated(), lang);

    const LiveStatusBytes status = image.liveStatus.load();
    for (int mic = 0; mic < 2; ++mic) {
        const WirelessMicLines lines = wirelessMicLines(status, mic, lang);
        m_ribbon.setStatusLine(mic, 0, QString::fromStdString(lines.rfAf));
        m_ribbon.setStatusLine(mic, 1, QString::fromStdString(lines.frequency));
        m_ribbon.setStatusLine(mic, 2, QString::fromStdString(lines.battery));
    }
    // The rest is read from the image, which a synchronisation run may be filling.
    if (!image.mainThreadOwns()) {
        return;
    }

    static constexpr BiText kModeLabels[4] = {
        {"模式一", "Mode1"}, {"模式二", "Mode2"}, {"模式三", "Mode3"}, {"模式四", "Mode4"}};
    int mode = image.currentMode.load();
    if (mode < 1 || mode > 3) {
        mode = 0;
    }
    m_status.setModeText(text::kCurrentMode.pick(lang)
                             .arg(kModeLabels[mode].pick(lang))
                             .arg(QString::fromStdU16String(image.modeNames[mode])));
    m_ribbon.setModeCheck(image.currentMode.load());

    const DspParams& p = image.params;
    m_ribbon.setMutePair(Mute::Mic, p.micMute != 0);
    m_ribbon.setMutePair(Mute::Reverb, p.reverbMute != 0);
    m_ribbon.setMutePair(Mute::Echo, p.echoMute != 0);
    m_ribbon.setMutePair(Mute::Music, p.musicMute != 0);

    const bool eq = m_page != nullptr && m_page->hasEqualiser();
    m_status.setEqControls(eq, eq && m_page->eqSwitch());
}

// ---------------------------------------------------------------- commands

void CVORNEXv13View::onCommand(int id) {
    for (int m = 0; m < kMuteCount; ++m) {
        if (id == kMuteIds[m][0] || id == kMuteIds[m][1]) {
            toggleMute(static_cast<Mute>(m));
            return;
        }
    }
    if (id >= kLoadMode1 && id < kLoadMode1 + 4) {
        loadStoredMode(id - kLoadMode1);
        return;
    }
    if (id >= kSaveMode1 && id < kSaveMode1 + 4) {
        saveStoredMode(id - kSaveMode1);
        return;
    }
    if (id >= 32823 && id <= 32826) {
        resetStoredMode(id - 32823);
        return;
    }
    if (id >= kPreset1 && id < kPreset1 + kPresetCount) {
        loadPreset(id - kPreset1);
        return;
    }
    if (id == kLoadFileIds[0] || id == kLoadFileIds[1] || id == kOpen) {
        openModeFile();
        return;
    }
    if (id == kSaveFileIds[0] || id == kSaveFileIds[1] || id == kSave) {
        saveModeFile();
        return;
    }
    const int lang = m_app.language();
    switch (id) {
    case kEqBypass:
        toggleEqSwitch();
        break;
    case kEqReset:
        resetCurrentEq();
        break;
    case kMachineReset:
        resetMachine();
        break;
    case kLanguage:
        m_app.toggleLanguage();
        break;
    case kAbout:
        m_app.showAbout();
        break;
    case kExit:
        window()->close();
        break;
    case kFeatures:
        m_app.openToolWindow(ToolWindowId::Features);
        break;
    case kSubDecay:
        m_app.openToolWindow(ToolWindowId::SubDecay);
        break;
    case kMusicAgc:
        if (m_app.image().info.protocolVersion >= 9) {
            m_app.openToolWindow(ToolWindowId::MusicAgc);
        }
        break;
    case kInputSource:
        m_app.openToolWindow(ToolWindowId::InputSource);
        break;
    case kRemote:
        if (m_app.connected()) {
            m_app.openToolWindow(ToolWindowId::RemoteLearning);
        }
        break;
    case kSmartPlug:
        if (!m_app.connected()) {
            m_app.showNotice(text::kPleaseConnectPlug.pick(lang));
        }
        m_app.openToolWindow(ToolWindowId::SmartPlug);
        break;
    default:
        break;
    }
}

void CVORNEXv13View::toggleEqSwitch() {
    if (m_page != nullptr && m_page->hasEqualiser()) {
        m_page->toggleEqSwitch();
    }
    updateIndicators();
}

void CVORNEXv13View::resetCurrentEq() {
    if (m_page == nullptr || !m_page->hasEqualiser()) {
        return;
    }
    const int lang = m_app.language();
    if (m_app.prompter().askYesNo(window(), text::kPrompt.pick(lang),
                                  text::kResetEqAsk.pick(lang))) {
        m_page->resetCurrentEq();
        m_page->refreshFromImage();
    }
    updateIndicators();
}

void CVORNEXv13View::resetMachine() {
    if (!m_app.connected()) {
        return;
    }
    const int lang = m_app.language();
    if (m_app.prompter().askYesNo(window(), text::kPrompt.pick(lang),
                                  text::kResetMachineAsk.pick(lang))) {
        m_app.sink().send(buildCommand(Command::ResetMachine, {0xAA}));
        m_app.showNotice(text::kPleaseRestart.pick(lang), 2000);
    }
}

bool CVORNEXv13View::keyboardBlocked() const {
    return m_app.syncDialog() != nullptr || QApplication::activeModalWidget() != nullptr;
}

} // namespace quilo
