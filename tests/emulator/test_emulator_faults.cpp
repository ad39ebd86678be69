// Fault modes of the emulated processor, and its HID transport.
#include "EmulatorHarness.h"
#include "emulator/EmulatorTransport.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;
using namespace std::chrono_literals;

namespace {

const Report kGetModel = reportOf({0x02, 0x80});
const Report kModelReply = reportOf({0x02, 0x80, 'M', 'I', 'V', 'R', 'A', 'X'});

} // namespace

TEST(EmulatorFaults, SilentProcessorAnswersNothingButStillListens) {
    EmulatorHarness h;
    EmulatorFaults faults;
    faults.silent = true;
    h.emulator.setFaults(faults);
    EXPECT_TRUE(h.send(kGetModel).empty());
    EXPECT_TRUE(h.send(reportOf({0x02, 0x09, 0x00, 0x01, 0x0E, 0x01, 0x3F, 0x80})).empty());
    h.send(reportOf({0x02, 0x60, 0x03}));
    EXPECT_TRUE(h.advance(10s).empty());

    h.emulator.setFaults({});
    EXPECT_EQ(h.ask(reportOf({0x02, 0x0A, 0x00, 0x01, 0x0E, 0x01})),
              hex(reportOf({0x02, 0x0A, 0x00, 0x01, 0x0E, 0x01, 0x3F, 0x80})));
}

TEST(EmulatorFaults, SlowRepliesComeLaterAndDelayedOnesLaterStill) {
    EmulatorOptions options;
    options.timings.learnKeyPress = 1500ms;
    EmulatorHarness h(options);
    EmulatorFaults faults;
    faults.replyDelay = 700ms;
    h.emulator.setFaults(faults);

    EXPECT_TRUE(h.send(kGetModel).empty());
    EXPECT_TRUE(h.advance(699ms).empty());
    const auto r = h.advance(1ms);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(hex(r[0]), hex(kModelReply));

    h.send(reportOf({0x02, 0x60, 0x01}));
    EXPECT_TRUE(h.advance(2199ms).empty());
    EXPECT_EQ(h.advance(1ms).size(), 1u);
}

TEST(EmulatorFaults, WrongIdentityAndParameterErrors) {
    EmulatorHarness h;
    EmulatorFaults faults;
    faults.modelName = "OTHERBOX";
    faults.protocolVersion = 17;
    faults.paramErrorCode = 0x05;
    h.emulator.setFaults(faults);
    EXPECT_EQ(h.ask(kGetModel),
              hex(reportOf({0x02, 0x80, 'O', 'T', 'H', 'E', 'R', 'B', 'O', 'X'})));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x7F})), hex(reportOf({0x02, 0x7F, 0x11})));
    // The words still come with the error code.
    EXPECT_EQ(h.ask(reportOf({0x02, 0x0A, 0x00, 0x01, 0x0E, 0x01})),
              hex(reportOf({0x02, 0x0A, 0x05, 0x01, 0x0E, 0x01, 0x3F, 0x00, 0x20, 0xC5})));
    // Acknowledgements of SetParam are not affected.
    EXPECT_EQ(h.ask(reportOf({0x02, 0x09, 0x00, 0x01, 0x0E, 0x01})),
              hex(reportOf({0x02, 0x09, 0x00, 0x01, 0x0E, 0x01})));
}

TEST(EmulatorFaults, UnpluggedAfterNReports) {
    EmulatorHarness h;
    h.send(kGetModel); // before the fault: not counted
    EmulatorFaults faults;
    faults.unplugAfterReports = 2;
    h.emulator.setFaults(faults);

    EXPECT_EQ(h.send(kGetModel).size(), 1u);
    EXPECT_FALSE(h.emulator.unplugged());
    EXPECT_TRUE(h.send(kGetModel).empty()) << "the second is taken, its answer lost";
    EXPECT_TRUE(h.emulator.unplugged());
    EXPECT_TRUE(h.send(kGetModel).empty());
    EXPECT_EQ(h.emulator.receivedCount(), 3u);

    h.emulator.replug();
    EXPECT_EQ(h.send(kGetModel).size(), 1u);
}

TEST(EmulatorFaults, AFloodOfStatusRepliesComesUnaskedBesideTheAnswers) {
    EmulatorHarness h;
    EmulatorFaults faults;
    faults.statusFlood = 1ms;
    h.emulator.setFaults(faults);
    auto got = h.collect();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0][1], 0x0E);
    EXPECT_EQ(h.emulator.nextDue(), h.now + 1ms);
    got = h.send(kGetModel); // the next status is not due yet: the answer alone
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(hex(got[0]), hex(kModelReply));
    got = h.advance(1ms);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0][1], 0x0E);

    faults.silent = true; // silence wins
    h.emulator.setFaults(faults);
    EXPECT_TRUE(h.advance(5ms).empty());
    EXPECT_FALSE(h.emulator.nextDue().has_value());
}

TEST(EmulatorTransport, OneInterfaceWithTheProcessorsIds) {
    Emulator emulator;
    EmulatorTransport t(emulator);
    EXPECT_EQ(t.interfacePaths(), std::vector<std::string>{"emulator://0"});
    Report r{};
    EXPECT_EQ(t.read(r, 0ms), -1);
    EXPECT_EQ(t.write(kGetModel), -1);
    EXPECT_FALSE(t.attributes());
    EXPECT_FALSE(t.open("/dev/hidraw0"));

    ASSERT_TRUE(t.open("emulator://0"));
    const auto ids = t.attributes();
    ASSERT_TRUE(ids);
    EXPECT_EQ(ids->vendorId, 0x2010);
    EXPECT_EQ(ids->productId, 0x1031);

    EXPECT_EQ(t.read(r, 0ms), 0);
    EXPECT_EQ(t.write(kGetModel), 61);
    EXPECT_EQ(t.read(r, 1s), 61);
    EXPECT_EQ(hex(r), hex(kModelReply));
    EXPECT_EQ(t.read(r, 10ms), 0);

    t.close();
    EXPECT_EQ(t.write(kGetModel), -1);
    EXPECT_EQ(t.read(r, 0ms), -1);
}

TEST(EmulatorTransport, DelayedRepliesWaitInTheQueueNotInWrite) {
    EmulatorOptions options;
    options.timings.learnKeyPress = 50ms;
    Emulator emulator(options);
    EmulatorTransport t(emulator);
    ASSERT_TRUE(t.open(EmulatorTransport::kPath));

    EmulatorFaults slow;
    slow.replyDelay = 2s;
    t.withEmulator([&](Emulator& e) { e.setFaults(slow); });
    Report r{};
    ASSERT_EQ(t.write(kGetModel), 61);
    // Had write() slept the delay, the reply would be here already.
    EXPECT_EQ(t.read(r, 0ms), 0);
    EXPECT_EQ(t.read(r, 10s), 61);
    EXPECT_EQ(hex(r), hex(kModelReply));

    t.withEmulator([](Emulator& e) { e.setFaults({}); });
    ASSERT_EQ(t.write(reportOf({0x02, 0x60, 0x0A})), 61);
    EXPECT_EQ(t.read(r, 0ms), 0);
    EXPECT_EQ(t.read(r, 10s), 61);
    EXPECT_EQ(hex(r), hex(reportOf({0x02, 0x60, 0x20, 0x0A, 0x4A})));
}

TEST(EmulatorTransport, ClosingDropsWhatWasOnItsWay) {
    EmulatorOptions options;
    options.timings.learnKeyPress = 100ms;
    Emulator emulator(options);
    EmulatorTransport t(emulator);
    ASSERT_TRUE(t.open(EmulatorTransport::kPath));
    t.write(reportOf({0x02, 0x60, 0x0A}));
    t.close();
    ASSERT_TRUE(t.open(EmulatorTransport::kPath));
    Report r{};
    EXPECT_EQ(t.read(r, 400ms), 0);
}

TEST(EmulatorTransport, UnpluggedDeviceFailsReadsWritesAndDisappears) {
    Emulator emulator;
    EmulatorTransport t(emulator);
    ASSERT_TRUE(t.open(EmulatorTransport::kPath));
    EmulatorFaults faults;
    faults.unplugAfterReports = 1;
    t.withEmulator([&](Emulator& e) { e.setFaults(faults); });

    EXPECT_EQ(t.write(kGetModel), 61);
    Report r{};
    EXPECT_EQ(t.read(r, 100ms), -1);
    EXPECT_EQ(t.write(kGetModel), -1);
    EXPECT_TRUE(t.interfacePaths().empty());
    t.close();
    EXPECT_FALSE(t.open(EmulatorTransport::kPath));

    t.withEmulator([](Emulator& e) { e.replug(); });
    EXPECT_EQ(t.interfacePaths().size(), 1u);
    ASSERT_TRUE(t.open(EmulatorTransport::kPath));
    EXPECT_EQ(t.write(kGetModel), 61);
    EXPECT_EQ(t.read(r, 1s), 61);
}
