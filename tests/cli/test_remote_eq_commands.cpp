// quiloctl remote, eq and diff: against mode files and the emulated processor.
#include "CliFiles.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorFile.h"
#include "model/Presets.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quilo;
using namespace quilo::test;

namespace {

std::vector<std::uint8_t> counting(std::size_t n, std::uint8_t first = 0) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<std::uint8_t>(first + i);
    }
    return bytes;
}

RemoteKeyTable emulatorTable(const std::string& state) {
    Emulator emulator;
    EXPECT_TRUE(loadEmulatorFile(state, emulator).ok());
    return emulator.state().remoteTable;
}

void writeText(const std::string& file, const std::string& text) {
    writeBytes(file, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// One run of quiloctl with its status and both streams.
struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};
CliRun shell(const std::string& command) {
    const std::string errFile =
        std::filesystem::temp_directory_path() / ("quiloctl-stderr-" + std::to_string(::getpid()));
    const CommandResult r = runCommand(command + " 2>" + errFile);
    const auto err = readBytes(errFile);
    std::filesystem::remove(errFile);
    return {r.status, r.out, std::string(err.begin(), err.end())};
}
CliRun quiloctl(const std::string& args) {
    return shell(std::string(QUILOCTL_PATH) + " " + args);
}

const char* const kRoom = "Filter Settings file\r\n\r\nFilter  1: ON  PK  Fc 63 Hz  Gain -18.0 dB  "
                          "Q 4.00\r\nFilter  2: ON  None\r\nFilter  3: ON  HSC Fc 9000 Hz  Gain "
                          "2.5 dB  Q 0.80\r\n";

} // namespace

TEST(RemoteCommands, PushAndPullGoThroughOneEmulatedProcessor) {
    TempFolder dir("remote");
    const std::string state = dir / "state.emu";
    // Keys 16-17 are remembered in the configuration folder: one the test owns.
    const std::string config = "XDG_CONFIG_HOME=" + dir / "cfg" + " ";
    const std::string emulate = config + QUILOCTL_PATH + " --emulate=" + state + " ";
    writeBytes(dir / "all.remo", counting(18));
    const CliRun push = shell(emulate + "remote push " + dir / "all.remo");
    ASSERT_EQ(push.status, 0) << push.err;
    EXPECT_EQ(push.out, "");
    EXPECT_EQ(push.err, "");
    const RemoteKeyTable all = emulatorTable(state);
    EXPECT_TRUE(std::equal(all.begin(), all.end(), counting(18).begin()));

    // The processor reports bytes 0-15; 16 and 17 are the ones last pushed.
    ASSERT_EQ(shell(emulate + "remote pull " + dir / "back.remo").status, 0);
    EXPECT_EQ(readBytes(dir / "back.remo"), counting(18));

    // A short file changes only its own bytes of what the processor holds, keys 16-17
    // included.
    writeBytes(dir / "short.remo", std::vector<std::uint8_t>(10, 0xAA));
    const CliRun shortPush = shell(emulate + "remote push " + dir / "short.remo");
    ASSERT_EQ(shortPush.status, 0) << shortPush.err;
    EXPECT_EQ(shortPush.err, "");
    const RemoteKeyTable mixed = emulatorTable(state);
    EXPECT_TRUE(std::all_of(mixed.begin(), mixed.begin() + 10, [](auto b) { return b == 0xAA; }));
    EXPECT_TRUE(std::equal(mixed.begin() + 10, mixed.end(), counting(8, 10).begin()));

    // A program that never knew keys 16-17 says what it sets them to.
    const std::string stranger =
        "XDG_CONFIG_HOME=" + dir / "other" + " " + QUILOCTL_PATH + " --emulate=" + state + " ";
    const CliRun blind = shell(stranger + "remote push " + dir / "short.remo");
    ASSERT_EQ(blind.status, 0) << blind.err;
    EXPECT_NE(blind.err.find("Keys 16-17"), std::string::npos) << blind.err;
    EXPECT_NE(blind.err.find("00 00"), std::string::npos) << blind.err;
    const CliRun blindPull = shell(stranger + "remote pull " + dir / "other.remo");
    EXPECT_EQ(blindPull.status, 0);
    EXPECT_EQ(blindPull.err, "") << "the push made them known";
}

TEST(RemoteCommands, LearnPrintsTheCodeOrStopsAtItsTimeout) {
    const CliRun learned = quiloctl("--emulate remote learn 10");
    EXPECT_EQ(learned.status, 0) << learned.err;
    EXPECT_EQ(learned.out, "4A\n"); // the emulated remote sends 0x40 + key

    const CliRun late = quiloctl("--emulate remote learn 10 --timeout 0.3");
    EXPECT_EQ(late.status, 1);
    EXPECT_EQ(late.out, "");
    EXPECT_EQ(splitLines(late.err).size(), 1u) << late.err;
    EXPECT_NE(late.err.find("no key arrived within 0.3 s"), std::string::npos) << late.err;
}

TEST(RemoteEqDiffCommands, UsageErrorsPrintOneLineAndNothingOnStandardOutput) {
    for (const char* args : {"remote",
                             "remote frob",
                             "remote push",
                             "remote pull a b",
                             "remote learn",
                             "remote learn 0",
                             "remote learn 18",
                             "remote learn x",
                             "remote learn 3 4",
                             "remote learn 3 --timeout",
                             "remote learn 3 --timeout 0",
                             "remote learn 3 --timeout -2",
                             "eq",
                             "eq frob",
                             "eq export f",
                             "eq export f 15",
                             "eq export f 7 x",
                             "eq import f 7",
                             "eq import f x t",
                             "eq apply 7",
                             "eq apply -1 t",
                             "diff",
                             "diff a b c"}) {
        const CliRun r = quiloctl(std::string("--emulate ") + args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(splitLines(r.err).size(), 1u) << args << ": " << r.err;
    }
}

TEST(RemoteCommands, FileFailuresSayWhyAndReachNoProcessor) {
    TempFolder dir("remote-fail");
    const std::string state = dir / "state.emu";
    writeBytes(dir / "empty.remo", {});
    const std::pair<std::string, std::string> cases[] = {
        {"remote push " + dir / "missing.remo", "No such file or directory"},
        {"remote push " + dir / "empty.remo", "is empty"},
        {"remote pull " + dir / "no/such/out.remo", "cannot write"},
    };
    for (const auto& [args, says] : cases) {
        const CommandResult r = quiloctlErr("--emulate=" + state + " " + args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_EQ(splitLines(r.out).size(), 1u) << r.out;
        EXPECT_NE(r.out.find(says), std::string::npos) << r.out;
    }
}

TEST(EqCommands, ImportExportAndApply) {
    TempFolder dir("eq");
    const std::string a = dir / "a.quilo";
    const std::string text = dir / "room.txt";
    writeBytes(a, presetModeFile(14));
    writeText(text, kRoom);
    const auto original = readBytes(a);

    // Into a new file, with the warning on standard error.
    const CliRun imported = quiloctl("eq import " + a + " 7 " + text + " " + dir / "b.quilo");
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "");
    EXPECT_EQ(imported.err, "quiloctl: " + text +
                                ": Line 3: gain -18 dB set to -15.0 dB (the bands take -15 "
                                "to +15 dB in steps of 0.1 dB)\n");
    EXPECT_EQ(readBytes(a), original);
    const CommandResult exported = quiloctlOut("eq export " + dir / "b.quilo" + " 7");
    ASSERT_EQ(exported.status, 0);
    const auto lines = splitLines(exported.out);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "Filter 1: ON PK Fc 63 Hz Gain -15.0 dB Q 4.00");
    EXPECT_EQ(lines[1], "Filter 2: ON HSC Fc 9000 Hz Gain 2.5 dB Q 0.80");
    EXPECT_EQ(lines[8], "Filter 9: ON PK Fc 8000 Hz Gain 0.0 dB Q 1.41");

    // The export imported into the original gives the same file back.
    writeText(dir / "ch1.txt", exported.out);
    ASSERT_EQ(quiloctlOut("eq import " + a + " 7 " + dir / "ch1.txt").status, 0);
    EXPECT_EQ(readBytes(a), readBytes(dir / "b.quilo"));
    writeBytes(a, original);

    // Refusals leave the file as it was, in place or not.
    writeText(dir / "bp.txt", "Notes\nFilter 1: ON PK Fc 63 Hz Gain 1 dB Q 1\nFilter 2: ON BP Fc "
                              "300 Hz Q 2\n");
    std::string ten;
    for (int i = 1; i <= 10; ++i) {
        ten += "Filter " + std::to_string(i) + ": ON PK Fc 100 Hz Gain 1.0 dB Q 1.00\n";
    }
    writeText(dir / "ten.txt", ten);
    const std::pair<std::string, std::string> refusals[] = {
        {"eq import " + a + " 7 " + dir / "bp.txt", "Line 3: the processor cannot do"},
        {"eq import " + a + " 7 " + dir / "ten.txt" + " " + dir / "c.quilo",
         "10 filters do not fit: this equaliser takes at most 9"},
        {"eq import " + a + " 7 " + dir / "missing.txt", "No such file or directory"},
        {"eq import " + dir / "missing.quilo" + " 7 " + text, "No such file or directory"},
        {"--emulate eq apply 2 " + dir / "ten.txt", "takes at most 7"},
    };
    for (const auto& [args, says] : refusals) {
        const CommandResult r = quiloctlErr(args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_EQ(splitLines(r.out).size(), 1u) << r.out;
        EXPECT_NE(r.out.find(says), std::string::npos) << r.out;
    }
    EXPECT_EQ(readBytes(a), original);
    EXPECT_FALSE(std::filesystem::exists(dir / "c.quilo"));
    EXPECT_EQ(quiloctlOut("eq import " + a + " 6 " + dir / "ten.txt").status, 0); // music takes 10

    // Live: the processor holds what the file import gives.
    const std::string emulate = "--emulate=" + dir / "state.emu" + " ";
    writeBytes(a, original);
    ASSERT_EQ(quiloctlOut(emulate + "push " + a).status, 0);
    ASSERT_EQ(quiloctlOut(emulate + "eq apply 7 " + text).status, 0);
    ASSERT_EQ(quiloctlOut(emulate + "pull " + dir / "live.quilo").status, 0);
    EXPECT_EQ(quiloctlOut("eq export " + dir / "live.quilo" + " 7").out, exported.out);
}

TEST(DiffCommand, EqualDifferentAndFailedAreThreeStatuses) {
    TempFolder dir("diff");
    const std::string a = dir / "a.quilo";
    const std::string b = dir / "b.quilo";
    writeBytes(a, presetModeFile(14));
    writeText(dir / "room.txt", kRoom);
    ASSERT_EQ(quiloctlOut("eq import " + a + " 8 " + dir / "room.txt" + " " + b).status, 0);

    const CommandResult same = quiloctlOut("diff " + a + " " + a);
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");
    const CommandResult differ = quiloctlOut("diff " + a + " " + b);
    EXPECT_EQ(differ.status, 1);
    const auto lines = splitLines(differ.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines[0].starts_with("band[6,0]: ")) << lines[0];
    EXPECT_TRUE(lines[0].ends_with(" -> -15,63,4,1")) << lines[0];
    EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));

    // The processor on the left: what pushing the file would change.
    const std::string emulate = "--emulate=" + dir / "state.emu" + " ";
    ASSERT_EQ(quiloctlOut(emulate + "push " + a).status, 0);
    EXPECT_EQ(quiloctlOut(emulate + "diff " + a).status, 0);
    const CommandResult live = quiloctlOut(emulate + "diff " + b);
    EXPECT_EQ(live.status, 1);
    EXPECT_EQ(live.out, differ.out);

    for (const std::string& args :
         {"diff " + dir / "missing.quilo" + " " + a, "diff " + a + " " + dir / "missing.quilo",
          "--emulate=" + dir / "junk.emu" + " diff " + a}) {
        writeText(dir / "junk.emu", "nope");
        const CliRun r = quiloctl(args);
        EXPECT_EQ(r.status, 3) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(splitLines(r.err).size(), 1u) << r.err;
    }
}
