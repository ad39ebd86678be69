// quiloctl pull, push, info and devices against the emulated processor.
#include "CliFiles.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorFile.h"
#include "model/ModeFile.h"
#include "model/Presets.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quilo;
using namespace quilo::test;

namespace {

std::vector<std::string> dump(const std::string& file) {
    const CommandResult r = quiloctlOut("modefile dump " + file);
    EXPECT_EQ(r.status, 0) << file;
    return splitLines(r.out);
}

} // namespace

TEST(DeviceCommands, PushThenPullThroughOneEmulatorFileRoundTrips) {
    TempFolder dir("roundtrip");
    const std::string state = dir / "state.emu";
    writeBytes(dir / "seven.quilo", presetModeFile(14));
    ASSERT_EQ(quiloctlOut("--emulate=" + state + " push " + dir / "seven.quilo").status, 0);
    ASSERT_TRUE(std::filesystem::exists(state));
    ASSERT_EQ(quiloctlOut("--emulate=" + state + " pull " + dir / "back.quilo").status, 0);
    // The preset holds nothing the processor changes (no delay below its minimum,
    // whole reverb times, shifters consistently off), so all of it comes back.
    EXPECT_EQ(dump(dir / "back.quilo"), dump(dir / "seven.quilo"));

    // A different setting pushed over it replaces it.
    writeBytes(dir / "two.quilo", presetModeFile(0));
    ASSERT_EQ(quiloctlOut("--emulate=" + state + " push " + dir / "two.quilo").status, 0);
    ASSERT_EQ(quiloctlOut("--emulate=" + state + " pull " + dir / "back2.quilo").status, 0);
    EXPECT_EQ(dump(dir / "back2.quilo"), dump(dir / "two.quilo"));
}

TEST(DeviceCommands, PlainEmulateKeepsNothing) {
    TempFolder dir("plain");
    writeBytes(dir / "seven.quilo", presetModeFile(14));
    ASSERT_EQ(quiloctlOut("--emulate push " + dir / "seven.quilo").status, 0);
    ASSERT_EQ(quiloctlOut("--emulate pull " + dir / "a.quilo").status, 0);
    ASSERT_EQ(quiloctlOut("--emulate pull " + dir / "b.quilo").status, 0);
    EXPECT_EQ(readBytes(dir / "a.quilo"), readBytes(dir / "b.quilo"));
    EXPECT_NE(dump(dir / "a.quilo"), dump(dir / "seven.quilo"));
    // The factory processor holds CH 8 on location 7 and flat bands (CH 1 band 1: 0 dB at
    // 31 Hz, Q 1.41, peaking).
    const auto lines = dump(dir / "a.quilo");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "outLocation[7]=7"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "band[5,0]=0,31,1.40999997,1"), lines.end());
}

TEST(DeviceCommands, AFileNamedForAModeIsStoredIntoIt) {
    TempFolder dir("slot");
    const std::string state = dir / "state.emu";
    const auto bytes = presetModeFile(9);
    writeBytes(dir / "m3-cinema.quilo", bytes);
    ASSERT_EQ(quiloctlOut("--emulate=" + state + " push " + dir / "m3-cinema.quilo").status, 0);
    Emulator emulator;
    ASSERT_TRUE(loadEmulatorFile(state, emulator).ok());
    EXPECT_EQ(emulator.state().currentMode, 2);
    // Mode memory 3 holds the pushed band store.
    const auto& stored = emulator.state().modes[2].memory;
    EXPECT_TRUE(
        std::equal(bytes.begin() + 868, bytes.begin() + 868 + kEqBandStoreSize, stored.begin()));
}

TEST(DeviceCommands, InfoAndDevicesOfTheEmulatedProcessor) {
    const CommandResult info = quiloctlOut("--emulate info");
    ASSERT_EQ(info.status, 0);
    EXPECT_EQ(splitLines(info.out),
              (std::vector<std::string>{"model: MIVRAX", "firmwareDateA: 2013-06-18",
                                        "firmwareDateB: 2013-07-02", "protocolVersion: 18"}));
    const CommandResult devices = quiloctlOut("--emulate devices");
    ASSERT_EQ(devices.status, 0);
    EXPECT_EQ(devices.out, "emulator://0 2010 1031\n");
}

TEST(DeviceCommands, FailuresSayWhatWentWrongInOneLine) {
    TempFolder dir("fail");
    const std::string state = dir / "state.emu";
    // A bad mode file never reaches the processor: no emulator state is saved.
    writeBytes(dir / "short.quilo", {8, 0, 0, 0, 1, 2});
    for (const std::string& file : {dir / "missing.quilo", dir / "short.quilo"}) {
        const CommandResult r = quiloctlErr("--emulate=" + state + " push " + file);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(splitLines(r.out).size(), 1u) << r.out;
        EXPECT_NE(r.out.find(file), std::string::npos) << r.out;
    }
    EXPECT_FALSE(std::filesystem::exists(state));

    // A pull that cannot write its file.
    const CommandResult unwritable = quiloctlErr("--emulate pull " + dir / "no/such/out.quilo");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.out.find("cannot write"), std::string::npos) << unwritable.out;

    // An emulator file that is not one.
    writeBytes(dir / "junk.emu", {'n', 'o', 'p', 'e'});
    const CommandResult junk = quiloctlErr("--emulate=" + dir / "junk.emu" + " info");
    EXPECT_EQ(junk.status, 1);
    EXPECT_EQ(splitLines(junk.out).size(), 1u) << junk.out;
    EXPECT_EQ(readBytes(dir / "junk.emu"), (std::vector<std::uint8_t>{'n', 'o', 'p', 'e'}));
}

TEST(DeviceCommands, WithoutAProcessorTheRealDeviceCommandsFail) {
    // This machine has no processor attached; with one attached the test says so.
    const CommandResult devices = quiloctlOut("devices");
    EXPECT_EQ(devices.status, 0);
    if (!devices.out.empty()) {
        GTEST_SKIP() << "a processor is attached: " << devices.out;
    }
    TempFolder dir("nodevice");
    writeBytes(dir / "p.quilo", presetModeFile(0));
    for (const std::string& args :
         {std::string("info"), "pull " + dir / "out.quilo", "push " + dir / "p.quilo"}) {
        const CommandResult r = quiloctlErr(args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_EQ(r.out, "quiloctl: no processor found (USB vendor 2010, product 1031)\n");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out.quilo"));
}
