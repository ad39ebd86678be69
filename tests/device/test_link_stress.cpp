// Many writers at once against a replying processor, and a link closed and
// opened again under them. Meant to run under ThreadSanitizer as well.
#include "FakeTransport.h"
#include "device/ReportWriter.h"
#include "device/UsbLink.h"
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
    LiveStatus status;
    DebugLog log;
    UsbLink link(transport, handler, status, log, options());
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
    LiveStatus status;
    DebugLog log;
    UsbLink link(transport, handler, status, log, options());
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
    EXPECT_EQ(log.count("start thread: ReadUsbThreadProc \n"), 26u);
    EXPECT_TRUE(link.linkOpen());
    EXPECT_GT(transport.writeCount(), 0u);
}
