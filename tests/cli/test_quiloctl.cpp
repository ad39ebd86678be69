// The command-line tool end to end: outputs and usage errors.
#include "support/RunCommand.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

using quilo::test::runCommand;

namespace {

std::string quiloctl(const std::string& args) {
    return std::string(QUILOCTL_PATH) + " " + args + " 2>/dev/null";
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

std::string zeros(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
        s += " 00";
    }
    return s;
}

} // namespace

TEST(Quiloctl, SendPrintsEachReportAsHex) {
    const auto r = runCommand(quiloctl("send micVolume 50"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "02 09 00 01 0E 01 3F 00 20 C5" + zeros(51) + "\n");

    const auto delay = runCommand(quiloctl("send 'outDelayMs[2]' 1.0"));
    EXPECT_EQ(delay.out, "02 09 00 07 12 01 00 00 00 48" + zeros(51) + "\n");

    // The boost slider at 12 stores -12 dB (C1 40) and sends seven reports.
    const auto boost = lines(runCommand(quiloctl("send micBoost 12")).out);
    ASSERT_EQ(boost.size(), 7u);
    EXPECT_EQ(boost[0], "02 85 05 19 02 C1 40" + zeros(54));

    // A shifter at 0 Hz is off: only its flag goes out, no saturated delay word.
    EXPECT_EQ(runCommand(quiloctl("send shiftFreqA 0")).out,
              "02 09 00 01 21 01 00 00 00 01" + zeros(51) + "\n");

    EXPECT_EQ(lines(runCommand(quiloctl("send 'roomGain[7]' -2.5")).out).size(), 2u);
    EXPECT_EQ(lines(runCommand(quiloctl("send musicMute 0")).out).size(), 10u);
    const auto copy = runCommand(quiloctl("send micBoostOnCopy 1"));
    EXPECT_EQ(copy.status, 0);
    EXPECT_EQ(copy.out, "");
}

TEST(Quiloctl, BandPrintsRecordThenCoefficients) {
    const auto r = lines(runCommand(quiloctl("band 7 0 1 0 1000 1.414")).out);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], "02 85 01 96 07 00 96 03 E8 05 86 01" + zeros(49));
    EXPECT_EQ(r[1].substr(0, 18), "02 09 00 05 00 05 ");
}

TEST(Quiloctl, BiquadPrintsFiveNumbers) {
    const auto r = runCommand(quiloctl("biquad 1 0 1000 1.414"));
    EXPECT_EQ(r.status, 0);
    std::istringstream in(r.out);
    double b0, b1, b2, a1, a2;
    ASSERT_TRUE(in >> b0 >> b1 >> b2 >> a1 >> a2);
    // A flat peaking band passes everything: b0 = 1, b1 = a1, b2 = a2.
    EXPECT_DOUBLE_EQ(b0, 1.0);
    EXPECT_DOUBLE_EQ(b1, a1);
    EXPECT_DOUBLE_EQ(b2, a2);
}

TEST(Quiloctl, UsageErrorsExitTwoWithNothingOnStandardOutput) {
    const char* bad[] = {"send nosuchfield 1",
                         "send micVolume",
                         "send micVolume loud",
                         "send micVolume 1e999",
                         "send outLevel 5",
                         "send 'outLevel[8]' 5",
                         "send 'micVolume[0]' 5",
                         "send 'roomGain' 1",
                         "send 'outLevel[x]' 5",
                         "band 15 0 1 0 1000 1",
                         "band 2 7 1 0 1000 1",
                         "band 7 0 1 0 1000",
                         "band 7 0 1 zero 1000 1",
                         "biquad 1 0 1000",
                         "biquad x 0 1000 1",
                         "biquad 1 0 1000 1 0 9",
                         "send micVolume +-5",
                         "band 7 0 1 +-3 1000 1",
                         "frobnicate"};
    for (const char* args : bad) {
        const auto r = runCommand(quiloctl(args));
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
    }
    // The message names the problem on standard error.
    const auto err = runCommand(std::string(QUILOCTL_PATH) + " send nosuchfield 1 2>&1");
    EXPECT_NE(err.out.find("nosuchfield"), std::string::npos);
}

// The completion's list of send fields: every name is one send takes, every
// parameter word is named once, and the helper stays out of the help text.
TEST(Quiloctl, FieldListForCompletionIsWhatSendTakes) {
    const auto r = runCommand(quiloctl("__fields"));
    ASSERT_EQ(r.status, 0);
    const auto names = lines(r.out);
    // 216 words without the two unnamed ones, micBoost and eight room gains.
    EXPECT_EQ(names.size(), 216u - 2u + 1u + 8u);
    std::string script;
    for (const auto& name : names) {
        script += quiloctl("send '" + name + "' 1") + " >/dev/null || echo '" + name + "'; ";
    }
    EXPECT_EQ(runCommand(script).out, "") << "names send refuses";
    EXPECT_EQ(runCommand(quiloctl("--help")).out.find("__fields"), std::string::npos);
}
