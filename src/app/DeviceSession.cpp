#include "app/DeviceSession.h"

#include "device/DeviceWatcher.h"
#include "device/ProtocolTrace.h"
#include "emulator/Emulator.h"
#include "smarthome/SmartHome.h"

#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <filesystem>
#include <utility>

namespace quilo {

// What the connection tells, already on this thread, as the session's signals.
class DeviceSession::Events : public ConnectionEvents {
public:
    explicit Events(DeviceSession& session) : m_session(session) {}

    void learnedKey(int code) override { emit m_session.learnedKey(code); }
    void parameterError(int code, int module, int param) override {
        emit m_session.parameterError(code, module, param);
    }
    void readFailed() override { emit m_session.readFailed(); }
    void syncDone(SyncRunner::Direction direction, std::uint64_t run) override {
        emit m_session.syncDone(direction == SyncRunner::Direction::Pull ? 0 : 1, run);
    }
    void imageReturned() override { emit m_session.imageReturned(); }
    void hdmiSelected(int input) override { emit m_session.hdmiSelected(input); }
    void zwaveEvent(const ZwaveEvent& event) override { emit m_session.zwaveEvent(event); }
    void workerNotice(WorkerNotice notice) override { emit m_session.smartHomeNotice(notice); }

private:
    DeviceSession& m_session;
};

namespace {

std::filesystem::path plugFolder(const QString& given) {
    const QString folder =
        given.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                              QStringLiteral("/Plug")
                        : given;
    return std::filesystem::path(QFile::encodeName(folder).toStdString());
}

} // namespace

DeviceSession::DeviceSession(DeviceImage& image, SessionOptions options, QObject* parent)
    : DeviceAccess(parent), m_options(std::move(options)),
      m_events(std::make_unique<Events>(*this)) {
    ConnectionOptions c;
    c.emulate = m_options.emulate;
    c.emulatorFile = QFile::encodeName(m_options.emulatorFile).toStdString();
    c.emulatorOptions = m_options.emulatorOptions;
    c.linkOptions = m_options.linkOptions;
    c.syncTimings = m_options.syncTimings;
    c.smartHomeTimings = m_options.smartHomeTimings;
    c.plugFolder = plugFolder(m_options.plugFolder);
    c.trace = m_options.trace;
    c.ownerName = "quilo"; // the desktop program holds the processor it opens
    m_connection = std::make_unique<ProcessorConnection>(
        image, std::move(c), [this](std::function<void()> call) { m_poster.post(std::move(call)); },
        *m_events);
    m_uiSink = std::make_unique<ObservedSink>(m_connection->writer());
}

DeviceSession::~DeviceSession() {
    delete m_watchNotifier;
    m_watcher.reset();
    m_uiSink.reset();
    m_connection.reset();
}

bool DeviceSession::startWatching(QString* failureText, QString* failureCaption) {
    if (m_options.emulate) {
        return true; // the emulated processor is always plugged in
    }
    m_watcher = std::make_unique<DeviceWatcher>(m_connection->log());
    m_watcher->setArrivalCallback(
        [this](const std::string& path) { emit deviceArrived(QString::fromStdString(path)); });
    m_watcher->setRemovalCallback(
        [this](const std::string& path) { emit deviceRemoved(QString::fromStdString(path)); });
    m_watcher->setStartFailedCallback([&](std::string_view text, std::string_view caption) {
        if (failureText != nullptr) {
            *failureText = QString::fromUtf8(text.data(), static_cast<int>(text.size()));
        }
        if (failureCaption != nullptr) {
            *failureCaption = QString::fromUtf8(caption.data(), static_cast<int>(caption.size()));
        }
    });
    const bool started = m_watcher->start();
    m_watcher->setStartFailedCallback({});
    if (!started) {
        m_watcher.reset();
        return false;
    }
    m_watchNotifier = new QSocketNotifier(m_watcher->fd(), QSocketNotifier::Read, this);
    connect(m_watchNotifier, &QSocketNotifier::activated, this, [this] {
        if (m_watcher) {
            m_watcher->process();
        }
    });
    return true;
}

bool DeviceSession::saveEmulatorState(QString* error) {
    std::string problem;
    const bool saved = m_connection->saveEmulatorState(&problem);
    if (!saved && error != nullptr) {
        *error = QString::fromStdString(problem);
    }
    return saved;
}

} // namespace quilo
