// quiloctl plugs, plug, scene and frame against the emulated processor.
#include "CliFiles.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorFile.h"
#include "support/EmulatedNetwork.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

// A state file with a switch (2), a dimmer (3) and an infrared plug (4) in the
// network, whose records name them, and `scenes` stored as given.
struct HomeFiles {
    TempFolder dir;
    std::string state;

    explicit HomeFiles(const std::string& name, std::vector<std::vector<std::uint8_t>> scenes = {})
        : dir(name), state(dir / "state.emu") {
        EmulatorState s = networkState(EmulatorOptions{}.plugs);
        // Plug 3 has a Chinese name, U+8C03 U+538B.
        s.zwaveMemory[28 * 3 + 4] = 0x03;
        s.zwaveMemory[28 * 3 + 5] = 0x8C;
        s.zwaveMemory[28 * 3 + 6] = 0x8B;
        s.zwaveMemory[28 * 3 + 7] = 0x53;
        s.zwaveMemory[28 * 3 + 8] = 0;
        s.zwaveMemory[28 * 3 + 9] = 0;
        for (std::size_t sc = 0; sc < scenes.size(); ++sc) {
            std::copy(scenes[sc].begin(), scenes[sc].end(),
                      s.zwaveMemory.begin() + 6524 + 56 * std::ptrdiff_t(sc));
        }
        EXPECT_TRUE(saveEmulatorFile(state, s).ok());
    }
    // quiloctl with this folder as home (so its Documents/Plug holds the key files).
    CommandResult run(const std::string& args) const {
        return runCommand("HOME=" + dir.path.string() + " XDG_CONFIG_HOME=" + dir / "cfg" + " " +
                          QUILOCTL_PATH + " --emulate=" + state + " " + args + " 2>/dev/null");
    }
    EmulatorState load() const {
        Emulator e;
        EXPECT_TRUE(loadEmulatorFile(state, e).ok());
        return e.state();
    }
};

} // namespace

TEST(SmartHomeCommands, FramesInTheFormOfSend) {
    struct Case {
        const char* args;
        const char* head;
    };
    const Case cases[] = {
        {"GetInitData", "02 12 05 01 03 00 02 FE 00"},
        {"SetDefault", "02 12 06 01 04 00 42 02 BB 00"},
        {"AddNodeStart", "02 12 07 01 05 00 4A 01 30 81 00"},
        {"AddNodeStop", "02 12 07 01 05 00 4A 05 00 B5 00"},
        {"RemoveNodeStart", "02 12 07 01 05 00 4B 01 09 B9 00"},
        {"RemoveNodeStop", "02 12 06 01 04 00 4B 05 B5 00"},
        {"RemoveNodeStop cancel", "02 12 07 01 05 00 4B 05 00 B4 00"},
        {"SendBasicSet 5 200", "02 12 0C 01 0A 00 13 05 03 20 01 C8 25 44 68 00"},
        {"SendAbort", "02 12 05 01 03 00 13 EF 00"},
    };
    for (const Case& c : cases) {
        const CommandResult r = quiloctlOut(std::string("frame ") + c.args);
        EXPECT_EQ(r.status, 0) << c.args;
        EXPECT_EQ(r.out.size(), 61u * 3) << c.args; // 61 bytes, one line
        EXPECT_TRUE(r.out.starts_with(c.head)) << c.args << ": " << r.out;
    }
    for (const char* bad :
         {"frame", "frame Nothing", "frame SendBasicSet 5", "frame SendBasicSet 5 256",
          "frame SendBasicSet x 1", "frame GetInitData 1", "frame RemoveNodeStop now", "plug",
          "plug 0 1", "plug 233 1", "plug 2 -1", "plug 2 on", "plugs 1", "scene show",
          "scene show 6", "scene play 1", "scene run x"}) {
        const CommandResult r = quiloctlOut(std::string("--emulate ") + bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_EQ(r.out, "") << bad;
    }
}

TEST(SmartHomeCommands, PlugsListsThePresentPlugsWithTheirRecords) {
    HomeFiles files("plugs");
    const CommandResult r = files.run("plugs");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(splitLines(r.out), (std::vector<std::string>{"2 1 Plug0", "3 2 调压", "4 3 Plug2"}));
    // A fresh emulated processor has its plugs on the desk, none in the network.
    const CommandResult fresh = quiloctlOut("--emulate plugs");
    EXPECT_EQ(fresh.status, 0);
    EXPECT_EQ(fresh.out, "");
}

TEST(SmartHomeCommands, PlugWaitsForTheEndOfItsSend) {
    HomeFiles files("plug");
    EXPECT_EQ(files.run("plug 3 40").status, 0);
    EXPECT_EQ(files.run("plug 2 255").status, 0);
    EXPECT_EQ(files.load().plugs[1].level, 40);
    EXPECT_EQ(files.load().plugs[0].level, 0xFF);
    // No plug with id 9: the module reports that nobody heard it.
    EXPECT_EQ(files.run("plug 9 99").status, 1);
    // Without any processor nothing can be sent.
    EXPECT_EQ(quiloctlOut("plug 2 99").status, 1);
}

TEST(SmartHomeCommands, SceneShowListsStoredStepsAndRunRunsThem) {
    HomeFiles files("scene", {{}, {}, {}, {}, {2, 99, 0, 0, 240, 2, 254, 1, 3, 50, 4, 128, 9, 0}});
    // The infrared plug's key file names key 0.
    const std::string plugFolder = files.dir / "Documents/Plug";
    std::filesystem::create_directories(plugFolder);
    std::ofstream(plugFolder + "/4.xml")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Keys>\r\n"
           "<Key Index=\"0\" Name=\"TV on\" Status=\"1\"/>\r\n</Keys>\r\n";

    const CommandResult show = files.run("scene show 4");
    EXPECT_EQ(show.status, 0);
    EXPECT_EQ(splitLines(show.out),
              (std::vector<std::string>{"2 99 ON", "240 2 2s", "254 1 1", "3 50 51",
                                        "4 128 遥控键:TV on", "9 0 OFF"}));
    EXPECT_EQ(files.run("scene show 0").out, "");

    EXPECT_EQ(files.run("scene run 4").status, 0);
    const EmulatorState s = files.load();
    EXPECT_EQ(s.plugs[0].level, 0xFF);
    EXPECT_EQ(s.plugs[1].level, 50);
    // The scene's HDMI step reached the processor: music module, parameter 33.
    EXPECT_EQ(s.params.at(ParamKey{4, 33}), std::vector<std::uint32_t>{1});
}
