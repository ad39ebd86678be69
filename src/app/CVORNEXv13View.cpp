#include "app/CVORNEXv13View.h"

#include "app/CMFCMyRibbonStatusBar.h"
#include "app/CMyMFCRibbonBar.h"
#include "app/CVORNEXv13App.h"
#include "app/CommandActions.h"
#include "app/SettingsCompareDialog.h"
#include "app/ToolWindows.h"
#include "app/TraceToggle.h"
#include "app/WirelessMicText.h"
#include "device/ProtocolTrace.h"
#include "ui/SyncProgress.h"
#include "ui/Texts.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QResizeEvent>

namespace quilo {

using namespace ribbon;

namespace {
constexpr int kIndicatorIntervalMs = 200;
// The first protocol version whose processors have the music automatic level.
constexpr int kMusicAgcProtocol = 9;
} // namespace

CVORNEXv13View::CVORNEXv13View(CVORNEXv13App& app, CommandActions& commands,
                               CMyMFCRibbonBar& ribbon, CMFCMyRibbonStatusBar& status,
                               QWidget* parent)
    : QWidget(parent), m_app(app), m_commands(commands), m_ribbon(ribbon), m_status(status) {
    setObjectName(QStringLiteral("view"));
    setContextMenuPolicy(Qt::PreventContextMenu);
    setMinimumSize(PageHost::kMinWidth, PageHost::kMinHeight);

    DeviceImage& image = app.image();
    DeviceSession& session = app.session();
    Language& language = app.languageState();
    Prompter& prompter = app.prompter();
    QWidget& frame = *parent;
    m_setters = std::make_unique<FieldSetters>(image, session.uiSink());
    m_pages = std::make_unique<PageHost>(*this, app.windowFactories(), language, prompter);
    m_connection = std::make_unique<ConnectionController>(
        session, image, app.syncProgress(), language, prompter, frame,
        ConnectionTimings{app.options().connectDelayMs, app.options().pollIntervalMs});
    m_modeFiles =
        std::make_unique<ModeFileController>(image, session, session.syncTimings(), prompter,
                                             language, app.settings(), *m_connection, frame);
    m_master = std::make_unique<MasterControls>(image, *m_setters, ribbon, language, prompter);
    m_shortcuts = std::make_unique<ShortcutController>(image, session, *m_modeFiles, *m_master,
                                                       *m_pages, commands, prompter, language,
                                                       [this] { return keyboardBlocked(); });
    m_documents = std::make_unique<DocumentOpener>(
        session, image, prompter, language, *m_modeFiles,
        [this](const QString& path) { openRemoteFile(path); }, frame);
    m_undo = std::make_unique<UndoController>(image, session.uiSink());
    if (const ProtocolTrace* trace = app.options().session.trace.get()) {
        commands.action(UserCommand::RecordTrace)->setChecked(trace->isOpen());
    }
    bindCommands();

    connect(&m_ribbon, &CMyMFCRibbonBar::volumeMoved, m_master.get(), &MasterControls::moveVolume);
    connect(&m_ribbon, &CMyMFCRibbonBar::categoryChanged, m_pages.get(),
            &PageHost::categoryChanged);
    connect(&m_ribbon, &CMyMFCRibbonBar::recentFileChosen, m_documents.get(),
            &DocumentOpener::open);

    connect(m_pages.get(), &PageHost::pageChanged, this, &CVORNEXv13View::updateIndicators);
    connect(m_connection.get(), &ConnectionController::indicatorsChanged, this,
            &CVORNEXv13View::updateIndicators);
    connect(m_connection.get(), &ConnectionController::arrived, this, [this] {
        for (ToolWindowId id :
             {ToolWindowId::MachineSettings, ToolWindowId::RemoteLearning, ToolWindowId::SubDecay,
              ToolWindowId::MusicAgc, ToolWindowId::InputSource, ToolWindowId::Features,
              ToolWindowId::SmartPlug}) {
            closeToolWindow(id);
        }
    });
    // A file waiting to be stored into its mode goes first, then everything shows
    // what the processor holds.
    connect(m_connection.get(), &ConnectionController::synchronised, m_modeFiles.get(),
            &ModeFileController::onSynchronised);
    connect(m_connection.get(), &ConnectionController::synchronised, this,
            &CVORNEXv13View::refreshFromImage);
    // A file that waited for the processor comes last: it may start a write-out.
    connect(m_connection.get(), &ConnectionController::synchronised, m_documents.get(),
            &DocumentOpener::onSynchronised);
    connect(m_connection.get(), &ConnectionController::startAttemptDone, m_documents.get(),
            &DocumentOpener::onStartAttempt);
    // A read-back, a mode file or a preset replaces what the steps would take back.
    connect(m_connection.get(), &ConnectionController::syncStarted, m_undo.get(),
            &UndoController::clear);
    connect(m_undo.get(), &UndoController::restored, this, [this] {
        refreshFromImage();
        updateIndicators();
    });
    connect(m_connection.get(), &ConnectionController::closeRequested, this,
            [this] { window()->close(); });
    connect(m_modeFiles.get(), &ModeFileController::modeChanged, this,
            &CVORNEXv13View::updateIndicators);
    connect(m_modeFiles.get(), &ModeFileController::recentFilesChanged, &m_ribbon,
            &CMyMFCRibbonBar::setRecentFiles);
    connect(m_modeFiles.get(), &ModeFileController::presetChosen, &m_ribbon,
            &CMyMFCRibbonBar::setPresetCheck);
    connect(&app.toolWindows(), &ToolWindows::closed, this, [this, &image](ToolWindowId id) {
        // The maximum volumes may have changed: show the master controls again.
        if (id == ToolWindowId::MachineSettings && image.mainThreadOwns()) {
            m_master->refresh();
        }
    });
    connect(&m_indicators, &QTimer::timeout, this, &CVORNEXv13View::updateIndicators);
    // A scene chose an HDMI input: the input source window shows it.
    connect(&session, &DeviceSession::hdmiSelected, this, [this] {
        if (ToolWindow* w = m_app.toolWindow(ToolWindowId::InputSource)) {
            w->refreshFromImage();
        }
    });
}

CVORNEXv13View::~CVORNEXv13View() = default;

void CVORNEXv13View::initialise(PageContext& context) {
    m_app.image().resetToDefaults();
    m_pages->setContext(context);
    m_pages->show(PageKind::MusicMic);
    m_app.applyLanguage();
    m_app.helpFile().ensureExists();
    m_indicators.start(kIndicatorIntervalMs);
    m_connection->start();
}

void CVORNEXv13View::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_pages->layout();
}

void CVORNEXv13View::showPage(PageKind kind, int argument) {
    m_pages->show(kind, argument);
}

void CVORNEXv13View::openToolWindow(ToolWindowId id) {
    m_app.toolWindows().open(id);
}

void CVORNEXv13View::openRemoteFile(const QString& path) {
    openToolWindow(ToolWindowId::RemoteLearning);
    if (ToolWindow* remote = m_app.toolWindow(ToolWindowId::RemoteLearning)) {
        remote->openFile(path);
    }
}

void CVORNEXv13View::closeToolWindow(ToolWindowId id) {
    m_app.toolWindows().close(id);
}

void CVORNEXv13View::refreshFromImage() {
    m_master->refresh();
    m_pages->refresh();
    m_app.toolWindows().refreshAll();
}

void CVORNEXv13View::relabel(int language) {
    m_commands.relabel(language);
    m_ribbon.relabel(language);
    m_status.relabel(language);
    m_master->refresh();
    m_pages->relabel();
    updateIndicators();
}

void CVORNEXv13View::updateIndicators() {
    const DeviceImage& image = m_app.image();
    const int lang = m_app.language();
    using Link = CMFCMyRibbonStatusBar::Link;
    const Link link = m_app.session().linkOpen()                        ? Link::Connected
                      : m_connection->permissionProblemPath().isEmpty() ? Link::Disconnected
                                                                        : Link::NoPermission;
    m_status.setConnection(link, m_app.session().emulated(), lang);

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
    m_master->showMutes();
    m_ribbon.setUndoRedo(m_undo->canUndo(), m_undo->canRedo());
    m_ribbon.setMusicAgcShown(image.info.protocolVersion >= kMusicAgcProtocol);
    m_status.setEqControls(m_pages->hasEqualiser(), m_pages->eqSwitch());
}

void CVORNEXv13View::bindCommands() {
    CommandActions& c = m_commands;
    auto tool = [this](ToolWindowId id) { return [this, id](int) { openToolWindow(id); }; };

    c.bind(UserCommand::Undo, [this](int) { m_undo->undo(); });
    c.bind(UserCommand::Redo, [this](int) { m_undo->redo(); });
    c.bind(UserCommand::Features, tool(ToolWindowId::Features));
    c.bind(UserCommand::SubDecay, tool(ToolWindowId::SubDecay));
    c.bind(UserCommand::MusicAgc, [this](int) {
        if (m_app.image().info.protocolVersion >= kMusicAgcProtocol) {
            openToolWindow(ToolWindowId::MusicAgc);
        }
    });
    c.bind(UserCommand::MachineReset, [this](int) { m_connection->resetMachine(); });
    c.bind(UserCommand::SmartPlug, [this](int) {
        if (!m_app.connected()) {
            m_app.prompter().notice(text::kPleaseConnectPlug.pick(m_app.language()));
        }
        openToolWindow(ToolWindowId::SmartPlug);
    });
    c.bind(UserCommand::Remote, [this](int) {
        if (m_app.connected()) {
            openToolWindow(ToolWindowId::RemoteLearning);
        }
    });
    c.bind(UserCommand::PhoneRemote, tool(ToolWindowId::PhoneRemote));
    c.bind(UserCommand::InputSource, tool(ToolWindowId::InputSource));
    c.bind(UserCommand::Language, [this](int) { m_app.toggleLanguage(); });
    c.bind(UserCommand::About, [this](int) { m_app.showAbout(); });

    c.bind(UserCommand::Open, [this](int) { m_modeFiles->openModeFile(); });
    c.bind(UserCommand::Save, [this](int) { m_modeFiles->saveModeFile(); });
    c.bind(UserCommand::CompareFile, [this](int) { compareWithFile(); });
    c.bind(UserCommand::RecordTrace, [this](int) {
        QAction* item = m_commands.action(UserCommand::RecordTrace);
        ProtocolTrace* trace = m_app.options().session.trace.get();
        item->setChecked(trace != nullptr &&
                         toggleTrace(*trace, m_app.prompter(), window(), m_app.language()));
    });
    c.bind(UserCommand::HomeAutomation, tool(ToolWindowId::HomeAutomation));
    c.bind(UserCommand::Exit, [this](int) { window()->close(); });

    c.bind(UserCommand::LoadMode, [this](int mode) { m_modeFiles->loadStoredMode(mode); });
    c.bind(UserCommand::SaveMode, [this](int mode) { m_modeFiles->saveStoredMode(mode); });
    c.bind(UserCommand::KeySaveMode, [this](int mode) { m_modeFiles->saveStoredMode(mode, true); });
    c.bind(UserCommand::Preset, [this](int entry) { m_modeFiles->loadPreset(entry); });
    c.bind(UserCommand::Mute, [this](int m) { m_master->toggleMute(static_cast<Mute>(m)); });
    c.bind(UserCommand::EqSwitch, [this](int) { m_pages->toggleEqSwitch(); });
    c.bind(UserCommand::EqReset, [this](int) { m_pages->resetCurrentEq(); });
    c.bind(UserCommand::MachineSettings, tool(ToolWindowId::MachineSettings));
}

bool CVORNEXv13View::confirmClose() {
    return m_connection->readyToClose() && m_modeFiles->confirmClose();
}

void CVORNEXv13View::closeForExit() {
    m_connection->closeForExit();
    m_connection->tray().remove();
}

void CVORNEXv13View::compareWithFile() {
    const DeviceImage& image = m_app.image();
    if (!image.mainThreadOwns()) {
        return;
    }
    Prompter& prompter = m_app.prompter();
    const QString path =
        prompter.openFileName(window(), QString::fromLatin1(text::kModeFileFilter));
    if (path.isEmpty()) {
        return;
    }
    const int lang = m_app.language();
    ModeFileResult result;
    auto differences = differencesWithFile(image, path, result);
    if (!differences) {
        prompter.message(window(), Prompter::Icon::Warning, text::kInformation.pick(lang),
                         QString::fromStdString(modeFileErrorText(
                             result, QFile::encodeName(path).toStdString(), lang)));
        return;
    }
    SettingsCompareDialog dialog(std::move(*differences), path, m_app.connected(),
                                 m_app.languageState(), window());
    if (dialog.exec() == QDialog::Accepted) {
        m_modeFiles->openModeFileByPath(path);
    }
}

bool CVORNEXv13View::keyboardBlocked() const {
    return m_app.syncProgress().dialog() != nullptr || QApplication::activeModalWidget() != nullptr;
}

} // namespace quilo
