// quiloctl's protocol trace: --trace and QUILO_TRACE, trace show and replay.
#include "cli/CliFiles.h"
#include "device/TraceLine.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace quilo;
using namespace quilo::test;

namespace {

std::vector<std::string> fileLines(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

void writeLines(const std::string& file, const std::vector<std::string>& lines) {
    std::ofstream out(file);
    for (const std::string& line : lines) {
        out << line << '\n';
    }
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A read-back of an emulated processor, traced; the processor's state is kept for the replay.
struct TracedPull : ::testing::Test {
    TempFolder dir{"trace"};
    std::string state = dir / "state.emu";
    std::string trace = dir / "pull.trace";
    void SetUp() override {
        ASSERT_EQ(
            quiloctlOut("--emulate=" + state + " --trace " + trace + " pull " + dir / "back.quilo")
                .status,
            0);
    }
};

} // namespace

TEST_F(TracedPull, RecordsBothWaysInTimeOrderAndReplaysWithoutADifference) {
    const auto lines = fileLines(trace);
    ASSERT_GT(lines.size(), 200u);
    std::uint64_t last = 0;
    int outs = 0;
    int ins = 0;
    for (const std::string& line : lines) {
        const auto e = parseTraceLine(line);
        ASSERT_TRUE(e) << line;
        EXPECT_GE(e->timeUs, last);
        last = e->timeUs;
        (e->direction == TraceDirection::Out ? outs : ins)++;
    }
    EXPECT_GT(outs, 100);
    EXPECT_GT(ins, 100);

    const auto replay = quiloctlOut("--emulate=" + state + " replay " + trace);
    EXPECT_EQ(replay.status, 0) << replay.out;
    EXPECT_EQ(replay.out, "");
}

TEST_F(TracedPull, ReplayPrintsEveryDifferenceButLetsLiveValuesMove) {
    auto lines = fileLines(trace);
    // A status poll whose meters read otherwise now: not a difference.
    const std::string start = std::to_string(parseTraceLine(lines[0])->timeUs);
    std::string poll = start + " out 02 0E";
    std::string status = start + " in 02 0E";
    for (int i = 2; i < 61; ++i) {
        poll += " 00";
        status += " 5A";
    }
    lines.insert(lines.begin(), {poll, status});
    // A parameter reply recorded with another value: a difference.
    std::size_t changed = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(" in 02 0A ") != std::string::npos) {
            lines[i].replace(lines[i].size() - 2, 2, "77");
            changed = i + 1;
            break;
        }
    }
    ASSERT_NE(changed, 0u);
    // The difference is headed by the outgoing report recorded last before that reply.
    std::size_t heading = changed - 1;
    while (heading > 0 && lines[heading - 1].find(" out ") == std::string::npos) {
        --heading;
    }
    const std::string tampered = dir / "tampered.trace";
    writeLines(tampered, lines);

    const auto replay = quiloctlOut("--emulate=" + state + " replay " + tampered);
    EXPECT_EQ(replay.status, 1);
    const auto out = splitLines(replay.out);
    ASSERT_EQ(out.size(), 4u) << replay.out;
    EXPECT_TRUE(out[0].starts_with("line " + std::to_string(heading) + ": ")) << out[0];
    EXPECT_TRUE(contains(out[0], " out 0x")) << out[0];
    EXPECT_TRUE(out[1].starts_with("  recorded: 02 0A") && out[1].ends_with(" 77")) << out[1];
    EXPECT_TRUE(out[2].starts_with("  now:      02 0A")) << out[2];
    EXPECT_EQ(out[3], "1 replies differ");
}

TEST_F(TracedPull, ShowNamesCommandsFieldsAndReplyCodes) {
    const auto sent = quiloctlOut("send micVolume 50");
    ASSERT_EQ(sent.status, 0);
    auto lines = fileLines(trace);
    const std::size_t traced = lines.size();
    lines.push_back("7 out " + splitLines(sent.out)[0]);
    lines.push_back("torn 02 0");
    const std::string file = dir / "show.trace";
    writeLines(file, lines);

    const auto shown = quiloctlOut("trace show " + file);
    EXPECT_EQ(shown.status, 0);
    const auto out = splitLines(shown.out);
    ASSERT_EQ(out.size(), traced + 2);
    EXPECT_TRUE(contains(shown.out, " out 0x80 GetModel\n"));
    EXPECT_TRUE(contains(shown.out, " out 0x0A GetParam micVolume\n"));
    EXPECT_TRUE(contains(shown.out, " in 0x0A GetParam micVolume="));
    EXPECT_TRUE(contains(shown.out, " in 0x0A GetParam outDelayMs[2]="));
    EXPECT_TRUE(contains(shown.out, " out 0x86 ReadMemory band[1,0] band[1,1]"));
    EXPECT_TRUE(contains(shown.out, " in 0x86 ReadMemory band[1,0]="));
    EXPECT_EQ(out[traced], "7 out 0x09 SetParam micVolume=50");
    EXPECT_EQ(out[traced + 1], "line " + std::to_string(traced + 2) + ": not a trace line");
}

TEST(TraceCommands, EnvironmentTraceAndUsage) {
    const TempFolder dir("trace-env");
    const std::string trace = dir / "env.trace";
    const auto info = runCommand("QUILO_TRACE=" + trace + " " + QUILOCTL_PATH +
                                 " --emulate info >/dev/null 2>&1; echo $?");
    EXPECT_EQ(info.out, "0\n");
    const auto lines = fileLines(trace);
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(contains(lines[0], " out 02 ")) << lines[0];

    for (const std::string args :
         {"trace", "trace show", "trace list x", "replay", "--trace", "replay a b"}) {
        EXPECT_EQ(quiloctlOut(args).status, 2) << args;
    }
    EXPECT_EQ(quiloctlOut("trace show " + dir / "none").status, 1);
    EXPECT_EQ(quiloctlOut("--emulate replay " + dir / "none").status, 1);
    EXPECT_EQ(quiloctlOut("--trace " + dir / "no/such" + " --emulate info").status, 1);
}
