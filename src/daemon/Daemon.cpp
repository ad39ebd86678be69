#include "daemon/Daemon.h"

#include "device/DeviceWatcher.h"
#include "device/ReportBuilder.h"
#include "model/EqImport.h"
#include "model/FieldSetters.h"
#include "model/ModeFile.h"
#include "smarthome/PlugFrames.h"
#include "smarthome/SmartHome.h"

#include <QDir>

#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <array>

namespace quilo {

namespace {

constexpr int kPollMs = 300;

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
    m_calls = std::make_unique<LongCalls>(
        *m_connection, m_image,
        LongCalls::Runs{[this] { return m_connection->sync().startPull(); },
                        [this] { return m_connection->sync().startPush(); }});
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &Daemon::pollStatus);
}

Daemon::~Daemon() {
    delete m_watchNotifier;
    m_watcher.reset();
    m_calls.reset();
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
    m_calls->syncDone(run);
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

void Daemon::zwaveEvent(const ZwaveEvent& event) {
    m_calls->zwaveEvent(event);
}

void Daemon::workerNotice(WorkerNotice notice) {
    m_calls->workerNotice(notice);
}

std::string Daemon::setField(const FieldRef& field, double value, const QString&) {
    FieldSetters setters(m_image, m_connection->writer());
    return setNamedField(setters, field, value);
}

std::string Daemon::applyEq(int eqId, const std::string& text, const QString&) {
    const std::array<int, 1> target{eqId};
    const EqImportResult result = importEqFilterText(text, target, m_image, m_connection->writer());
    return result.refusal ? englishText(*result.refusal) : std::string();
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
