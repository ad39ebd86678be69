// quiloctl room: the layout block and each loudspeaker's distance and correction.
#include "support/RunCommand.h"

#include <gtest/gtest.h>

using quilo::test::runCommand;

namespace {

std::string quiloctl(const std::string& args) {
    return std::string(QUILOCTL_PATH) + " room " + args + " 2>/dev/null";
}

} // namespace

TEST(RoomCommand, PrintsTheBlockThenDistanceAndCorrectionPerLoudspeaker) {
    const auto r = runCommand(quiloctl("4 4 0 0 -1 1 0 1 1 1 -1 -1 0 -1 1 -1 -0.5 0 0.5 0"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "04 04 80 80 8A 0A 80 0A 0A 0A 8A 8A 80 8A 0A 8A 85 80 05 80\n"
                     "0 1.41421354 -1.24264061\n"
                     "1 1 0\n"
                     "2 1.41421354 -1.24264061\n"
                     "3 1.41421354 -1.24264061\n"
                     "4 1 0\n"
                     "5 1.41421354 -1.24264061\n"
                     "6 0.5 1.5\n"
                     "7 0.5 1.5\n");
}

TEST(RoomCommand, TakesValuesInAsTheRoomPageDoes) {
    // Width 0 becomes 1 m, length 12 becomes 10 m; the listener's x of 7 goes to
    // the edge (0.5 m), y -9 to -5 m, and so does CEN's x of -0.55 (-0.5 m, 85).
    // L's 0.04 m is the 0 m the block keeps (written 80), and its distance is taken from
    // that, as the page does when it is opened again.
    const auto r = runCommand(quiloctl("0 12 7 -9 0.04 0 -0.55 +1e0 0 0 0 0 0 0 0 0 0 0 0 0"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, 60), "01 0A 05 B2 80 80 85 0A 80 80 80 80 80 80 80 80 80 80 80 80\n");
    // L from (0.5, -5): dx 0.5, dy 5.
    EXPECT_NE(r.out.find("\n0 5.02493763 -12.0748129\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n2 5.02493763 -12.0748129\n"), std::string::npos) << r.out;
}

TEST(RoomCommand, UsageErrorsExitTwoWithNothingOnStandardOutput) {
    const char* bad[] = {
        "",                                                           // nothing
        "4 4 0 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1",                      // one short
        "4 4 0 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1",                  // one too many
        "4.5 4 0 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1",                  // size not whole
        "4 4 0 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1m",                   // unit on a number
        "4 4 nan 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1",                  // not finite
        "4 99999999999999999999 0 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", // beyond a long
    };
    for (const char* args : bad) {
        const auto r = runCommand(quiloctl(args));
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
    }
    const auto err = runCommand(std::string(QUILOCTL_PATH) +
                                " room 4 4 0 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1m 2>&1");
    EXPECT_NE(err.out.find("Y8"), std::string::npos) << err.out;
}
