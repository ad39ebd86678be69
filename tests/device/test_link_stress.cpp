// Many writers at once against a replying processor, and a link closed and
// opened again under them. Meant to run under ThreadSanitizer as well.
#include "FakeTransport.h"
#include "device/ReportWriter.h"
#include "device/UsbLink.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorTransport.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <map>

using namespace quilo;
using namespace quilo::test;

namespace {

UsbLinkOptions options() {
    UsbLinkOptions o;
    o.pacingWait = 2000ms;
    o.closeWait = 500ms;
    o.readSlice = 2ms;
    return o;
}

// Writer `who` numbers its reports in bytes 3 and 6-7.
Report numbered(std::uint8_t who, int n) {
    return reportOf({0x02, 0x0A, 0x00, who, 0x01, 0x01, static_cast<std::uint8_t>(n >> 8),
                     static_cast<std::uint8_t>(n & 0xFF)});
}

int numberOf(const Report& r) {
    return (r[6] << 8) | r[7];
}

} // namespace

TEST(LinkStress, WorkersAndTheQueuedWriterShareTheLinkWithoutLosingOrder) {
    FakeTransport transport;
    transport.setReplyDelay(20us);
    RecordingHandler handler;
    DebugLog log;
    UsbLink link(transport, handler, log, options());
    ReportWriter writer(link);
    ASSERT_TRUE(link.openLink());

    constexpr int kWorkers = 4;
    constexpr int kPerWorker = 150;
    std::vector<std::thread> workers;
    std::atomic<int> failures{0};
    for (int w = 0; w < kWorkers; ++w) {
        workers.emplace_back([&, w] {
            for (int n = 0; n < kPerWorker; ++n) {
                // Paced and unpaced writes mixed, as synchronisation and Z-Wave workers do.
                const Report r = numbered(static_cast<std::uint8_t>(10 + w), n);
                const int result = (n % 5 == 0) ? link.writeUnpaced(r) : link.WriteUsbData(r);
                if (result != 61) {
                    ++failures;
                }
            }
        });
    }
    for (int n = 0; n < kPerWorker; ++n) { // the user-interface thread
        if (writer.send(numbered(1, n)) != 61) {
            ++failures;
        }
    }
    for (auto& t : workers) {
        t.join();
    }
    writer.flush();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(link.pacingTimeouts(), 0u);

    // Every report arrived once, and each sender's reports in its own order.
    std::map<int, int> next;
    const auto written = transport.writtenReports();
    EXPECT_EQ(written.size(), static_cast<std::size_t>((kWorkers + 1) * kPerWorker));
    for (const Report& r : written) {
        EXPECT_EQ(numberOf(r), next[r[3]]) << "sender " << int(r[3]);
        next[r[3]] = numberOf(r) + 1;
    }
    EXPECT_TRUE(handler.waitForReports(written.size()));
}

TEST(LinkStress, ClosingAndOpeningUnderWritersNeverCrashesOrMixesConnections) {
    FakeTransport transport;
    transport.setReplyDelay(50us);
    RecordingHandler handler;
    DebugLog log;
    UsbLink link(transport, handler, log, options());
    ReportWriter writer(link);
    ASSERT_TRUE(link.openLink());

    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int w = 0; w < 3; ++w) {
        threads.emplace_back([&, w] {
            for (int n = 0; !stop; ++n) {
                const int result = link.WriteUsbData(numbered(static_cast<std::uint8_t>(w), n));
                EXPECT_TRUE(result == 0 || result == 61);
            }
        });
    }
    threads.emplace_back([&] {
        for (int n = 0; !stop; ++n) {
            const int result = writer.send(numbered(9, n % 3));
            EXPECT_TRUE(result == 0 || result == 61);
            if (n % 7 == 0) {
                writer.pause(1ms);
                std::this_thread::sleep_for(1ms); // a person's pace, not a flood
            }
        }
    });
    for (int round = 0; round < 25; ++round) {
        std::this_thread::sleep_for(3ms);
        link.closeLink(round % 2 == 0);
        EXPECT_FALSE(link.linkOpen());
        ASSERT_TRUE(link.openLink());
    }
    stop = true;
    for (auto& t : threads) {
        t.join();
    }
    writer.flush();
    EXPECT_FALSE(log.contains("wait read thread exited time out !\n"));
    // The last connection's read thread may not have run yet on a busy machine.
    EXPECT_TRUE(eventually([&] { return log.count("start thread: ReadUsbThreadProc \n") == 26u; }));
    // Every reply released a writer: no reply was lost across the reconnections.
    EXPECT_EQ(link.pacingTimeouts(), 0u);
    EXPECT_TRUE(link.linkOpen());
    EXPECT_GT(transport.writeCount(), 0u);
}

TEST(LinkStress, AgainstTheEmulatedProcessorEveryLastValueArrives) {
    Emulator emulator;
    EmulatorTransport transport(emulator);
    RecordingHandler handler;
    DebugLog log;
    UsbLink link(transport, handler, log, options());
    ReportWriter writer(link);
    ASSERT_TRUE(link.openLink());

    // Workers set the output level (parameter 24) of their own channel 0..99;
    // the user-interface thread drags the music volume (module 4, parameter 12).
    constexpr int kWorkers = 3;
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.emplace_back([&, w] {
            for (std::uint8_t n = 0; n < 100; ++n) {
                EXPECT_EQ(
                    link.WriteUsbData(reportOf(
                        {0x02, 0x09, 0x00, static_cast<std::uint8_t>(5 + w), 24, 1, 0, 0, 0, n})),
                    61);
            }
        });
    }
    for (int n = 0; n <= 300; ++n) {
        writer.send(reportOf({0x02, 0x09, 0x00, 4, 12, 1, 0, 0, static_cast<std::uint8_t>(n >> 8),
                              static_cast<std::uint8_t>(n & 0xFF)}));
    }
    for (auto& t : workers) {
        t.join();
    }
    writer.flush();

    const auto [params, received] = transport.withEmulator(
        [](Emulator& e) { return std::make_pair(e.state().params, e.received()); });
    for (int w = 0; w < kWorkers; ++w) {
        const auto key = ParamKey{static_cast<std::uint8_t>(5 + w), 24};
        ASSERT_EQ(params.count(key), 1u);
        EXPECT_EQ(params.at(key), std::vector<std::uint32_t>{99});
    }
    EXPECT_EQ(params.at(ParamKey{4, 12}), std::vector<std::uint32_t>{300});
    // Each channel's values arrived in the order they were sent.
    std::map<int, std::uint32_t> last;
    for (const Report& r : received) {
        const std::uint32_t value = wordAt(r, 6);
        if (last.count(r[3]) != 0) {
            EXPECT_GT(value, last[r[3]]) << "module " << int(r[3]);
        }
        last[r[3]] = value;
    }
}

TEST(LinkStress, AnEmulatedProcessorUnpluggedMidStreamBreaksTheLink) {
    Emulator emulator;
    EmulatorTransport transport(emulator);
    RecordingHandler handler;
    DebugLog log;
    UsbLink link(transport, handler, log, options());
    std::atomic<int> pollStopped{0};
    link.setReadFailedCallback([&] { ++pollStopped; });
    ReportWriter writer(link);
    ASSERT_TRUE(link.openLink());
    transport.withEmulator([](Emulator& e) {
        EmulatorFaults faults;
        faults.unplugAfterReports = 20;
        e.setFaults(faults);
    });

    int accepted = 0;
    for (std::uint8_t n = 0; n < 60; ++n) {
        accepted += link.WriteUsbData(reportOf({0x02, 0x0A, 0x00, 4, n, 1})) == 61 ? 1 : 0;
    }
    EXPECT_EQ(accepted, 20);
    // The read thread notices on its next read and then tells the poll to stop;
    // on a busy machine that may come after the last write above.
    ASSERT_TRUE(eventually([&] { return link.readThreadEnd() && pollStopped.load() > 0; }));
    EXPECT_EQ(pollStopped.load(), 1);
    EXPECT_TRUE(link.linkOpen()); // until the removal is noticed
    EXPECT_EQ(link.WriteUsbData(reportOf({0x02, 0x0A, 0x00, 4, 0, 1})), 0);
    EXPECT_EQ(writer.send(reportOf({0x02, 0x0E})), 0);
    EXPECT_GE(log.count("g_bReadThreadEnd == TRUE ,WriteUsbData return \n"), 1u);
}
