// The read thread's side of the smart home: every kind of frame the module sends,
// the acknowledgement each one gets, and Z-Wave memory replies at the edges of
// the records and scenes.
#include "SmartHomeTestSupport.h"
#include "device/ReportBuilder.h"
#include "smarthome/PlugFrames.h"
#include "smarthome/ZwaveReceiver.h"
#include "support/ZwaveBytes.h"

#include <gtest/gtest.h>

#include <memory>

using namespace quilo;
using namespace quilo::test;

namespace {

struct Receiver {
    std::unique_ptr<PlugTable> table = std::make_unique<PlugTable>();
    RecordingPort port;
    RecordingHomeEvents events;
    DebugLog log;
    ZwaveReceiver receiver{*table, port, events, &log, std::chrono::milliseconds(0)};

    // Hands one frame over; true when exactly one acknowledgement went back.
    bool frame(const Report& r) {
        port.entries.clear();
        receiver.zwaveFrame(r);
        return port.entries.size() == 1 && port.entries[0].kind == RecordingPort::Kind::Unpaced &&
               port.entries[0].report == buildZwaveAck();
    }
    void memory(std::uint16_t address, std::uint8_t length, std::uint8_t fill) {
        Report r =
            reportOf({0x02, 0x14, std::uint8_t(address >> 8), std::uint8_t(address), length});
        std::fill(r.begin() + 5, r.end(), fill);
        receiver.zwaveMemory(r);
    }
};

// A node list response: 02, version, capabilities, mask length, the mask (as
// much of it as a report holds).
Report nodeList(std::vector<int> ids, std::uint8_t length = 29) {
    std::vector<std::uint8_t> p{0x02, 0x05, 0x08, length};
    p.resize(4 + std::min<std::size_t>(length, 50), 0);
    for (int id : ids) {
        p[4 + std::size_t(id - 1) / 8] |= std::uint8_t(1u << ((id - 1) % 8));
    }
    return moduleFrame(0x01, p);
}

std::vector<int> presentIds(const PlugTable& t) {
    std::vector<int> ids;
    const PlugTableData d = t.snapshot();
    for (int id = 0; id < kPlugIdCount; ++id) {
        if (d.present(id)) {
            ids.push_back(id);
        }
    }
    return ids;
}

} // namespace

TEST(ZwaveReceiver, EveryFrameButALoneAckIsAcknowledgedAtOnce) {
    Receiver r;
    EXPECT_TRUE(r.frame(moduleRequest({0x99, 0x01})));        // unknown function
    EXPECT_TRUE(r.frame(reportOf({0x02, 0x12, 0x01, 0x15}))); // even a NAK
    r.port.entries.clear();
    r.receiver.zwaveFrame(reportOf({0x02, 0x12, 0x01, 0x06})); // the module's own ACK
    EXPECT_TRUE(r.port.entries.empty());
    EXPECT_TRUE(r.events.events().empty());
    EXPECT_EQ(r.table->snapshot(), PlugTableData{});
}

TEST(ZwaveReceiver, NodeListReplacesPresenceAndIgnoresIdsAbove232) {
    Receiver r;
    r.table->setPresent(5, true);
    r.table->setLastValue(5, 40);
    ASSERT_TRUE(r.frame(nodeList({1, 2, 9, 232})));
    EXPECT_EQ(presentIds(*r.table), (std::vector<int>{1, 2, 9, 232}));
    EXPECT_TRUE(r.table->flag(PlugTable::Flag::InitData));
    EXPECT_EQ(r.table->lastValue(5), 0) << "a plug's whole presence state is rebuilt";
    EXPECT_EQ(r.table->snapshot().plugIds(), (std::vector<int>{2, 9, 232}))
        << "1 is the controller";

    // A mask of 31 bytes: bits for 233 and up mean nothing; a length byte far past
    // the report reads what the report holds and no more.
    Report longer = nodeList({3, 232}, 31);
    longer[10 + 29] = 0xFF;
    longer[10 + 30] = 0xFF;
    ASSERT_TRUE(r.frame(longer));
    EXPECT_EQ(presentIds(*r.table), (std::vector<int>{3, 232}));
    Report huge = nodeList({4}, 29);
    huge[9] = 0xFF;
    ASSERT_TRUE(r.frame(huge));
    EXPECT_EQ(presentIds(*r.table).front(), 4);
    EXPECT_TRUE(r.events.events().empty()) << "a node list is no event";
}

TEST(ZwaveReceiver, FramesBecomeEventsAndTableChanges) {
    struct Case {
        const char* what;
        Report frame;
        std::vector<ZwaveEvent> events;
        bool ack;
    };
    const Case cases[] = {
        // 04 rx node len command...: the value is the command's last byte.
        {"plug report",
         moduleRequest({0x04, 0x00, 0x04, 0x03, 0x20, 0x03, 0x07}),
         {ev(4, 4, 7)},
         false},
        {"report of id 240",
         moduleRequest({0x04, 0x00, 240, 0x03, 0x20, 0x03, 0x06}),
         {ev(4, 240, 6)},
         false},
        {"report without command", moduleRequest({0x04, 0x00, 0x04, 0x00}), {}, false},
        {"send heard", moduleRequest({0x13, 0x43, 0x00}), {ev(0x13, 0x43, 0)}, true},
        {"send not heard", moduleRequest({0x13, 0x44, 0x01}), {ev(0x13, 0x44, 1)}, true},
        {"send response", moduleFrame(0x01, {0x13, 0x01}), {}, false},
        {"send status 2", moduleRequest({0x13, 0x43, 0x02}), {}, false},
        {"reset done", moduleRequest({0x42, 0x02}), {ev(0x42, 0, 0)}, true},
        {"inclusion ready", moduleRequest({0x4A, 0x30, 0x01, 0x00, 0x00}), {ev(0x4A, 0, 1)}, false},
        {"node found", moduleRequest({0x4A, 0x30, 0x02, 0x00, 0x00}), {ev(0x4A, 0, 2)}, false},
        {"adding", moduleRequest({0x4A, 0x30, 0x03, 0x07, 0x00}), {}, false},
        {"status 4", moduleRequest({0x4A, 0x30, 0x04, 0x07, 0x00}), {}, false},
        {"status 6", moduleRequest({0x4A, 0x30, 0x06, 0x07, 0x00}), {}, false},
        {"inclusion failed",
         moduleRequest({0x4A, 0x30, 0x07, 0x00, 0x00}),
         {ev(0x4A, 0, 7)},
         false},
        // Done with an id that is no plug's: a record there would land on the scenes.
        {"included id 240", moduleRequest({0x4A, 0x30, 0x05, 240, 0x00}), {ev(0x4A, 0, 7)}, false},
        {"included id 1", moduleRequest({0x4A, 0x30, 0x05, 0x01, 0x00}), {ev(0x4A, 0, 7)}, false},
        {"included id 0", moduleRequest({0x4A, 0x30, 0x05, 0x00, 0x00}), {ev(0x4A, 0, 7)}, false},
        {"exclusion ready", moduleRequest({0x4B, 0x09, 0x01, 0x00, 0x00}), {ev(0x4B, 0, 1)}, false},
        {"exclusion status 3",
         moduleRequest({0x4B, 0x09, 0x03, 0x05, 0x00}),
         {ev(0x4B, 0, 3)},
         false},
        {"exclusion failed",
         moduleRequest({0x4B, 0x09, 0x07, 0x00, 0x00}),
         {ev(0x4B, 0, 7)},
         false},
    };
    for (const Case& c : cases) {
        Receiver r;
        ASSERT_TRUE(r.frame(c.frame)) << c.what;
        EXPECT_EQ(r.events.events(), c.events) << c.what;
        EXPECT_EQ(r.table->flag(PlugTable::Flag::Ack), c.ack) << c.what;
        const PlugTableData d = r.table->snapshot();
        EXPECT_EQ(d.memory, PlugTableData{}.memory) << c.what;
        for (int id = 0; id < kPlugIdCount; ++id) {
            EXPECT_EQ(d.presence[id].id, 0) << c.what;
            const bool reported = c.frame[6] == 0x04 && id == c.frame[8] && !c.events.empty();
            EXPECT_EQ(d.presence[id].lastValue, reported ? c.frame[12] : 0)
                << c.what << " id " << id;
        }
    }
}

TEST(ZwaveReceiver, InclusionStoresThePendingRecordAndExclusionClearsTheId) {
    Receiver r;
    const PlugRecord pending = PlugRecord::make(kDimmerPlug, u"调压1");
    r.table->setPendingRecord(pending);
    ASSERT_TRUE(r.frame(moduleRequest({0x4A, 0x30, 0x05, 0x07, 0x00})));
    EXPECT_TRUE(r.table->present(7));
    EXPECT_EQ(r.table->record(7), pending);
    // An id outside 2-232 is no plug: the inclusion failed and nothing is stored.
    ASSERT_TRUE(r.frame(moduleRequest({0x4A, 0x30, 0x05, 0xF0, 0x00})));
    EXPECT_EQ(r.table->snapshot().plugIds(), (std::vector<int>{7}));

    ASSERT_TRUE(r.frame(moduleRequest({0x4B, 0x09, 0x06, 0x00, 0x00}))); // a plug of no network
    EXPECT_TRUE(r.table->present(7));
    ASSERT_TRUE(r.frame(moduleRequest({0x4B, 0x09, 0x06, 0x07, 0x00})));
    EXPECT_FALSE(r.table->present(7));
    EXPECT_EQ(r.table->record(7), pending) << "the record stays in memory";
    EXPECT_EQ(r.events.events(), (std::vector<ZwaveEvent>{ev(0x4A, 7, 5), ev(0x4A, 0, 7),
                                                          ev(0x4B, 0, 6), ev(0x4B, 7, 6)}));
    EXPECT_TRUE(r.log.contains("REMOVE ID= 7\n"));
    EXPECT_TRUE(r.log.contains("REMOVE ID= 0\n"));
}

TEST(ZwaveReceiver, MemoryRepliesFillFromTheStartOfTheirRecordOrScene) {
    struct Case {
        const char* what;
        std::uint16_t address;
        std::uint8_t length;
        std::size_t changedFrom; // bytes of the image that change, end exclusive
        std::size_t changedTo;
    };
    const Case cases[] = {
        {"record 0", 0, 28, 0, 28},
        {"middle of record 1", 30, 5, 28, 33},
        {"two records at once", 56, 56, 56, 112},
        {"last record, not into the scenes", 6496, 56, 6496, 6524},
        {"byte before the scenes", 6523, 56, 6496, 6524},
        {"scene 0", 6524, 56, 6524, 6580},
        {"middle of scene 0", 6530, 10, 6524, 6534},
        {"last byte of scene 5", 6859, 56, 6804, 6860},
        {"length past the report", 0, 255, 0, 56},
        {"scene end", 6860, 56, 0, 0},
        {"far out", 0xFFFF, 56, 0, 0},
    };
    for (const Case& c : cases) {
        Receiver r;
        r.memory(c.address, c.length, 0xA5);
        const PlugTableData d = r.table->snapshot();
        for (std::size_t i = 0; i < d.memory.size(); ++i) {
            const bool inside = i >= c.changedFrom && i < c.changedTo;
            ASSERT_EQ(d.memory[i], inside ? 0xA5 : 0x00) << c.what << " byte " << i;
        }
        const bool dropped = c.changedTo == 0;
        EXPECT_EQ(r.receiver.memoryReplies(), dropped ? 0u : 1u) << c.what;
        EXPECT_EQ(r.log.contains("ZWaveReadMemFunc over range"), dropped) << c.what;
        EXPECT_TRUE(r.port.entries.empty()) << "memory replies are not acknowledged";
    }
}
