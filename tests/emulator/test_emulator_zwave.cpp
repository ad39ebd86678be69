// The Z-Wave module and its virtual plugs. Frames of the module are written out
// by hand (checksum = FF xor length, type and payload, worked in the comments)
// or built by the small independent helper of support/ZwaveBytes.h.
#include "EmulatorHarness.h"
#include "device/ReportBuilder.h"
#include "support/ZwaveBytes.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quilo;
using namespace quilo::test;
using namespace std::chrono_literals;

namespace {

Report hostFrame(std::vector<std::uint8_t> payload) {
    return buildZwaveFrame(payload);
}

const Report kAck = reportOf({0x02, 0x12, 0x01, 0x06});

// Basic Report of a plug as an ApplicationCommand frame: value at report byte 12.
Report basicReport(std::uint8_t node, std::uint8_t value) {
    return moduleFrame(0x00, {0x04, 0x00, node, 0x03, 0x20, 0x03, value});
}

Report basicSet(std::uint8_t node, std::uint8_t value, std::uint8_t callback = 0x43) {
    return hostFrame({0x13, node, 0x03, 0x20, 0x01, value, 0x25, callback});
}

Report basicGet(std::uint8_t node) {
    return hostFrame({0x13, node, 0x02, 0x20, 0x02, 0x25, 0x43});
}

// Node mask byte 0 from a GetInitData response.
std::uint8_t firstMaskByte(EmulatorHarness& h) {
    h.send(hostFrame({0x02}));
    const auto r = h.advance(10ms);
    EXPECT_EQ(r.size(), 1u);
    return r.empty() ? 0 : r[0][10];
}

// Runs a whole inclusion; returns the new node id from the protocol-done frame.
std::uint8_t include(EmulatorHarness& h) {
    h.send(hostFrame({0x4A, 0x01, 0x30}));
    std::uint8_t node = 0;
    for (const Report& r : h.advance(4s)) {
        if (r[6] == 0x4A && r[8] == 0x05) {
            node = r[9];
        }
    }
    h.send(hostFrame({0x4A, 0x05, 0x00}));
    return node;
}

// The value reported by the plug in reply to Basic Get.
int levelOf(EmulatorHarness& h, std::uint8_t node) {
    h.send(basicGet(node));
    for (const Report& r : h.advance(1s)) {
        if (r[6] == 0x04 && r[8] == node) {
            return r[12];
        }
    }
    return -1;
}

} // namespace

TEST(EmulatorZwave, FramesAreAcknowledgedAndBadFramesRefused) {
    EmulatorHarness h;
    // GetInitData 01 03 00 02 FE: ACK at once, the node list 10 ms later with
    // only node 1 (the module): checksum FF^25^01^02^05^08^1D^01^05^00 = CD.
    EXPECT_EQ(h.ask(reportOf({0x02, 0x12, 0x05, 0x01, 0x03, 0x00, 0x02, 0xFE})), hex(kAck));
    EXPECT_TRUE(h.advance(9ms).empty());
    const auto init = h.advance(1ms);
    ASSERT_EQ(init.size(), 1u);
    Report expected = reportOf({0x02, 0x12, 0x27, 0x01, 0x25, 0x01, 0x02, 0x05, 0x08, 0x1D, 0x01});
    expected[39] = 0x05;
    expected[40] = 0x00;
    expected[41] = 0xCD;
    EXPECT_EQ(hex(init[0]), hex(expected));

    // The host's own ACK gets nothing; a wrong checksum or length a NAK.
    EXPECT_TRUE(h.send(kAck).empty());
    const Report nak = reportOf({0x02, 0x12, 0x01, 0x15});
    EXPECT_EQ(h.ask(reportOf({0x02, 0x12, 0x05, 0x01, 0x03, 0x00, 0x02, 0xFF})), hex(nak));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x12, 0x06, 0x01, 0x03, 0x00, 0x02, 0xFE})), hex(nak));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x12, 0x40, 0x01})), hex(nak));
    EXPECT_TRUE(h.advance(10s).empty());
}

TEST(EmulatorZwave, InclusionReportsEveryStageAndAddsTheFirstFreePlug) {
    EmulatorHarness h;
    EXPECT_EQ(h.ask(hostFrame({0x4A, 0x01, 0x30})), hex(kAck));
    // Ready after 100 ms: 4A 30 01 00 00, checksum FF^07^00^4A^30^01 = 83.
    EXPECT_TRUE(h.advance(99ms).empty());
    auto r = h.advance(1ms);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(hex(r[0]), hex(reportOf({0x02, 0x12, 0x09, 0x01, 0x07, 0x00, 0x4A, 0x30, 0x01, 0x00,
                                       0x00, 0x83})));

    // The button is pressed 2.5 s after the start: node found (checksum 80) ...
    EXPECT_TRUE(h.advance(2399ms).empty());
    r = h.advance(1ms);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(hex(r[0]), hex(reportOf({0x02, 0x12, 0x09, 0x01, 0x07, 0x00, 0x4A, 0x30, 0x02, 0x00,
                                       0x00, 0x80})));
    // ... adding the switch as node 2 with its node information (checksum 9D) ...
    r = h.advance(300ms);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(hex(r[0]), hex(reportOf({0x02, 0x12, 0x0E, 0x01, 0x0C, 0x00, 0x4A, 0x30, 0x03, 0x02,
                                       0x05, 0x04, 0x10, 0x01, 0x20, 0x25, 0x9D})));
    // ... and protocol done for node 2 (checksum FF^07^00^4A^30^05^02 = 85).
    r = h.advance(300ms);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(hex(r[0]), hex(reportOf({0x02, 0x12, 0x09, 0x01, 0x07, 0x00, 0x4A, 0x30, 0x05, 0x02,
                                       0x00, 0x85})));

    // The stop with callback 0 is only acknowledged; node 2 is now listed.
    EXPECT_EQ(h.ask(hostFrame({0x4A, 0x05, 0x00})), hex(kAck));
    EXPECT_TRUE(h.advance(10s).empty());
    EXPECT_EQ(firstMaskByte(h), 0x03);
    EXPECT_EQ(h.emulator.state().plugs[0].nodeId, 2);
}

TEST(EmulatorZwave, StoppedInclusionAddsNothing) {
    EmulatorHarness h;
    h.send(hostFrame({0x4A, 0x01, 0x30}));
    EXPECT_EQ(h.advance(1s).size(), 1u); // ready
    EXPECT_EQ(h.ask(hostFrame({0x4A, 0x05, 0x00})), hex(kAck));
    EXPECT_TRUE(h.advance(10s).empty());
    EXPECT_EQ(firstMaskByte(h), 0x01);
}

TEST(EmulatorZwave, NoFreePlugMeansNoPressAndAnIncludedTargetFails) {
    EmulatorOptions options;
    options.plugs = {PlugKind::Switch};
    EmulatorHarness h(options);
    ASSERT_EQ(include(h), 2);

    h.send(hostFrame({0x4A, 0x01, 0x30}));
    EXPECT_EQ(h.advance(10s).size(), 1u); // ready, and nothing after it

    h.emulator.setButtonTarget(0);
    h.send(hostFrame({0x4A, 0x01, 0x30}));
    const auto r = h.advance(10s);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(hex(r[1]), hex(moduleFrame(0x00, {0x4A, 0x30, 0x07, 0x00, 0x00})));
}

TEST(EmulatorZwave, BasicSetAndGetRoundTripOnASwitch) {
    EmulatorHarness h;
    ASSERT_EQ(include(h), 2);

    EXPECT_EQ(h.ask(basicSet(2, 0xFF)), hex(kAck));
    // Response 13 01 after 10 ms (checksum FF^04^01^13^01 = E8), then the
    // callback 13 43 00 at 60 ms (checksum FF^05^00^13^43 = AA).
    auto r = h.advance(10ms);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(hex(r[0]), hex(reportOf({0x02, 0x12, 0x06, 0x01, 0x04, 0x01, 0x13, 0x01, 0xE8})));
    r = h.advance(50ms);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(hex(r[0]),
              hex(reportOf({0x02, 0x12, 0x07, 0x01, 0x05, 0x00, 0x13, 0x43, 0x00, 0xAA})));
    EXPECT_TRUE(h.advance(5s).empty()) << "a switch does not report a Set";

    // Basic Get: the plug reports FF 150 ms after the callback
    // (01 09 00 04 00 02 03 20 03 FF, checksum 2F).
    h.send(basicGet(2));
    EXPECT_EQ(h.advance(60ms).size(), 2u);
    EXPECT_TRUE(h.advance(149ms).empty());
    r = h.advance(1ms);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(hex(r[0]), hex(reportOf({0x02, 0x12, 0x0B, 0x01, 0x09, 0x00, 0x04, 0x00, 0x02, 0x03,
                                       0x20, 0x03, 0xFF, 0x2F})));

    h.send(basicSet(2, 0));
    h.advance(1s);
    EXPECT_EQ(levelOf(h, 2), 0);
    h.send(basicSet(2, 0xC5)); // infrared values mean nothing to a switch
    EXPECT_EQ(h.advance(5s).size(), 2u);
    EXPECT_EQ(levelOf(h, 2), 0);
}

TEST(EmulatorZwave, DimmerKeepsItsLevelAndReturnsToIt) {
    EmulatorHarness h;
    ASSERT_EQ(include(h), 2);
    ASSERT_EQ(include(h), 3); // the dimmer
    h.send(basicSet(3, 40));
    h.advance(1s);
    EXPECT_EQ(levelOf(h, 3), 40);
    h.send(basicSet(3, 0));
    h.advance(1s);
    EXPECT_EQ(levelOf(h, 3), 0);
    h.send(basicSet(3, 0xFF));
    h.advance(1s);
    EXPECT_EQ(levelOf(h, 3), 40);
    EXPECT_EQ(levelOf(h, 2), 0) << "the switch was not touched";
}

TEST(EmulatorZwave, CommandToAnAbsentNodeGetsNoAckAndAbortWithdrawsIt) {
    EmulatorHarness h;
    h.send(basicSet(9, 0xFF));
    EXPECT_EQ(h.advance(10ms).size(), 1u); // response
    EXPECT_TRUE(h.advance(589ms).empty());
    auto r = h.advance(1ms);
    ASSERT_EQ(r.size(), 1u);
    // 13 43 01: checksum FF^05^00^13^43^01 = AB.
    EXPECT_EQ(hex(r[0]),
              hex(reportOf({0x02, 0x12, 0x07, 0x01, 0x05, 0x00, 0x13, 0x43, 0x01, 0xAB})));

    h.send(basicSet(9, 0xFF));
    h.advance(100ms);
    EXPECT_EQ(h.ask(hostFrame({0x13})), hex(kAck));
    EXPECT_TRUE(h.advance(5s).empty());
}

TEST(EmulatorZwave, InfraredPlugLearnsAndEmitsKeys) {
    EmulatorHarness h;
    include(h);
    include(h);
    ASSERT_EQ(include(h), 4); // the infrared plug

    // Emitting key 5 before it was learned fails (report 7).
    h.send(basicSet(4, 128 + 5, 0x44));
    auto r = h.advance(1s);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(hex(r[1]), hex(moduleFrame(0x00, {0x13, 0x44, 0x00})));
    EXPECT_EQ(hex(r[2]), hex(basicReport(4, 7)));

    // Learning key 5: callback at 60 ms, ready (2) at 210 ms, learned (3) once
    // the emulated remote is pressed 2 s later.
    h.send(basicSet(4, 192 + 5, 0x44));
    EXPECT_EQ(h.advance(60ms).size(), 2u);
    EXPECT_TRUE(h.advance(149ms).empty());
    r = h.advance(1ms);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(hex(r[0]), hex(basicReport(4, 2)));
    EXPECT_TRUE(h.advance(1999ms).empty());
    r = h.advance(1ms);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(hex(r[0]), hex(basicReport(4, 3)));

    h.send(basicSet(4, 128 + 5, 0x44));
    r = h.advance(1s);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(hex(r[2]), hex(basicReport(4, 6)));
    h.send(basicSet(4, 128 + 6, 0x44));
    EXPECT_EQ(hex(h.advance(1s).back()), hex(basicReport(4, 7)));
}

TEST(EmulatorZwave, ExclusionRemovesThePressedPlug) {
    EmulatorHarness h;
    ASSERT_EQ(include(h), 2);

    // Unprompted, the user presses a plug of no network: node 0 leaves
    // (4B 09 06 00 00, checksum FF^07^00^4B^09^06 = BC).
    EXPECT_EQ(h.ask(hostFrame({0x4B, 0x01, 0x09})), hex(kAck));
    auto r = h.advance(100ms);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(hex(r[0]), hex(reportOf({0x02, 0x12, 0x09, 0x01, 0x07, 0x00, 0x4B, 0x09, 0x01, 0x00,
                                       0x00, 0xBB})));
    r = h.advance(3s);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(hex(r[2]), hex(reportOf({0x02, 0x12, 0x09, 0x01, 0x07, 0x00, 0x4B, 0x09, 0x06, 0x00,
                                       0x00, 0xBC})));
    EXPECT_EQ(h.ask(hostFrame({0x4B, 0x05})), hex(kAck));
    EXPECT_EQ(firstMaskByte(h), 0x03);

    // Pressing the included switch removes node 2.
    h.emulator.setButtonTarget(0);
    h.send(hostFrame({0x4B, 0x01, 0x09}));
    r = h.advance(3100ms); // ready, found, removing, done
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(hex(r[2]), hex(moduleFrame(0x00, {0x4B, 0x09, 0x03, 0x02, 0x00})));
    EXPECT_EQ(hex(r[3]), hex(moduleFrame(0x00, {0x4B, 0x09, 0x06, 0x02, 0x00})));
    h.send(hostFrame({0x4B, 0x05, 0x00}));
    EXPECT_EQ(firstMaskByte(h), 0x01);
    EXPECT_EQ(levelOf(h, 2), -1) << "no plug answers as node 2 any more";
}

TEST(EmulatorZwave, SetDefaultEmptiesTheNetwork) {
    EmulatorHarness h;
    ASSERT_EQ(include(h), 2);
    EXPECT_EQ(h.ask(hostFrame({0x42, 0x02})), hex(kAck));
    EXPECT_TRUE(h.advance(299ms).empty());
    const auto r = h.advance(1ms);
    ASSERT_EQ(r.size(), 1u);
    // 42 02: checksum FF^04^00^42^02 = BB.
    EXPECT_EQ(hex(r[0]), hex(reportOf({0x02, 0x12, 0x06, 0x01, 0x04, 0x00, 0x42, 0x02, 0xBB})));
    EXPECT_EQ(firstMaskByte(h), 0x01);
    EXPECT_EQ(include(h), 2) << "node ids start again at 2";
}

TEST(EmulatorZwave, MemoryHoldsRecordsAndScenesWithinItsSize) {
    EmulatorHarness h;
    // A switch record for node 2 at 56: type 1, name "A".
    EXPECT_EQ(h.ask(reportOf({0x02, 0x13, 0x00, 0x38, 0x1C, 0x01, 0x00, 0x00, 0x00, 'A'})),
              hex(reportOf({0x02, 0x13, 0x00, 0x38, 0x1C})));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x14, 0x00, 0x38, 0x1C})),
              hex(reportOf({0x02, 0x14, 0x00, 0x38, 0x1C, 0x01, 0x00, 0x00, 0x00, 'A'})));
    // Scene 5 ends at 6859; past that nothing is kept or read.
    EXPECT_EQ(h.send(reportOf({0x02, 0x13, 0x1A, 0xC4, 0x38}))[0][4], 8);
    EXPECT_EQ(h.ask(reportOf({0x02, 0x14, 0x1A, 0xCC, 0x38})),
              hex(reportOf({0x02, 0x14, 0x1A, 0xCC, 0x00})));
    EXPECT_EQ(h.emulator.state().zwaveMemory.size(), 6860u);
}

namespace {

void setZwaveFaults(EmulatorHarness& h, const ZwaveFaults& z) {
    EmulatorFaults f;
    f.zwave = z;
    h.emulator.setFaults(f);
}

// The status bytes (report byte 8) of the progress frames among `replies`.
std::vector<int> statuses(const std::vector<Report>& replies, std::uint8_t function) {
    std::vector<int> out;
    for (const Report& r : replies) {
        if (r[6] == function && r[5] == 0x00) {
            out.push_back(r[8]);
        }
    }
    return out;
}

} // namespace

TEST(EmulatorZwaveFaults, NodeListMemoryAndResetCanStayUnanswered) {
    EmulatorHarness h;
    ASSERT_EQ(include(h), 2);
    setZwaveFaults(h, {.noNodeList = true, .noMemoryReplies = true, .noResetCallback = true});
    EXPECT_EQ(h.ask(hostFrame({0x02})), hex(kAck));
    EXPECT_TRUE(h.send(reportOf({0x02, 0x14, 0x00, 0x38, 0x1C})).empty());
    EXPECT_EQ(h.ask(hostFrame({0x42, 0x02})), hex(kAck));
    EXPECT_TRUE(h.advance(10s).empty());
    setZwaveFaults(h, {});
    EXPECT_EQ(firstMaskByte(h), 0x01) << "the reset happened all the same";
}

TEST(EmulatorZwaveFaults, InclusionAndExclusionFailAfterThePress) {
    EmulatorHarness h;
    setZwaveFaults(h, {.nobodyPresses = true});
    h.send(hostFrame({0x4A, 0x01, 0x30}));
    EXPECT_EQ(statuses(h.advance(30s), 0x4A), std::vector<int>{1});
    h.send(hostFrame({0x4A, 0x05, 0x00}));

    setZwaveFaults(h, {.inclusionFails = true});
    h.send(hostFrame({0x4A, 0x01, 0x30}));
    EXPECT_EQ(statuses(h.advance(10s), 0x4A), (std::vector<int>{1, 2, 7}));
    h.send(hostFrame({0x4A, 0x05, 0x00}));
    EXPECT_EQ(firstMaskByte(h), 0x01) << "nobody joined";

    setZwaveFaults(h, {});
    ASSERT_EQ(include(h), 2);
    setZwaveFaults(h, {.exclusionFails = true});
    h.emulator.setButtonTarget(0);
    h.send(hostFrame({0x4B, 0x01, 0x09}));
    EXPECT_EQ(statuses(h.advance(10s), 0x4B), (std::vector<int>{1, 2, 7}));
    h.send(hostFrame({0x4B, 0x05, 0x00}));
    EXPECT_EQ(firstMaskByte(h), 0x03) << "node 2 is still in the network";
}

TEST(EmulatorZwaveFaults, SendsThatNoPlugHearsOrThatAreNeverReported) {
    EmulatorHarness h;
    ASSERT_EQ(include(h), 2);
    setZwaveFaults(h, {.plugsDeaf = true});
    h.send(basicSet(2, 0xFF));
    EXPECT_EQ(h.advance(599ms).size(), 1u); // the response only
    EXPECT_EQ(hex(h.advance(1ms).at(0)), hex(moduleRequest({0x13, 0x43, 0x01})));
    setZwaveFaults(h, {});
    EXPECT_EQ(levelOf(h, 2), 0) << "the switch never heard it";

    setZwaveFaults(h, {.noSendCallback = true});
    h.send(basicSet(2, 0xFF));
    EXPECT_EQ(h.advance(10s).size(), 1u); // the response, and no end of send
    setZwaveFaults(h, {});
    EXPECT_EQ(levelOf(h, 2), 0xFF) << "yet the switch did hear it";
}

TEST(EmulatorZwaveFaults, LearningEndsAsAskedAndEmittingCanFail) {
    struct Case {
        std::uint8_t outcome;
        std::chrono::milliseconds after; // from the ready report to the outcome
        int emitted;                     // report to emitting the key afterwards
    };
    for (const Case c : {Case{3, 2000ms, 6}, Case{4, 2000ms, 7}, Case{5, 10000ms, 7}}) {
        EmulatorHarness h;
        include(h);
        include(h);
        ASSERT_EQ(include(h), 4);
        setZwaveFaults(h, {.learnOutcome = c.outcome});
        h.send(basicSet(4, 192 + 9, 0x44));
        const auto first = h.advance(210ms);
        ASSERT_EQ(first.size(), 3u);
        EXPECT_EQ(hex(first[2]), hex(basicReport(4, 2)));
        EXPECT_TRUE(h.advance(c.after - 1ms).empty()) << int(c.outcome);
        const auto end = h.advance(1ms);
        ASSERT_EQ(end.size(), 1u) << int(c.outcome);
        EXPECT_EQ(hex(end[0]), hex(basicReport(4, c.outcome)));
        h.send(basicSet(4, 128 + 9, 0x44));
        EXPECT_EQ(hex(h.advance(1s).back()), hex(basicReport(4, std::uint8_t(c.emitted))));
    }

    EmulatorHarness h;
    include(h);
    include(h);
    ASSERT_EQ(include(h), 4);
    h.send(basicSet(4, 192, 0x44));
    h.advance(5s);
    setZwaveFaults(h, {.emitFails = true});
    h.send(basicSet(4, 128, 0x44));
    EXPECT_EQ(hex(h.advance(1s).back()), hex(basicReport(4, 7)));
}
