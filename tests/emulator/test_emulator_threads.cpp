// The emulator transport under concurrent use: writers on two threads, the
// reader on a third. Also run under ThreadSanitizer (label "threads").
#include "emulator/EmulatorTransport.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

using namespace quilo;
using namespace quilo::test;
using namespace std::chrono_literals;

namespace {

Report setLevel(std::uint8_t module, std::uint32_t word) {
    return reportOf({0x02, 0x09, 0x00, module, 24, 1, static_cast<std::uint8_t>(word >> 24),
                     static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 8),
                     static_cast<std::uint8_t>(word)});
}

} // namespace

TEST(EmulatorThreads, TwoWritersAndAReaderLoseNothing) {
    EmulatorOptions options;
    options.timings.learnKeyPress = 5ms;
    options.logCapacity = 0;
    Emulator emulator(options);
    EmulatorTransport t(emulator);
    ASSERT_TRUE(t.open(EmulatorTransport::kPath));

    constexpr int kPerWriter = 2000;
    std::atomic<bool> stop{false};
    std::atomic<int> acks{0}, learned{0}, other{0}, failures{0};

    std::thread reader([&] {
        Report r{};
        while (!stop) {
            const int n = t.read(r, 20ms);
            if (n < 0) {
                ++failures;
                return;
            }
            if (n == 0) {
                continue;
            }
            if (r[1] == 0x09 && r[2] == 0) {
                ++acks;
            } else if (r[1] == 0x60) {
                ++learned;
            } else {
                ++other;
            }
        }
    });
    // Writer A sets CH 1's level, writer B CH 2's, both with increasing words;
    // A also starts a key learning now and then, whose answer comes later.
    const auto writer = [&](std::uint8_t module, bool learn) {
        for (int i = 1; i <= kPerWriter; ++i) {
            if (t.write(setLevel(module, static_cast<std::uint32_t>(i))) != 61) {
                ++failures;
            }
            if (learn && i % 200 == 0) {
                t.write(reportOf({0x02, 0x60, 0x01}));
                std::this_thread::sleep_for(10ms);
            }
        }
    };
    std::thread a(writer, std::uint8_t{5}, true);
    std::thread b(writer, std::uint8_t{6}, false);
    a.join();
    b.join();

    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while ((acks < 2 * kPerWriter || learned < kPerWriter / 200) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    stop = true;
    reader.join();

    EXPECT_EQ(failures, 0);
    EXPECT_EQ(acks, 2 * kPerWriter);
    EXPECT_EQ(learned, kPerWriter / 200);
    EXPECT_EQ(other, 0);
    // The last word each writer sent is the one kept.
    t.withEmulator([&](Emulator& e) {
        EXPECT_EQ(e.state().params.at({5, 24})[0], std::uint32_t(kPerWriter));
        EXPECT_EQ(e.state().params.at({6, 24})[0], std::uint32_t(kPerWriter));
        EXPECT_EQ(e.receivedCount(), std::size_t(2 * kPerWriter + kPerWriter / 200));
    });
}

TEST(EmulatorThreads, CloseEndsABlockedRead) {
    Emulator emulator;
    EmulatorTransport t(emulator);
    ASSERT_TRUE(t.open(EmulatorTransport::kPath));
    auto blocked = std::async(std::launch::async, [&] {
        Report r{};
        return t.read(r, 60s);
    });
    std::this_thread::sleep_for(50ms);
    t.close();
    ASSERT_EQ(blocked.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(blocked.get(), -1);
}

TEST(EmulatorThreads, FaultsChangeWhileTheReaderWaits) {
    Emulator emulator;
    EmulatorTransport t(emulator);
    ASSERT_TRUE(t.open(EmulatorTransport::kPath));
    EmulatorFaults slow;
    slow.replyDelay = 60s;
    t.withEmulator([&](Emulator& e) { e.setFaults(slow); });
    auto waiting = std::async(std::launch::async, [&] {
        Report r{};
        return t.read(r, 60s);
    });
    t.write(reportOf({0x02, 0x80}));
    std::this_thread::sleep_for(50ms);
    EmulatorFaults unplug;
    unplug.unplugAfterReports = 0;
    t.withEmulator([&](Emulator& e) { e.setFaults(unplug); });
    ASSERT_EQ(waiting.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(waiting.get(), -1);
}
