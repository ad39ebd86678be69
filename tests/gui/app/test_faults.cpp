// What a misbehaving processor or disk does to the whole program, on its real path
// (ribbon and controllers, writer, link, emulated processor): the user-interface
// thread keeps handling events, the status bar says what the link is, nothing the
// user set is lost once the processor is back and read back, and a save the disk
// refuses leaves the old file byte for byte.
#include "AppHarness.h"
#include "model/ImageDiff.h"
#include "support/StallMeter.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSlider>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <iostream>

#include <sys/resource.h>

using namespace quilo;
using namespace quilo::test;
using namespace std::chrono_literals;
using ribbon::Slider;

namespace {

// A check that the program is never frozen, not a timing: well below the faults' own
// waits (a reply held back 1000 ms, a silent processor's pacing wait), so a user-interface thread
// that waited on the processor shows, and far above what a busy machine adds.
constexpr qint64 kStallBoundMs = 750;

class FaultRun;
struct FaultCase {
    const char* name;
    void (*phase)(FaultRun&); // the fault, and what the user does meanwhile
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class FaultRun : public ::testing::TestWithParam<FaultCase> {
public:
    AppHarness h{true, kEnglish};
    StallMeter stalls;
    std::size_t mostQueued = 0;

    void setFaults(const EmulatorFaults& f) {
        h.emulator([&](Emulator& e) { e.setFaults(f); });
    }
    bool statusSaysConnected() {
        h.view().updateIndicators();
        return h.status().connectionPane()->text().startsWith(QStringLiteral("USB:Connected"));
    }
    // The processor goes; the system tells of the removal a moment later.
    void pullOut() {
        EmulatorFaults f;
        f.unplugAfterReports = 0;
        setFaults(f);
        pump(60);
        emit h.app->session().deviceRemoved(QString::fromLatin1(EmulatorTransport::kPath));
    }
    void plugIn(const EmulatorFaults& f = {}) {
        h.emulator([&](Emulator& e) {
            e.replug();
            e.setFaults(f);
        });
        emit h.app->session().deviceArrived(QString::fromLatin1(EmulatorTransport::kPath));
    }
    bool readBackEnded() {
        return waitUntil(
            [&] {
                return h.app->syncDialog() == nullptr && !h.app->session().sync().busy() &&
                       h.image().mainThreadOwns();
            },
            60000);
    }
    // A drag of a ribbon slider, one step every few milliseconds.
    void drag(Slider s, int from, int to) {
        QSlider* slider = h.ribbon().slider(s, 0);
        for (int v = from; v != to; v += from < to ? 1 : -1) {
            slider->setValue(v);
            mostQueued = std::max(mostQueued, h.app->session().writer().queued());
            pump(4);
        }
        slider->setValue(to);
    }
    bool written() {
        return waitUntil([&] { return h.app->session().writer().queued() == 0; }, 30000);
    }
};

// Writes past `bytes` fail (EFBIG) as on a full disk, for as long as it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void unpluggedDuringReadBack(FaultRun& r) {
    EmulatorFaults f;
    f.unplugAfterReports = 60; // part of the way through
    r.setFaults(f);
    r.h.view().connection().startPull();
    ASSERT_TRUE(waitUntil([&] { return r.h.emulator([](Emulator& e) { return e.unplugged(); }); }));
    pump(60);
    emit r.h.app->session().deviceRemoved(QString::fromLatin1(EmulatorTransport::kPath));
    EXPECT_TRUE(r.readBackEnded());
    EXPECT_FALSE(r.h.app->connected());
    EXPECT_FALSE(r.statusSaysConnected());
    EXPECT_FALSE(r.h.view().connection().pollRunning());
}

// Reads and writes fail and the system never tells of a removal: the processor
// is lost all the same.
void failsWithoutRemovalEvent(FaultRun& r) {
    EmulatorFaults f;
    f.unplugAfterReports = 0;
    r.setFaults(f);
    EXPECT_TRUE(waitUntil([&] { return !r.h.app->connected(); }));
    EXPECT_FALSE(r.statusSaysConnected());
    EXPECT_FALSE(r.h.view().connection().pollRunning());
}

// The user drags a volume, mutes, and drags another while the processor misbehaves.
void dragAndMute(FaultRun& r, const EmulatorFaults& f) {
    r.setFaults(f);
    r.drag(Slider::Music, 10, 60);
    r.h.view().commands().trigger(UserCommand::Mute, static_cast<int>(ribbon::Mute::Echo));
    r.drag(Slider::Mic, 50, 20);
    // A drag never builds a backlog, answered or not: one report waits per control
    // touched, beside a status poll that was waiting already.
    EXPECT_LE(r.mostQueued, 4u);
    // The link is open; the processor only does not answer (in time).
    EXPECT_TRUE(r.statusSaysConnected());
    EXPECT_TRUE(r.written());
    pump(1100); // the last reply of a slow processor
}

void silentWhileDragging(FaultRun& r) {
    EmulatorFaults f;
    f.silent = true;
    dragAndMute(r, f);
}

void repliesTakeASecond(FaultRun& r) {
    EmulatorFaults f;
    f.replyDelay = 1000ms;
    dragAndMute(r, f);
}

void wrongIdentity(FaultRun& r) {
    r.pullOut();
    EXPECT_FALSE(r.statusSaysConnected());
    EmulatorFaults f;
    f.modelName = "OTHER";
    r.plugIn(f);
    EXPECT_TRUE(r.statusSaysConnected()); // reading back, identity not known yet
    ASSERT_TRUE(waitUntil(
        [&] { return !r.h.app->connected() && r.h.prompter->count(QStringLiteral("message")) > 0; },
        30000));
    EXPECT_EQ(r.h.prompter->last(QStringLiteral("message"))->text,
              QStringLiteral("The machine model does not match this software!"));
    EXPECT_FALSE(r.statusSaysConnected());
    EXPECT_TRUE(r.readBackEnded());
}

void floodOfStatusReplies(FaultRun& r) {
    EmulatorFaults f;
    f.statusFlood = 100us;
    r.setFaults(f);
    r.drag(Slider::Music, 30, 70);
    r.h.view().connection().startPull();
    EXPECT_TRUE(r.readBackEnded());
    r.drag(Slider::Mic, 10, 45);
    EXPECT_TRUE(r.written());
    pump(100);
    EXPECT_TRUE(r.statusSaysConnected());
    const LiveStatusBytes live = r.h.image().liveStatus.load();
    EXPECT_TRUE(std::any_of(live.begin(), live.end(), [](std::uint8_t b) { return b != 0; }));
}

void diskRefusesSave(FaultRun& r) {
    const QString folder = r.h.dir.filePath(QStringLiteral("files"));
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/show.quilo");
    r.h.prompter->saveNames.push_back(path);
    r.h.view().commands().trigger(UserCommand::Save);
    const QByteArray old = fileBytes(path);
    ASSERT_FALSE(old.isEmpty());

    r.drag(Slider::Music, 20, 61);
    ASSERT_TRUE(r.written());
    ASSERT_TRUE(waitUntil([&] { return r.h.image().settingsChanged.load() == 1; }));
    {
        const FileSizeLimit full(256);
        r.h.prompter->saveNames.push_back(path);
        r.h.view().commands().trigger(UserCommand::Save);
        // Closing with "save first" keeps the program open when the save fails.
        r.h.prompter->yesNoCancel.push_back(Prompter::Answer::Yes);
        r.h.prompter->saveNames.push_back(path);
        r.h.app->mainFrame()->close();
    }
    EXPECT_EQ(r.h.prompter->count(QStringLiteral("message")), 2);
    EXPECT_EQ(r.h.prompter->last(QStringLiteral("message"))->caption,
              QStringLiteral("Can't write to file"));
    EXPECT_EQ(fileBytes(path), old);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("show.quilo")});
    EXPECT_EQ(r.h.image().settingsChanged.load(), 1); // still unsaved
    EXPECT_TRUE(r.h.app->mainFrame()->isVisible());
    EXPECT_TRUE(r.h.app->connected());
    EXPECT_TRUE(r.statusSaysConnected());
}

} // namespace

TEST_P(FaultRun, NeverFrozenTruthfulAndNothingLost) {
    h.start();
    ASSERT_TRUE(h.app->connected());
    // Settings the user made before anything went wrong.
    h.ribbon().slider(Slider::Mic, 0)->setValue(44);
    h.ribbon().slider(Slider::Music, 0)->setValue(23);
    h.view().commands().trigger(UserCommand::Mute, static_cast<int>(ribbon::Mute::Reverb));
    ASSERT_TRUE(written());
    pump(50);

    stalls.restart();
    GetParam().phase(*this);
    const qint64 stalled = stalls.longestMs();
    std::cout << GetParam().name << ": longest event-loop stall " << stalled << " ms\n";
    EXPECT_LT(stalled, kStallBoundMs);

    // Whatever the user left in the image is what the processor holds once it is back.
    const std::vector<std::string> wanted = modeFieldLines(h.image());
    pullOut();
    EXPECT_FALSE(statusSaysConnected());
    plugIn();
    ASSERT_TRUE(waitUntil([&] { return h.app->connected(); }));
    ASSERT_TRUE(readBackEnded());
    EXPECT_TRUE(h.app->connected());
    EXPECT_TRUE(statusSaysConnected());
    EXPECT_EQ(modeFieldLines(h.image()), wanted);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultRun,
    ::testing::Values(FaultCase{"UnpluggedDuringReadBack", unpluggedDuringReadBack},
                      FaultCase{"FailsWithoutRemovalEvent", failsWithoutRemovalEvent},
                      FaultCase{"SilentWhileDragging", silentWhileDragging},
                      FaultCase{"RepliesTakeASecond", repliesTakeASecond},
                      FaultCase{"WrongIdentity", wrongIdentity},
                      FaultCase{"FloodOfStatusReplies", floodOfStatusReplies},
                      FaultCase{"DiskRefusesSave", diskRefusesSave}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });
