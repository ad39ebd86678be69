#include "connection/ProcessorConnection.h"

#include "device/HidapiTransport.h"
#include "device/InterfaceRemoval.h"
#include "device/TracingTransport.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorFile.h"
#include "emulator/EmulatorTransport.h"
#include "smarthome/LinkZwavePort.h"
#include "smarthome/SmartHome.h"
#include "smarthome/WriterZwavePort.h"

#include <chrono>
#include <utility>

namespace quilo {

namespace {
// How long a starting run waits for the edits queued before it to be written.
constexpr std::chrono::milliseconds kQueuedEditsBeforeRun{2000};
} // namespace

// What the reply decoder tells on the read thread, handed to the owner thread;
// nothing here waits for the owner.
class ProcessorConnection::DeviceEventPoster : public DeviceEvents {
public:
    explicit DeviceEventPoster(ProcessorConnection& c) : m_c(c) {}

    void learnedKey(int code) override {
        // The key's place in the remote table comes through the inbound queue.
        m_c.m_post([this, code] {
            m_c.drainInbound();
            m_c.m_events.learnedKey(code);
        });
    }
    // The smart home acknowledges and takes in the module's frames right here on
    // the read thread; the owner hears of them through HomeEventPoster.
    void zwaveFrame(const Report& report) override {
        if (m_c.m_home) {
            m_c.m_home->receiver().zwaveFrame(report);
        }
    }
    void zwaveMemory(const Report& report) override {
        if (m_c.m_home) {
            m_c.m_home->receiver().zwaveMemory(report);
        }
    }
    void parameterError(int code, int module, int param) override {
        m_c.m_post(
            [this, code, module, param] { m_c.m_events.parameterError(code, module, param); });
    }

private:
    ProcessorConnection& m_c;
};

// What the smart home's read thread and workers tell, handed to the owner thread.
class ProcessorConnection::HomeEventPoster : public SmartHomeEvents {
public:
    explicit HomeEventPoster(ProcessorConnection& c) : m_c(c) {}

    void zwaveEvent(const ZwaveEvent& event) override {
        m_c.m_post([this, event] { m_c.m_events.zwaveEvent(event); });
    }
    void workerNotice(WorkerNotice notice) override {
        m_c.m_post([this, notice] { m_c.m_events.workerNotice(notice); });
    }
    void hdmiSelected(int input) override {
        m_c.m_post([this, input] { m_c.applyHdmi(input); });
    }

private:
    ProcessorConnection& m_c;
};

ProcessorConnection::ProcessorConnection(DeviceImage& image, ConnectionOptions options,
                                         Poster poster, ConnectionEvents& events)
    : m_image(image), m_options(std::move(options)), m_post(std::move(poster)), m_events(events),
      m_log(DebugLog::echoRequestedByEnvironment()) {
    makeTransport();

    m_deviceEvents = std::make_unique<DeviceEventPoster>(*this);
    m_dispatcher = std::make_unique<InboundDispatcher>(m_image, *m_deviceEvents);
    m_inbound = std::make_unique<InboundQueue>(*m_dispatcher, [this] { requestDrain(); });
    m_replies = std::make_unique<ReplyWatch>(*m_inbound);
    m_link = std::make_unique<UsbLink>(*m_transport, *m_replies, m_log, m_options.linkOptions);
    m_link->setReadFailedCallback([this] {
        // Told later on the owner thread, by then the processor may be back on a
        // new connection; a failure of an earlier one must not stop the new one.
        const std::uint64_t failed = m_link->session();
        m_post([this, failed] {
            if (m_link->session() == failed) {
                m_events.readFailed();
            }
        });
    });
    m_writer = std::make_unique<ReportWriter>(*m_link);
    m_pacedSink = std::make_unique<LinkSink>(*m_link);
    m_syncSink = std::make_unique<DrainingSink>(*m_pacedSink, *m_inbound);
    m_sync = std::make_unique<SyncRunner>(m_image, *m_syncSink, m_polling, m_options.syncTimings,
                                          &m_log);
    // Edits queued before a run go out before it (bounded, the link may be failing).
    m_sync->setBeforeRunCallback([this] { m_writer->flushFor(kQueuedEditsBeforeRun); });
    m_sync->setHandBackCallback([this] {
        m_post([this] {
            drainInbound();
            if (m_pendingHdmi >= 0 && m_image.mainThreadOwns()) {
                applyHdmi(std::exchange(m_pendingHdmi, -1));
            }
            m_events.imageReturned();
        });
    });
    m_sync->setDoneCallback(
        [this](SyncRunner::Direction d, std::uint64_t run, IdentityVerdict identity) {
            // A processor that is not the expected one (or did not answer) is let go
            // here on the worker: its goodbye waits for the pacing like any report,
            // which the owner thread must not do.
            if (identity != IdentityVerdict::Ok) {
                m_link->closeLink(true);
            }
            m_post([this, d, run] {
                drainInbound();
                m_events.syncDone(d, run);
            });
        });

    m_zwaveLinkPort = std::make_unique<LinkZwavePort>(*m_link);
    if (m_options.queuedHomeSends) {
        m_zwaveUiPort = std::make_unique<WriterZwavePort>(*m_writer, *m_link);
    } else {
        m_zwaveUiPort = std::make_unique<LinkZwavePort>(*m_link);
    }
    m_homeEvents = std::make_unique<HomeEventPoster>(*this);
    m_home = std::make_unique<SmartHome>(*m_zwaveLinkPort, *m_zwaveUiPort, *m_homeEvents,
                                         m_options.plugFolder, &m_log, m_options.smartHomeTimings);
}

void ProcessorConnection::makeTransport() {
    if (m_options.emulate) {
        m_emulator = std::make_unique<Emulator>(m_options.emulatorOptions);
        // The state file is the processor: its owner alone loads and saves it.
        if (!m_options.emulatorFile.empty() && !m_options.ownerName.empty()) {
            takeLock(OwnerLock::emulatorKey(m_options.emulatorFile));
        }
        if (!m_options.emulatorFile.empty() && !m_heldBy) {
            const EmulatorFileResult r = loadEmulatorFile(m_options.emulatorFile, *m_emulator);
            if (!r.ok() && r.status != EmulatorFileStatus::Missing) {
                m_emulatorLoadError = r.error;
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
}

ProcessorConnection::~ProcessorConnection() {
    m_home->workers().requestStop(); // smart-home workers send nothing more
    m_sync.reset();                  // its runs stop sending first
    m_writer.reset();                // then the owner thread's queue
    m_link->closeLink(false);        // a worker's paced write returns now
    m_home->workers().stop();
    m_link.reset(); // then the read thread, the smart home's last caller
    m_home.reset();
    m_syncSink.reset();
    m_replies.reset();
    m_inbound.reset();
    m_dispatcher.reset();
    m_deviceEvents.reset();
    m_transport.reset();
    m_emulator.reset();
}

void ProcessorConnection::applyHdmi(int input) {
    if (!m_image.mainThreadOwns()) {
        m_pendingHdmi = input;
        return;
    }
    m_image.params.hdmiSelect = input;
    m_events.hdmiSelected(input);
}

void ProcessorConnection::requestDrain() {
    if (!m_drainRequested.exchange(true)) {
        m_post([this] {
            m_drainRequested = false;
            drainInbound();
        });
    }
}

void ProcessorConnection::drainInbound() {
    if (m_image.mainThreadOwns()) {
        m_inbound->drain();
    }
}

bool ProcessorConnection::openLink() {
    if (m_emulator && m_heldBy) {
        return false;
    }
    if (!m_link->openLink()) {
        return false;
    }
    if (!m_emulator && !m_options.ownerName.empty()) {
        if (takeLock(m_link->lastSearch().path)) {
            // Nothing was sent: the owner's conversation with it goes on undisturbed.
            m_link->closeLink(false);
            return false;
        }
    }
    m_home->linkOpened();
    return true;
}

bool ProcessorConnection::takeLock(const std::string& processor) {
    m_heldBy = m_lock.take(processor, m_options.ownerName);
    // Where no lock file can be made at all (no runtime folder of ours) the
    // processor is used without one rather than not at all.
    if (m_heldBy && m_heldBy->pid <= 0) {
        m_heldBy.reset();
    }
    return m_heldBy.has_value();
}

void ProcessorConnection::closeLink(bool sayGoodbye) {
    m_link->closeLink(sayGoodbye);
    if (!m_emulator) {
        m_lock.release();
    }
}

void ProcessorConnection::closeForExit() {
    // Each queued write waits at most the hurried pacing for its reply; what is
    // still queued after this much is written no more.
    constexpr std::chrono::milliseconds kExitFlush{500};
    if (m_link->linkOpen()) {
        m_link->hurry();
        m_writer->flushFor(kExitFlush);
    }
    m_link->closeLink(true);
}

bool ProcessorConnection::interfaceRemoved(const std::string& path) {
    return handleInterfaceRemoval(*m_link, path);
}

bool ProcessorConnection::saveEmulatorState(std::string* error) {
    if (!m_emulator || m_options.emulatorFile.empty() || !m_emulatorLoadError.empty() || m_heldBy) {
        return true;
    }
    const EmulatorState state =
        m_emulatorTransport->withEmulator([](Emulator& e) { return e.state(); });
    const EmulatorFileResult r = saveEmulatorFile(m_options.emulatorFile, state);
    if (!r.ok() && error != nullptr) {
        *error = r.error;
    }
    return r.ok();
}

} // namespace quilo
