#include "app/DeviceSession.h"

#include "device/DeviceWatcher.h"
#include "device/HidapiTransport.h"
#include "device/InterfaceRemoval.h"
#include "device/ProtocolTrace.h"
#include "device/TracingTransport.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorFile.h"
#include "emulator/EmulatorTransport.h"
#include "smarthome/LinkZwavePort.h"
#include "smarthome/SmartHome.h"
#include "smarthome/WriterZwavePort.h"

#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <filesystem>
#include <utility>

namespace quilo {

// Hands what the reply decoder tells on the read thread to the session's
// thread; nothing here waits for a window.
class DeviceSession::Events : public DeviceEvents {
public:
    explicit Events(DeviceSession& session) : m_session(session) {}

    void learnedKey(int code) override {
        // The key's place in the remote table comes through the inbound queue.
        m_session.m_poster.post([this, code] {
            m_session.drainInbound();
            emit m_session.learnedKey(code);
        });
    }
    // The smart home acknowledges and takes in the module's frames right here on
    // the read thread; the windows hear of them through HomeEvents.
    void zwaveFrame(const Report& report) override {
        if (m_session.m_home) {
            m_session.m_home->receiver().zwaveFrame(report);
        }
    }
    void zwaveMemory(const Report& report) override {
        if (m_session.m_home) {
            m_session.m_home->receiver().zwaveMemory(report);
        }
    }
    void parameterError(int code, int module, int param) override {
        m_session.m_poster.post(
            [this, code, module, param] { emit m_session.parameterError(code, module, param); });
    }

private:
    DeviceSession& m_session;
};

// What the smart home's read thread and workers tell the windows, queued onto
// the session's thread; never waits for it.
class DeviceSession::HomeEvents : public SmartHomeEvents {
public:
    explicit HomeEvents(DeviceSession& session) : m_session(session) {}

    void zwaveEvent(const ZwaveEvent& event) override {
        m_session.m_poster.post([this, event] { emit m_session.zwaveEvent(event); });
    }
    void workerNotice(WorkerNotice notice) override {
        m_session.m_poster.post([this, notice] { emit m_session.smartHomeNotice(notice); });
    }
    void hdmiSelected(int input) override {
        m_session.m_poster.post([this, input] { m_session.applyHdmi(input); });
    }

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
    : DeviceAccess(parent), m_image(image), m_options(std::move(options)),
      m_log(DebugLog::echoRequestedByEnvironment()) {
    if (m_options.emulate) {
        m_emulator = std::make_unique<Emulator>(m_options.emulatorOptions);
        if (!m_options.emulatorFile.isEmpty()) {
            const EmulatorFileResult r = loadEmulatorFile(
                QFile::encodeName(m_options.emulatorFile).toStdString(), *m_emulator);
            if (!r.ok() && r.status != EmulatorFileStatus::Missing) {
                m_emulatorLoadError = QString::fromStdString(r.error);
            }
        }
        auto transport = std::make_unique<EmulatorTransport>(*m_emulator);
        m_emulatorTransport = transport.get();
        m_transport = std::move(transport);
    } else {
        m_transport = std::make_unique<HidapiTransport>();
    }
    if (m_options.trace) {
        m_transport = std::make_unique<TracingTransport>(std::move(m_transport), m_options.trace);
    }

    m_events = std::make_unique<Events>(*this);
    m_dispatcher = std::make_unique<InboundDispatcher>(m_image, *m_events);
    m_inbound = std::make_unique<InboundQueue>(*m_dispatcher, [this] { requestDrain(); });
    m_link = std::make_unique<UsbLink>(*m_transport, *m_inbound, m_log, m_options.linkOptions);
    m_link->setReadFailedCallback([this] {
        // Told later on this thread, by then the processor may be back on a new
        // connection; a failure of an earlier one must not stop the new one's poll.
        const std::uint64_t failed = m_link->session();
        m_poster.post([this, failed] {
            if (m_link->session() == failed) {
                emit readFailed();
            }
        });
    });
    m_writer = std::make_unique<ReportWriter>(*m_link);
    m_pacedSink = std::make_unique<LinkSink>(*m_link);
    m_syncSink = std::make_unique<DrainingSink>(*m_pacedSink, *m_inbound);
    m_sync = std::make_unique<SyncRunner>(m_image, *m_syncSink, m_polling, m_options.syncTimings,
                                          &m_log);
    m_sync->setHandBackCallback([this] {
        m_poster.post([this] {
            drainInbound();
            if (m_pendingHdmi >= 0 && m_image.mainThreadOwns()) {
                applyHdmi(std::exchange(m_pendingHdmi, -1));
            }
            emit imageReturned();
        });
    });
    m_sync->setDoneCallback(
        [this](SyncRunner::Direction d, std::uint64_t run, IdentityVerdict identity) {
            // A processor that is not the expected one (or did not answer) is let go
            // here on the worker: its goodbye waits for the pacing like any report,
            // which the user-interface thread must not do.
            if (identity != IdentityVerdict::Ok) {
                m_link->closeLink(true);
            }
            const int direction = d == SyncRunner::Direction::Pull ? 0 : 1;
            m_poster.post([this, direction, run] {
                drainInbound();
                emit syncDone(direction, run);
            });
        });

    m_zwaveLinkPort = std::make_unique<LinkZwavePort>(*m_link);
    m_zwaveUiPort = std::make_unique<WriterZwavePort>(*m_writer, *m_link);
    m_homeEvents = std::make_unique<HomeEvents>(*this);
    m_home = std::make_unique<SmartHome>(*m_zwaveLinkPort, *m_zwaveUiPort, *m_homeEvents,
                                         plugFolder(m_options.plugFolder), &m_log,
                                         m_options.smartHomeTimings);
}

void DeviceSession::applyHdmi(int input) {
    if (!m_image.mainThreadOwns()) {
        m_pendingHdmi = input;
        return;
    }
    m_image.params.hdmiSelect = input;
    emit hdmiSelected(input);
}

void DeviceSession::requestDrain() {
    if (!m_drainRequested.exchange(true)) {
        m_poster.post([this] {
            m_drainRequested = false;
            drainInbound();
        });
    }
}

void DeviceSession::drainInbound() {
    if (m_image.mainThreadOwns()) {
        m_inbound->drain();
    }
}

DeviceSession::~DeviceSession() {
    delete m_watchNotifier;
    m_watcher.reset();
    m_home->workers().requestStop(); // smart-home workers send nothing more
    m_sync.reset();                  // its runs stop sending first
    m_writer.reset();                // then the queue of the user-interface thread
    m_link->closeLink(false);        // a worker's paced write returns now
    m_home->workers().stop();
    m_link.reset(); // then the read thread, the smart home's last caller
    m_home.reset();
    m_syncSink.reset();
    m_inbound.reset();
    m_dispatcher.reset();
    m_events.reset();
    m_transport.reset();
    m_emulator.reset();
}

bool DeviceSession::linkOpen() const {
    return m_link->linkOpen();
}

bool DeviceSession::openLink() {
    if (!m_link->openLink()) {
        return false;
    }
    m_home->linkOpened();
    return true;
}

void DeviceSession::closeLink(bool sayGoodbye) {
    m_link->closeLink(sayGoodbye);
}

void DeviceSession::closeForExit() {
    // Each queued write waits at most the hurried pacing for its reply; what is
    // still queued after this much is written no more.
    constexpr std::chrono::milliseconds kExitFlush{500};
    if (m_link->linkOpen()) {
        m_link->hurry();
        m_writer->flushFor(kExitFlush);
    }
    m_link->closeLink(true);
}

bool DeviceSession::interfaceRemoved(const QString& path) {
    return handleInterfaceRemoval(*m_link, path.toStdString());
}

bool DeviceSession::startWatching(QString* failureText, QString* failureCaption) {
    if (m_options.emulate) {
        return true; // the emulated processor is always plugged in
    }
    m_watcher = std::make_unique<DeviceWatcher>(m_log);
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
    // A file that did not load holds the user's emulated processor still; it is
    // never written over with the factory state this run started from.
    if (!m_emulator || m_options.emulatorFile.isEmpty() || !m_emulatorLoadError.isEmpty()) {
        return true;
    }
    const EmulatorState state =
        m_emulatorTransport->withEmulator([](Emulator& e) { return e.state(); });
    const EmulatorFileResult r =
        saveEmulatorFile(QFile::encodeName(m_options.emulatorFile).toStdString(), state);
    if (!r.ok() && error != nullptr) {
        *error = QString::fromStdString(r.error);
    }
    return r.ok();
}

} // namespace quilo
