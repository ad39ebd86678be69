// quiloctl response: outputs of a mode file, alone, summed and at the listener.
#include "cli/CliFiles.h"
#include "device/RecordingSink.h"
#include "model/BandOps.h"
#include "model/ModeFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>

using namespace quilo;
using namespace quilo::test;

namespace {

std::string quiloctl(const std::string& args) {
    return std::string(QUILOCTL_PATH) + " response " + args + " 2>/dev/null";
}

// Output 1 with a +6 dB peaking band at 1 kHz, output 3 inverted; no delays; every other
// output flat. Outputs 1 and 3 drive L and R, 1.41 m from the centred listener.
std::string writeFile(const TempFolder& dir) {
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    RecordingSink sink;
    BandOps bands(*image, sink);
    for (int ch = 0; ch < 8; ++ch) {
        bands.resetEq(kFirstOutputEqId + ch);
        image->params.outDelayBypass[static_cast<std::size_t>(ch)] = 1;
        image->params.outMute[static_cast<std::size_t>(ch)] = 0;
        image->params.outLevel[static_cast<std::size_t>(ch)] = 100;
    }
    bands.applyBand(kFirstOutputEqId, 0, 1, 6.0f, 1000.0f, 1.414f);
    image->params.outLocation[0] = 0;
    image->params.outLocation[2] = 1;
    image->params.outLocation[3] = 99; // no loudspeaker
    image->params.outPhase[2] = 1;
    const std::string file = dir / "a.quilo";
    EXPECT_TRUE(writeModeFile(file, *image).ok());
    return file;
}

} // namespace

TEST(ResponseCommand, PrintsOneLinePerFrequency) {
    const TempFolder dir("response");
    const std::string file = writeFile(dir);
    const double nan = std::nan("");
    const double travelMs = std::sqrt(2.0) / 343.0 * 1000.0;
    struct Case {
        const char* args;
        double freq, db, phase, ms; // ms NaN: not worked out
    };
    const Case cases[] = {
        {"1 --freqs 1000", 1000, 6, 0, nan},
        // Inverted and flat: 0 dB at 180 degrees.
        {"3 --freqs 440", 440, 0, 180, 0},
        // The +6 dB peak less the inverted flat output.
        {"1,3 --freqs 1000", 1000, 20 * std::log10(std::pow(10.0, 0.3) - 1), 0, nan},
        // sqrt(2) m from the listener: -3.0103 dB re 1 m, and as late as the travel;
        // output 4 has no loudspeaker and is left out.
        {"3,4 --listener --freqs 343", 343, -10 * std::log10(2.0),
         std::remainder(180.0 - 360.0 * 343.0 * travelMs / 1000.0, 360.0), travelMs},
    };
    for (const Case& c : cases) {
        const auto r = runCommand(quiloctl(file + " " + c.args));
        EXPECT_EQ(r.status, 0) << c.args;
        double f = 0, db = 0, phase = 0, ms = 0;
        ASSERT_EQ(std::sscanf(r.out.c_str(), "%lf %lf %lf %lf", &f, &db, &phase, &ms), 4) << c.args;
        EXPECT_EQ(f, c.freq) << c.args;
        EXPECT_NEAR(db, c.db, 1e-4) << c.args;
        EXPECT_NEAR(std::remainder(phase - c.phase, 360.0), 0.0, 1e-3) << c.args;
        if (!std::isnan(c.ms)) {
            EXPECT_NEAR(ms, c.ms, 1e-5) << c.args;
        }
    }

    // The default grid: 241 lines, 1 kHz at +6 dB among them.
    const auto all = runCommand(quiloctl(file + " 1"));
    EXPECT_EQ(splitLines(all.out).size(), 241u);
    EXPECT_NE(all.out.find("\n1000 6 "), std::string::npos);
}

TEST(ResponseCommand, UsageErrorsExitTwoAndAnUnreadableFileOne) {
    const TempFolder dir("response-bad");
    const std::string file = writeFile(dir);
    const std::string bad[] = {
        "",
        file,
        file + " 0",
        file + " 9",
        file + " 1,1",
        file + " 1,",
        file + " 1 --freqs",
        file + " 1 --freqs 0",
        file + " 1 --freqs 100,abc",
        file + " 1 --freqs 30000",
        file + " 1 --loud",
        file + " 1 2",
    };
    for (const std::string& args : bad) {
        const auto r = runCommand(quiloctl(args));
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
    }
    const auto missing = runCommand(quiloctl(dir / "none.quilo" + " 1"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
}
