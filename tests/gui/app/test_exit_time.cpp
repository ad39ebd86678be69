// The end of the program never hangs on the processor: whatever it does, closing
// the main window is over in about a second, the user's last change and the goodbye
// go out first when the processor can still take them.
#include "AppHarness.h"
#include "support/Bytes.h"

#include <QSlider>

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <iostream>

using namespace quilo;
using namespace quilo::test;
using namespace std::chrono_literals;

namespace {

// Generous: a check that the exit never waits out pacing or close waits, not a timing.
// The figures themselves are printed.
constexpr qint64 kExitBoundMs = 1500;

struct ExitCase {
    const char* name;
    EmulatorFaults faults;
    bool duringReadBack = false; // closed while a read-back owns the image
    bool reachesProcessor = true;
};

void PrintTo(const ExitCase& c, std::ostream* os) {
    *os << c.name;
}

EmulatorFaults silent() {
    EmulatorFaults f;
    f.silent = true;
    return f;
}
EmulatorFaults slow() {
    EmulatorFaults f;
    f.replyDelay = 1000ms;
    return f;
}
EmulatorFaults unplugged() {
    EmulatorFaults f;
    f.unplugAfterReports = 0;
    return f;
}
EmulatorFaults flood() {
    EmulatorFaults f;
    f.statusFlood = 200us;
    return f;
}

class ExitTime : public ::testing::TestWithParam<ExitCase> {};

} // namespace

TEST_P(ExitTime, ClosingTakesAboutASecondAtMost) {
    const ExitCase& c = GetParam();
    AppHarness h(true, kEnglish);
    h.start();
    ASSERT_TRUE(h.app->connected());
    h.emulator([&](Emulator& e) { e.setFaults(c.faults); });
    // The user's last change, just before closing.
    h.ribbon().slider(ribbon::Slider::Mic, 0)->setValue(37);
    pump(50);
    if (c.duringReadBack) {
        h.view().connection().startPull();
        pump(100);
        ASSERT_FALSE(h.image().mainThreadOwns());
    }

    h.prompter->yesNoCancel.push_back(Prompter::Answer::No); // unsaved changes: let them go
    QElapsedTimer clock;
    clock.start();
    h.app->mainFrame()->close();
    // A close during a read-back waits for the image to come back.
    ASSERT_TRUE(waitUntil([&] { return !h.app->mainFrame()->isVisible(); }, 10000));
    const std::vector<Report> got = h.received();
    h.app.reset();
    const qint64 took = clock.elapsed();
    std::cout << "exit with " << c.name << ": " << took << " ms\n";
    RecordProperty("exit_ms", static_cast<int>(took));
    EXPECT_LT(took, kExitBoundMs);

    if (c.reachesProcessor) {
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(got.back()[1], 0x8A); // the goodbye comes last
        if (!c.duringReadBack) {
            const auto micVolume = std::find_if(got.rbegin(), got.rend(), [](const Report& r) {
                return r[1] == 0x09 && r[3] == 1 && r[4] == 14;
            });
            ASSERT_NE(micVolume, got.rend());
            EXPECT_EQ(wordAt(*micVolume, 6),
                      std::bit_cast<std::uint32_t>(static_cast<float>(0.37 + 0.0005)));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    WhateverTheProcessorDoes, ExitTime,
    ::testing::Values(ExitCase{"an answering processor", {}},
                      ExitCase{"a silent processor", silent()},
                      ExitCase{"a silent processor during a read-back", silent(), true},
                      ExitCase{"replies after 1 s", slow()},
                      ExitCase{"replies after 1 s during a read-back", slow(), true},
                      ExitCase{"a flood of status replies", flood()},
                      ExitCase{"a processor pulled out", unplugged(), false, false}),
    [](const ::testing::TestParamInfo<ExitCase>& info) {
        std::string name;
        for (const char* p = info.param.name; *p != '\0'; ++p) {
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        }
        return name;
    });
