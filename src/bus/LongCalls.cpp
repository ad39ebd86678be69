#include "bus/LongCalls.h"

#include "device/ReportBuilder.h"
#include "model/ModeFile.h"
#include "model/Synchroniser.h"
#include "remote/RemoteFile.h"
#include "remote/RemoteKeyTail.h"
#include "smarthome/PlugFrames.h"
#include "smarthome/SmartHome.h"

#include <QStandardPaths>

#include <filesystem>
#include <utility>

namespace quilo {

namespace {

constexpr int kEnglish = 1; // the language of what a client is told
// As long as the plug window's wait dialog waits for the next word of the module.
constexpr int kJoinQuietMs = 30000;

// Keys 16-17 where the remote window and quiloctl keep them too.
std::filesystem::path remoteTailStore() {
    return remoteTailPath(std::filesystem::path(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString()));
}

} // namespace

LongCalls::LongCalls(ProcessorConnection& connection, DeviceImage& image, Runs runs,
                     QObject* parent)
    : QObject(parent), m_connection(connection), m_image(image), m_runs(std::move(runs)),
      m_joining(connection.smartHome()), m_remote(image.remoteKeys, connection.writer()) {
    m_remote.keepTail(remoteTailStore(), [&image] { return image.info.modelName; });
    m_learnTimeout.setSingleShot(true);
    connect(&m_learnTimeout, &QTimer::timeout, this, [this] {
        m_remote.stopLearning([this] { m_connection.writer().releasePacing(); });
        m_learnQuiet.reset();
        if (m_learnDone) {
            std::exchange(m_learnDone, {})("no key arrived in time; learning stopped", 0);
        }
    });
    m_joinTimeout.setSingleShot(true);
    m_joinTimeout.setInterval(kJoinQuietMs);
    connect(&m_joinTimeout, &QTimer::timeout, this,
            [this] { joiningOutcome(m_joining.abandon()); });
    m_plugTimeout.setSingleShot(true);
    connect(&m_plugTimeout, &QTimer::timeout, this, [this] {
        if (m_plugDone) {
            std::exchange(m_plugDone, {})(
                "no end of send from the Z-Wave module within " +
                std::to_string(m_connection.smartHome().workers().timings().ackTimeout().count() /
                               1000) +
                " s");
        }
    });
}

bool LongCalls::busy() const {
    return m_longRun.has_value() || m_sceneDone || m_plugDone || m_joining.running() ||
           m_learnDone || m_connection.sync().busy() || !m_image.mainThreadOwns();
}

LongCalls::LongStart LongCalls::runScene(int scene, Done done) {
    if (busy()) {
        return LongStart::Busy;
    }
    if (!m_connection.smartHome().runSceneAsync(scene)) {
        return LongStart::Busy; // a smart-home worker is still at work
    }
    m_sceneDone = std::move(done);
    return LongStart::Started;
}

LongCalls::LongStart LongCalls::setPlug(int id, int value, Done done) {
    if (busy()) {
        return LongStart::Busy;
    }
    if (!m_connection.linkOpen()) {
        done("no processor is connected");
        return LongStart::Started;
    }
    m_plugId = id;
    m_plugValue = value;
    m_plugCallback = basicSetCallback(value);
    m_plugDone = std::move(done);
    m_connection.smartHome().commands().sendFrame(buildSendBasicSet(id, value));
    m_plugTimeout.start(
        static_cast<int>(m_connection.smartHome().workers().timings().ackTimeout().count()));
    return LongStart::Started;
}

LongCalls::LongStart LongCalls::includePlug(int type, const std::string& name,
                                            ServiceBackend::DoneWith done, std::string* problem) {
    return startJoining(PlugJoining::Kind::Add, type, name, std::move(done), problem);
}

LongCalls::LongStart LongCalls::excludePlug(ServiceBackend::DoneWith done) {
    std::string unused;
    return startJoining(PlugJoining::Kind::Remove, 0, {}, std::move(done), &unused);
}

LongCalls::LongStart LongCalls::startJoining(PlugJoining::Kind kind, int type,
                                             const std::string& name, ServiceBackend::DoneWith done,
                                             std::string* problem) {
    if (busy()) {
        return LongStart::Busy;
    }
    if (!m_connection.linkOpen()) {
        done("no processor is connected", 0);
        return LongStart::Started;
    }
    if (!m_joining.start(kind, type, name, problem)) {
        return LongStart::Refused;
    }
    m_joinDone = std::move(done);
    m_joinTimeout.start();
    return LongStart::Started;
}

void LongCalls::joiningOutcome(const PlugJoining::Outcome& outcome) {
    if (!outcome.finished) {
        return;
    }
    m_joinTimeout.stop();
    if (m_joinDone) {
        std::exchange(m_joinDone, {})(outcome.problem, outcome.id);
    }
}

LongCalls::LongStart LongCalls::learnRemoteKey(int key, std::chrono::milliseconds timeout,
                                               ServiceBackend::DoneWith done) {
    if (busy()) {
        return LongStart::Busy;
    }
    if (!m_connection.linkOpen()) {
        done("no processor is connected", 0);
        return LongStart::Started;
    }
    m_learnQuiet.emplace(m_connection.polling(), true);
    m_learningKey = key;
    m_learnDone = std::move(done);
    m_remote.learn(key);
    m_learnTimeout.start(timeout);
    return LongStart::Started;
}

void LongCalls::learnedKey(int code) {
    if (!m_learnDone) {
        return; // learned for the remote window, or for nobody
    }
    m_learnTimeout.stop();
    m_learnQuiet.reset();
    m_remote.noteLearned(m_learningKey, static_cast<std::uint8_t>(code));
    std::exchange(m_learnDone, {})({}, code);
}

LongCalls::LongStart LongCalls::pushRemote(const std::string& path, Done done,
                                           std::string* problem) {
    if (busy()) {
        return LongStart::Busy;
    }
    // A bad file is refused before anything of it reaches the table.
    RemoteKeyTable fromFile = m_image.remoteKeys;
    const RemoteFileResult loaded = loadRemoteFile(path, fromFile);
    if (!loaded.ok()) {
        *problem = remoteFileErrorText(loaded, path, kEnglish);
        return LongStart::Refused;
    }
    if (!m_connection.linkOpen()) {
        done("no processor is connected");
        return LongStart::Started;
    }
    m_image.remoteKeys = fromFile;
    m_remote.tookBytes(0, loaded.bytes);
    m_remote.apply();
    whenWritten([this, done = std::move(done)] {
        done(m_connection.linkOpen() ? std::string() : "the processor went away");
    });
    return LongStart::Started;
}

LongCalls::LongStart LongCalls::pullRemote(const std::string& path, Done done) {
    if (busy()) {
        return LongStart::Busy;
    }
    // The table of the last read-back, keys 16-17 as last known.
    RemoteKeyTable table = m_image.remoteKeys;
    applyRemoteTail(table, RemoteTailFile(remoteTailStore()).known(m_image.info.modelName));
    const RemoteFileResult saved = saveRemoteFile(path, table);
    done(saved.ok() ? std::string() : remoteFileErrorText(saved, path, kEnglish));
    return LongStart::Started;
}

void LongCalls::zwaveEvent(const ZwaveEvent& event) {
    if (m_joining.running()) {
        if (event.function == zwave_function::kInclusion ||
            event.function == zwave_function::kExclusion) {
            m_joinTimeout.start(); // the module is at work
        }
        joiningOutcome(m_joining.handle(event));
    }
    if (!m_plugDone || event.function != zwave_function::kSendDone ||
        event.high() != m_plugCallback) {
        return;
    }
    m_plugTimeout.stop();
    // The plug has it: its last value is what the windows and remotes show.
    if (event.low() == 0) {
        m_connection.smartHome().table().setLastValue(m_plugId,
                                                      static_cast<std::uint8_t>(m_plugValue));
    }
    std::exchange(m_plugDone, {})(event.low() == 0 ? std::string()
                                                   : "plug " + std::to_string(m_plugId) +
                                                         " did not acknowledge the command");
}

void LongCalls::workerNotice(WorkerNotice notice) {
    if (notice == WorkerNotice::SceneFinished && m_sceneDone) {
        std::exchange(m_sceneDone, {})({});
    }
}

LongCalls::LongStart LongCalls::pull(const std::string& path, Done done) {
    if (busy()) {
        return LongStart::Busy;
    }
    m_longRun = LongRun{m_runs.startPull(), SyncRunner::Direction::Pull, path, std::move(done)};
    return LongStart::Started;
}

LongCalls::LongStart LongCalls::push(const std::string& path, Done done, std::string* problem) {
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
    m_longRun = LongRun{m_runs.startPush(), SyncRunner::Direction::Push, path, std::move(done)};
    return LongStart::Started;
}

LongCalls::LongStart LongCalls::recallMode(int mode, Done done) {
    if (busy()) {
        return LongStart::Busy;
    }
    // As the ribbon's LoadMode: the processor switches, then everything is read
    // back; the read-back starts once the switch has gone out.
    m_image.currentMode = mode;
    m_connection.writer().send(buildCommand(Command::LoadMode, {static_cast<std::uint8_t>(mode)}));
    m_longRun = LongRun{0, SyncRunner::Direction::Pull, {}, std::move(done)};
    whenWritten([this] { m_longRun->run = m_runs.startPull(); });
    return LongStart::Started;
}

LongCalls::LongStart LongCalls::storeMode(int mode, Done done) {
    if (busy()) {
        return LongStart::Busy;
    }
    if (!m_connection.linkOpen()) {
        done("no processor is connected");
        return LongStart::Started;
    }
    m_image.settingsChanged = 0;
    m_image.currentMode = mode;
    m_connection.writer().send(buildCommand(Command::SaveMode, {static_cast<std::uint8_t>(mode)}));
    // Answered once the writer has written it (and what was queued before it).
    whenWritten([this, done = std::move(done)] {
        done(m_connection.linkOpen() ? std::string() : "the processor went away");
    });
    return LongStart::Started;
}

void LongCalls::whenWritten(std::function<void()> then) {
    auto* written = new QTimer(this);
    written->setInterval(5);
    connect(written, &QTimer::timeout, this, [this, written, then = std::move(then)] {
        if (m_connection.linkOpen() && m_connection.writer().queued() > 0) {
            return;
        }
        written->deleteLater();
        then();
    });
    written->start();
}

void LongCalls::syncDone(std::uint64_t run) {
    if (m_longRun && m_longRun->run == run) {
        finishLongRun();
    }
}

void LongCalls::finishLongRun() {
    LongRun run = std::move(*m_longRun);
    m_longRun.reset();
    std::string problem;
    if (!m_connection.linkOpen() || checkIdentity(m_image) != IdentityVerdict::Ok) {
        problem = "the processor went away or is not one this program can talk to";
    } else if (run.direction == SyncRunner::Direction::Pull && !run.path.empty()) {
        if (const ModeFileResult r = writeModeFile(run.path, m_image); !r.ok()) {
            problem = modeFileErrorText(r, run.path, kEnglish);
        }
    }
    run.done(problem);
}

} // namespace quilo
