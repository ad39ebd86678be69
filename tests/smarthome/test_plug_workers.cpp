// The smart-home workers and plug commands against the emulated processor, over
// the real link and its read thread, with the prescribed pauses removed. Also run
// under ThreadSanitizer (label "threads").
#include "LinkedHome.h"
#include "device/ReportBuilder.h"
#include "device/ReportWriter.h"
#include "smarthome/PlugFrames.h"
#include "smarthome/WriterZwavePort.h"
#include "smarthome/ZwaveMemoryMap.h"
#include "support/ZwaveBytes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace quilo;
using namespace quilo::test;
using namespace std::chrono_literals;

namespace {

const std::vector<PlugKind> kThree{PlugKind::Switch, PlugKind::Dimmer, PlugKind::Infrared};

// A linked home whose emulated network already holds the plugs, with records.
struct Network : LinkedHome {
    explicit Network(std::vector<PlugKind> plugs = kThree, SmartHomeTimings t = noPauses())
        : LinkedHome(instantEmulator(plugs), t) {
        emulator.restore(networkState(plugs));
    }
    void faults(const ZwaveFaults& z) {
        withEmulator([&](Emulator& e) {
            EmulatorFaults f;
            f.zwave = z;
            e.setFaults(f);
        });
    }
    void storeScene(int s, const Scene& scene) {
        const auto bytes = sceneBytes(scene);
        EmulatorState st = emulator.state();
        std::copy(bytes.begin(), bytes.end(), st.zwaveMemory.begin() + sceneAddress(s));
        emulator.restore(st);
    }
    void clearLog() {
        withEmulator([](Emulator& e) { e.clearLog(); });
    }
};

std::vector<Report> readsOf(std::vector<int> ids) {
    std::vector<Report> out;
    for (int id : ids) {
        out.push_back(buildReadPlugRecord(id));
    }
    for (int s = 0; s < kSceneCount; ++s) {
        out.push_back(buildReadScene(s));
    }
    return out;
}

std::vector<Report> concat(std::vector<Report> a, const std::vector<Report>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(PlugWorkers, SynchronisationReadsNodeListRecordsAndScenes) {
    Network n;
    Scene powerOn{};
    powerOn[0] = {3, 60};
    n.storeScene(kPowerOnScene, powerOn);
    n.home.table().setPresent(9, true); // the node list replaces what was there
    ASSERT_TRUE(n.open());

    ASSERT_TRUE(n.home.syncPlugsAsync());
    ASSERT_TRUE(n.events.waitNotices(1, 10s));
    EXPECT_EQ(n.events.notices(), std::vector<WorkerNotice>{WorkerNotice::PlugDataRefreshed});
    ASSERT_TRUE(n.waitMemoryReplies(9));

    EXPECT_EQ(n.received(), concat({buildGetInitData()}, readsOf({2, 3, 4})));
    EXPECT_EQ(n.acksReceived(), 1u) << "the node list";
    const PlugTableData t = n.home.table().snapshot();
    EXPECT_EQ(t.plugIds(), (std::vector<int>{2, 3, 4}));
    EXPECT_TRUE(t.present(1)) << "the controller";
    EXPECT_EQ(t.record(3), PlugRecord::make(kDimmerPlug, u"Plug1"));
    EXPECT_EQ(t.record(4).type(), 3);
    EXPECT_EQ(t.scene(kPowerOnScene), powerOn);
    EXPECT_TRUE(n.home.table().plugsSynced());
    EXPECT_TRUE(n.log.contains("ZWAVE_ReadAll\n"));

    n.home.linkOpened();
    EXPECT_FALSE(n.home.table().plugsSynced());
}

TEST(PlugWorkers, WithoutANodeListNothingIsReadAndTheWindowIsToldAnyway) {
    SmartHomeTimings t = noPauses();
    t.initDataPolls = 20; // 20 ms
    Network n(kThree, t);
    n.home.table().setPresent(9, true);
    ASSERT_TRUE(n.open());
    n.faults({.noNodeList = true});

    n.home.workers().synchronise({});
    EXPECT_EQ(n.events.notices(), std::vector<WorkerNotice>{WorkerNotice::PlugDataRefreshed});
    EXPECT_EQ(n.received(), std::vector<Report>{buildGetInitData()});
    EXPECT_EQ(n.home.table().snapshot().plugIds(), std::vector<int>{9});
    EXPECT_FALSE(n.home.table().plugsSynced());
}

TEST(PlugWorkers, ResetEmptiesNetworkAndScenesButKeepsRecords) {
    Network n;
    Scene s{};
    s[0] = {2, 99};
    n.storeScene(0, s);
    ASSERT_TRUE(n.open());
    n.home.workers().synchronise({});
    ASSERT_TRUE(n.waitMemoryReplies(9));
    n.clearLog();

    ASSERT_TRUE(n.home.resetNetworkAsync());
    ASSERT_TRUE(n.events.waitNotices(2, 10s));
    ASSERT_TRUE(n.waitMemoryReplies(9 + 6));
    std::vector<Report> expected{buildSetDefault()};
    for (int sc = 0; sc < kSceneCount; ++sc) {
        expected.push_back(buildWriteScene(sc, Scene{}));
    }
    expected.push_back(buildGetInitData());
    EXPECT_EQ(n.received(), concat(expected, readsOf({})));
    EXPECT_EQ(n.acksReceived(), 2u) << "reset done and the node list";
    EXPECT_TRUE(n.home.table().snapshot().plugIds().empty());
    EXPECT_EQ(n.home.table().scene(0), Scene{});
    EXPECT_EQ(n.home.table().record(2), PlugRecord::make(kSwitchPlug, u"Plug0"));
    const EmulatorState st = n.withEmulator([](Emulator& e) { return e.state(); });
    EXPECT_TRUE(std::all_of(st.zwaveMemory.begin() + kScenesAddress, st.zwaveMemory.end(),
                            [](auto b) { return b == 0; }));
    EXPECT_EQ(st.zwaveMemory[28 * 2], 1) << "records stay in Z-Wave memory";
}

TEST(PlugWorkers, SceneRunsEveryStepInOrder) {
    Network n;
    Scene s{};
    s[0] = {kEmptyStep, 0}; // skipped, later steps still run
    s[1] = {2, 99};
    s[2] = {kDelayStep, 3};
    s[3] = {kHdmiStep, 3};
    s[4] = {9, 99}; // not in the network: skipped without sending
    s[5] = {3, 50};
    s[6] = {4, 128}; // emit key 0, which was never learned
    s[7] = {77, 1};
    n.storeScene(kPowerOnScene, s);
    ASSERT_TRUE(n.open());
    n.home.workers().synchronise({});
    ASSERT_TRUE(n.waitMemoryReplies(9));
    n.clearLog();

    ASSERT_TRUE(n.home.runSceneAsync(kPowerOnScene));
    ASSERT_TRUE(n.events.waitNotices(3, 10s));
    n.home.workers().waitIdle();
    EXPECT_EQ(n.events.notices(),
              (std::vector<WorkerNotice>{WorkerNotice::PlugDataRefreshed,
                                         WorkerNotice::SceneStarted, WorkerNotice::SceneFinished}));
    EXPECT_EQ(n.received(),
              (std::vector<Report>{buildSendBasicSet(2, 99), buildSetParamRepeated(4, 33, 3, 1),
                                   buildSendBasicSet(3, 50), buildSendBasicSet(4, 128)}));
    EXPECT_EQ(n.events.hdmi(), std::vector<int>{3});
    EXPECT_EQ(n.log.count("此ID不存在，跳过设置命令"), 2u);
    EXPECT_EQ(n.home.table().lastValue(2), 99);
    EXPECT_EQ(n.home.table().lastValue(3), 50);
    EXPECT_TRUE(n.events.waitEvent([](const ZwaveEvent& e) { return e == ev(4, 4, 7); }, 5s))
        << "the infrared plug reports that emitting failed";
    const EmulatorState st = n.withEmulator([](Emulator& e) { return e.state(); });
    EXPECT_EQ(st.plugs[0].level, 0xFF);
    EXPECT_EQ(st.plugs[1].level, 50);
}

TEST(PlugWorkers, APlugThatNeverReportsItsEndDoesNotHoldTheSceneUp) {
    SmartHomeTimings t = noPauses();
    t.ackPolls = 20; // 20 ms
    Network n(kThree, t);
    Scene s{};
    s[0] = {2, 99};
    s[1] = {3, 0};
    n.storeScene(1, s);
    ASSERT_TRUE(n.open());
    n.home.workers().synchronise({});
    ASSERT_TRUE(n.waitMemoryReplies(9));
    n.faults({.noSendCallback = true});
    n.clearLog();

    n.home.workers().runScene(1, {});
    EXPECT_EQ(n.received(),
              (std::vector<Report>{buildSendBasicSet(2, 99), buildSendBasicSet(3, 0)}));
    EXPECT_EQ(n.events.notices().back(), WorkerNotice::SceneFinished);
}

TEST(PlugWorkers, StopEndsEveryWaitAndNothingIsReportedAfterIt) {
    SmartHomeTimings t; // the real pauses: a synchronisation settles for 2 s
    t.delaySecond = 1h;
    Network n(kThree, t);
    Scene s{};
    s[0] = {kDelayStep, 100};
    n.home.table().setScene(0, s);
    ASSERT_TRUE(n.open());
    ASSERT_TRUE(n.home.syncPlugsAsync());
    ASSERT_TRUE(n.home.runSceneAsync(0));
    ASSERT_TRUE(n.events.waitNotices(1, 10s)); // SceneStarted
    EXPECT_TRUE(n.home.workers().busy());
    n.home.workers().stop();
    EXPECT_FALSE(n.home.workers().busy());
    EXPECT_EQ(n.events.notices(), std::vector<WorkerNotice>{WorkerNotice::SceneStarted});
    EXPECT_FALSE(n.home.syncPlugsAsync()) << "no new work after the stop";
    EXPECT_TRUE(n.received().empty());
}

TEST(PlugWorkers, UserInterfaceStepsGoThroughTheWriterAndHearTheirEnd) {
    Network n;
    ASSERT_TRUE(n.open());
    n.home.workers().synchronise({});
    ASSERT_TRUE(n.waitMemoryReplies(9));
    ReportWriter writer(n.link);
    WriterZwavePort ui(writer, n.link);
    SmartHome& home = n.home;
    PlugCommands commands(home.table(), ui, n.events, &n.log);

    // Learning key 5 on the infrared plug: end of send 0x44, ready, learned.
    commands.startStep(4, kLearnKeyValue + 5);
    EXPECT_TRUE(n.events.waitEvent([](const ZwaveEvent& e) { return e == ev(4, 4, 3); }, 5s));
    // Emitting it now works; a switch that is not in the network gets no answer.
    commands.startStep(4, kEmitKeyValue + 5);
    EXPECT_TRUE(n.events.waitEvent([](const ZwaveEvent& e) { return e == ev(4, 4, 6); }, 5s));
    n.faults({.plugsDeaf = true});
    commands.startStep(2, kPlugOnSwitch);
    EXPECT_TRUE(n.events.waitEvent([](const ZwaveEvent& e) { return e == ev(0x13, 0x43, 1); }, 5s));
    writer.flush();
    const auto events = n.events.events();
    EXPECT_EQ(std::count(events.begin(), events.end(), ev(0x13, 0x44, 0)), 2);
    EXPECT_EQ(home.table().lastValue(4), 6) << "the plug's last report";
    n.link.closeLink(false);
}

TEST(PlugWorkers, AddingAPlugStoresThePendingRecordUnderItsNewId) {
    Network n({PlugKind::Switch, PlugKind::Dimmer});
    // The dimmer lies on the desk, in no network yet.
    n.emulator.restore([&] {
        EmulatorState s = networkState({PlugKind::Switch, PlugKind::Dimmer});
        s.plugs[1].nodeId = 0;
        return s;
    }());
    ASSERT_TRUE(n.open());
    n.withEmulator([](Emulator& e) { e.setButtonTarget(1); });
    const PlugRecord lamp = PlugRecord::make(kDimmerPlug, u"调压1");
    n.home.table().setPendingRecord(lamp);
    n.home.table().setAddAfterRemove(true);

    // What the window does: exclusion first, then inclusion, then the record.
    n.home.commands().sendFrame(buildRemoveNodeStart());
    ASSERT_TRUE(n.events.waitEvent([](const ZwaveEvent& e) { return e == ev(0x4B, 0, 6); }, 5s));
    n.home.finishExclusion();
    n.withEmulator([](Emulator& e) { e.setButtonTarget(1); });
    n.home.commands().sendFrame(buildAddNodeStart());
    ASSERT_TRUE(n.events.waitEvent([](const ZwaveEvent& e) { return e == ev(0x4A, 3, 5); }, 5s));
    EXPECT_TRUE(n.home.table().present(3));
    EXPECT_EQ(n.home.table().record(3), lamp);
    n.home.commands().sendFrame(buildAddNodeStop());
    EXPECT_TRUE(n.home.savePlugRecord(3, n.home.table().record(3)));
    n.link.WriteUsbData(buildReadPlugRecord(3)); // waits for the write's reply
    const EmulatorState st = n.withEmulator([](Emulator& e) { return e.state(); });
    EXPECT_TRUE(std::equal(lamp.bytes.begin(), lamp.bytes.end(), st.zwaveMemory.begin() + 28 * 3));
    const auto events = n.events.events();
    EXPECT_EQ(std::vector<ZwaveEvent>(events.begin(), events.begin() + 3),
              (std::vector<ZwaveEvent>{ev(0x4B, 0, 1), ev(0x4B, 0, 2), ev(0x4B, 0, 3)}));
}

TEST(PlugWorkers, SavingWithoutAProcessorChangesNothing) {
    Network n;
    Scene s{};
    s[0] = {2, 99};
    EXPECT_FALSE(n.home.saveScene(0, s));
    EXPECT_FALSE(n.home.savePlugRecord(2, PlugRecord::make(kSwitchPlug, u"A")));
    EXPECT_EQ(n.home.table().snapshot(), PlugTableData{});
    ASSERT_TRUE(n.open());
    EXPECT_TRUE(n.home.saveScene(0, s));
    EXPECT_EQ(n.home.table().scene(0), s);
    EXPECT_FALSE(n.home.saveScene(6, s));
}

TEST(PlugTable, ReadersSeeEveryNodeListWhole) {
    // The read thread alternates two node lists while a reader takes snapshots:
    // a snapshot holds one list or the other, never a mix.
    auto table = std::make_unique<PlugTable>();
    RecordingPort port;
    SmartHomeEvents quiet;
    ZwaveReceiver receiver(*table, port, quiet, nullptr, 0ms);
    const Report a = moduleFrame(0x01, {0x02, 0x05, 0x08, 0x01, 0x06}); // ids 2, 3
    const Report b = moduleFrame(0x01, {0x02, 0x05, 0x08, 0x01, 0x18}); // ids 4, 5
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) {
            const std::vector<int> ids = table->snapshot().plugIds();
            if (!ids.empty() && ids != std::vector<int>{2, 3} && ids != std::vector<int>{4, 5}) {
                ADD_FAILURE() << "a mixed node list";
                return;
            }
        }
    });
    for (int i = 0; i < 20000; ++i) {
        receiver.zwaveFrame(i % 2 ? a : b);
    }
    done = true;
    reader.join();
    EXPECT_EQ(port.entries.size(), 20000u);
}
