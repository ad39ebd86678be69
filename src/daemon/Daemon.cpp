#include "daemon/Daemon.h"

#include "device/DeviceWatcher.h"
#include "device/ReportBuilder.h"
#include "model/FieldSetters.h"
#include "model/ModeFile.h"
#include "smarthome/PlugFrames.h"
#include "smarthome/SmartHome.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>

namespace quilo {

namespace {

constexpr int kPollMs = 300;
constexpr int kEnglish = 1; // the language of what a client is told

ConnectionOptions connectionOptions(const Daemon::Options& options) {
    ConnectionOptions c;
    c.emulate = options.emulate;
    c.emulatorFile = QFile::encodeName(options.emulatorFile).toStdString();
    c.trace = options.trace;
    if (options.emulate) {
        // The emulated processor answers at once; nothing to wait for.
        using std::chrono::milliseconds;
        c.syncTimings = {milliseconds(0), milliseconds(0), milliseconds(0),
                         milliseconds(0), milliseconds(0), milliseconds(0)};
        c.smartHomeTimings.syncSettle = milliseconds(0);
    }
    c.plugFolder =
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                          QStringLiteral("/Plug"))
            .toStdString();
    c.ownerName = "quilod";
    return c;
}

} // namespace

Daemon::Daemon(const Options& options, QObject* parent) : QObject(parent) {
    m_image.resetToDefaults();
    m_connection = std::make_unique<ProcessorConnection>(
        m_image, connectionOptions(options),
        [this](std::function<void()> call) { m_poster.post(std::move(call)); },
        static_cast<ConnectionEvents&>(*this));
    m_plugTimeout.setSingleShot(true);
    connect(&m_plugTimeout, &QTimer::timeout, this, [this] {
        if (m_plugDone) {
            std::exchange(m_plugDone, {})(
                "no end of send from the Z-Wave module within " +
                std::to_string(m_connection->smartHome().workers().timings().ackTimeout().count() /
                               1000) +
                " s");
        }
    });
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &Daemon::pollStatus);
}

Daemon::~Daemon() {
    delete m_watchNotifier;
    m_watcher.reset();
    m_connection.reset();
}

QString Daemon::refusal() const {
    if (const auto& owner = m_connection->heldBy()) {
        return QStringLiteral("the processor is in use by %1")
            .arg(QString::fromStdString(ownerText(*owner)));
    }
    if (!m_connection->emulatorLoadError().empty()) {
        return QStringLiteral("emulator file %1: %2")
            .arg(QString::fromStdString(m_connection->emulatorFile().string()),
                 QString::fromStdString(m_connection->emulatorLoadError()));
    }
    return {};
}

void Daemon::start() {
    if (!m_connection->emulated()) {
        watchHotPlug();
    }
    tryOpen();
}

void Daemon::tryOpen() {
    if (m_connection->linkOpen() || !m_connection->openLink()) {
        return;
    }
    m_connection->sync().startPull();
}

void Daemon::watchHotPlug() {
    m_watcher = std::make_unique<DeviceWatcher>(m_connection->log());
    m_watcher->setArrivalCallback([this](const std::string&) { tryOpen(); });
    m_watcher->setRemovalCallback([this](const std::string& path) {
        if (m_connection->interfaceRemoved(path)) {
            m_poll.stop();
        }
    });
    if (!m_watcher->start()) {
        m_watcher.reset();
        return;
    }
    m_watchNotifier = new QSocketNotifier(m_watcher->fd(), QSocketNotifier::Read, this);
    connect(m_watchNotifier, &QSocketNotifier::activated, this, [this] { m_watcher->process(); });
}

void Daemon::syncDone(SyncRunner::Direction direction, std::uint64_t run) {
    if (m_longRun && m_longRun->run == run) {
        finishLongRun();
    }
    if (direction != SyncRunner::Direction::Pull || !m_connection->linkOpen()) {
        return;
    }
    // This end may be told after a newer run took the image: that run's end does what
    // follows a read-back, and the image is not this thread's to look at now.
    if (!m_image.mainThreadOwns()) {
        return;
    }
    if (checkIdentity(m_image) != IdentityVerdict::Ok) {
        return; // the run has let it go already
    }
    m_connection->smartHome().syncPlugsAsync();
    m_poll.start();
}

void Daemon::readFailed() {
    m_poll.stop();
    m_connection->closeLink(false);
}

void Daemon::pollStatus() {
    // A processor that stops answering must not make the polls pile up.
    if (m_connection->polling().open() && m_connection->linkOpen() &&
        m_connection->writer().queued() == 0) {
        m_connection->writer().send(buildCommand(Command::PollStatus));
    }
}

bool Daemon::busy() const {
    return m_longRun.has_value() || m_sceneDone || m_plugDone || m_connection->sync().busy() ||
           !m_image.mainThreadOwns();
}

ServiceBackend::LongStart Daemon::runScene(int scene, Done done) {
    if (busy()) {
        return LongStart::Busy;
    }
    if (!m_connection->smartHome().runSceneAsync(scene)) {
        return LongStart::Busy; // a smart-home worker is still at work
    }
    m_sceneDone = std::move(done);
    return LongStart::Started;
}

ServiceBackend::LongStart Daemon::setPlug(int id, int value, Done done) {
    if (busy()) {
        return LongStart::Busy;
    }
    if (!m_connection->linkOpen()) {
        done("no processor is connected");
        return LongStart::Started;
    }
    m_plugId = id;
    m_plugValue = value;
    m_plugCallback = basicSetCallback(value);
    m_plugDone = std::move(done);
    m_connection->smartHome().commands().sendFrame(buildSendBasicSet(id, value));
    m_plugTimeout.start(
        static_cast<int>(m_connection->smartHome().workers().timings().ackTimeout().count()));
    return LongStart::Started;
}

void Daemon::zwaveEvent(const ZwaveEvent& event) {
    if (!m_plugDone || event.function != zwave_function::kSendDone ||
        event.high() != m_plugCallback) {
        return;
    }
    m_plugTimeout.stop();
    if (event.low() == 0) {
        // As a scene's step does: the table holds what the plug was last told.
        m_connection->smartHome().table().setLastValue(m_plugId,
                                                       static_cast<std::uint8_t>(m_plugValue));
    }
    std::exchange(m_plugDone, {})(event.low() == 0 ? std::string()
                                                   : "plug " + std::to_string(m_plugId) +
                                                         " did not acknowledge the command");
}

void Daemon::workerNotice(WorkerNotice notice) {
    if (notice == WorkerNotice::SceneFinished && m_sceneDone) {
        std::exchange(m_sceneDone, {})({});
    }
}

ServiceBackend::LongStart Daemon::pull(const std::string& path, Done done) {
    if (busy()) {
        return LongStart::Busy;
    }
    m_longRun = LongRun{m_connection->sync().startPull(), SyncRunner::Direction::Pull, path,
                        std::move(done)};
    return LongStart::Started;
}

ServiceBackend::LongStart Daemon::push(const std::string& path, Done done, std::string* problem) {
    if (busy()) {
        return LongStart::Busy;
    }
    // A bad file is refused before anything of it reaches the image.
    auto read = std::make_unique<DeviceImage>();
    read->resetToDefaults();
    if (const ModeFileResult r = readModeFile(path, *read); !r.ok()) {
        *problem = modeFileErrorText(r, path, kEnglish);
        return LongStart::Refused;
    }
    applyModeContent(captureModeContent(*read), m_image);
    m_longRun = LongRun{m_connection->sync().startPush(), SyncRunner::Direction::Push, path,
                        std::move(done)};
    return LongStart::Started;
}

ServiceBackend::LongStart Daemon::recallMode(int mode, Done done) {
    if (busy()) {
        return LongStart::Busy;
    }
    // As the ribbon's LoadMode: the processor switches, then everything is read
    // back; the read-back starts once the switch has gone out.
    m_image.currentMode = mode;
    m_connection->writer().send(buildCommand(Command::LoadMode, {static_cast<std::uint8_t>(mode)}));
    m_longRun = LongRun{0, SyncRunner::Direction::Pull, {}, std::move(done)};
    whenWritten([this] { m_longRun->run = m_connection->sync().startPull(); });
    return LongStart::Started;
}

ServiceBackend::LongStart Daemon::storeMode(int mode, Done done) {
    if (busy()) {
        return LongStart::Busy;
    }
    if (!m_connection->linkOpen()) {
        done("no processor is connected");
        return LongStart::Started;
    }
    m_image.settingsChanged = 0;
    m_image.currentMode = mode;
    m_connection->writer().send(buildCommand(Command::SaveMode, {static_cast<std::uint8_t>(mode)}));
    // Answered once the writer has written it (and what was queued before it).
    whenWritten([this, done = std::move(done)] {
        done(m_connection->linkOpen() ? std::string() : "the processor went away");
    });
    return LongStart::Started;
}

void Daemon::whenWritten(std::function<void()> then) {
    auto* written = new QTimer(this);
    written->setInterval(5);
    connect(written, &QTimer::timeout, this, [this, written, then = std::move(then)] {
        if (m_connection->linkOpen() && m_connection->writer().queued() > 0) {
            return;
        }
        written->deleteLater();
        then();
    });
    written->start();
}

void Daemon::finishLongRun() {
    LongRun run = std::move(*m_longRun);
    m_longRun.reset();
    std::string problem;
    if (!m_connection->linkOpen() || checkIdentity(m_image) != IdentityVerdict::Ok) {
        problem = "the processor went away or is not one this program can talk to";
    } else if (run.direction == SyncRunner::Direction::Pull && !run.path.empty()) {
        if (const ModeFileResult r = writeModeFile(run.path, m_image); !r.ok()) {
            problem = modeFileErrorText(r, run.path, kEnglish);
        }
    }
    run.done(problem);
}

std::string Daemon::setField(const FieldRef& field, double value, const QString&) {
    FieldSetters setters(m_image, m_connection->writer());
    return setNamedField(setters, field, value);
}

bool Daemon::stop(QString* problem) {
    m_poll.stop();
    m_connection->closeForExit();
    std::string error;
    if (!m_connection->saveEmulatorState(&error)) {
        if (problem) {
            *problem = QString::fromStdString(error);
        }
        return false;
    }
    return true;
}

} // namespace quilo
