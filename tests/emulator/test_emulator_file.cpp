// Saving and loading the emulated processor's state (`--emulate=FILE`).
#include "EmulatorHarness.h"
#include "device/ReportBuilder.h"
#include "emulator/EmulatorFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace quilo;
using namespace quilo::test;
using namespace std::chrono_literals;

namespace {

std::filesystem::path tempPath(const std::string& name) {
    return std::filesystem::temp_directory_path() /
           ("quilo_emu_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            name);
}

void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A processor whose every remembered part differs from the factory.
void useEverything(EmulatorHarness& h) {
    h.send(reportOf({0x02, 0x09, 0x00, 0x01, 0x0E, 0x01, 0x3F, 0x4C, 0xCC, 0xCD}));
    h.send(reportOf({0x02, 0x85, 0x00, 0x00, 0x02, 0x00, 0x96}));      // band store
    h.send(reportOf({0x02, 0x85, 0x0F, 0x80, 0x04, 0x00, 'Q', 0, 0})); // Mode3 name
    h.send(reportOf({0x02, 0x85, 0x40, 0x00, 0x01, 0x77}));            // elsewhere
    h.send(reportOf({0x02, 0x04, 0x02}));
    h.send(reportOf({0x02, 0x09, 0x00, 0x04, 0x0C, 0x01, 0x00, 0x00, 0x00, 0x00}));
    h.send(reportOf({0x02, 0x91, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 2, 13}));
    h.send(reportOf({0x02, 0x63, 0xA0, 0xA1, 0xA2}));
    h.send(reportOf({0x02, 0x13, 0x00, 0x38, 0x02, 0x02, 0x00}));
    h.send(buildZwaveFrame(std::vector<std::uint8_t>{0x4A, 0x01, 0x30}));
    h.advance(5s);
    h.send(
        buildZwaveFrame(std::vector<std::uint8_t>{0x13, 0x02, 0x03, 0x20, 0x01, 0xFF, 0x25, 0x43}));
    h.advance(1s);
}

} // namespace

TEST(EmulatorFile, RoundTripKeepsEveryPart) {
    EmulatorHarness h;
    useEverything(h);
    const EmulatorState& saved = h.emulator.state();
    ASSERT_EQ(saved.plugs[0].nodeId, 2);
    ASSERT_EQ(saved.plugs[0].level, 0xFF);
    ASSERT_EQ(saved.currentMode, 2);

    const auto path = tempPath("roundtrip.state");
    ASSERT_TRUE(saveEmulatorFile(path, saved).ok());

    EmulatorHarness fresh;
    const EmulatorFileResult result = loadEmulatorFile(path, fresh.emulator);
    std::filesystem::remove(path);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_TRUE(fresh.emulator.state() == saved);

    // And it answers as the original did.
    for (const Report& q :
         {reportOf({0x02, 0x0A, 0x00, 0x01, 0x0E, 0x01}), reportOf({0x02, 0x07}),
          reportOf({0x02, 0x92}), reportOf({0x02, 0x62}), reportOf({0x02, 0x86, 0x00, 0x00, 0x38}),
          reportOf({0x02, 0x14, 0x00, 0x38, 0x1C})}) {
        EXPECT_EQ(fresh.ask(q), h.ask(q));
    }
    fresh.send(reportOf({0x02, 0x05, 0x02}));
    h.send(reportOf({0x02, 0x05, 0x02}));
    EXPECT_EQ(fresh.ask(reportOf({0x02, 0x0A, 0x00, 0x04, 0x0C, 0x01})),
              h.ask(reportOf({0x02, 0x0A, 0x00, 0x04, 0x0C, 0x01})));
}

TEST(EmulatorFile, LayoutStartsWithMagicVersionAndTaggedSections) {
    const auto bytes = encodeEmulatorState(Emulator().state());
    ASSERT_GT(bytes.size(), 20u);
    const std::vector<std::uint8_t> head(bytes.begin(), bytes.begin() + 16);
    EXPECT_EQ(head, (std::vector<std::uint8_t>{'Q', 'U', 'I', 'L', 'O', 'E', 'M', 'U', 1, 0, 0, 0,
                                               'P', 'A', 'R', 'M'}));
    // Ends with the empty END. section.
    const std::vector<std::uint8_t> tail(bytes.end() - 8, bytes.end());
    EXPECT_EQ(tail, (std::vector<std::uint8_t>{'E', 'N', 'D', '.', 0, 0, 0, 0}));
}

TEST(EmulatorFile, MissingFileIsReportedAsSuch) {
    Emulator e;
    const auto result = loadEmulatorFile(tempPath("does_not_exist"), e);
    EXPECT_EQ(result.status, EmulatorFileStatus::Missing);
}

TEST(EmulatorFile, MalformedFilesAreRefusedAndChangeNothing) {
    EmulatorHarness source;
    useEverything(source);
    const auto good = encodeEmulatorState(source.emulator.state());

    // Where each section's payload starts, found by its tag.
    const auto at = [&good](const char* tag) {
        const std::string t(tag);
        auto it = std::search(good.begin(), good.end(), t.begin(), t.end());
        return static_cast<std::size_t>(it - good.begin()) + 8;
    };
    struct Case {
        std::string name;
        std::vector<std::uint8_t> bytes;
        std::string mentions;
    };
    std::vector<Case> cases;
    const auto changed = [&good](std::size_t i, std::uint8_t v) {
        auto b = good;
        b[i] = v;
        return b;
    };
    cases.push_back({"empty", {}, "not an emulator state file"});
    cases.push_back({"magic", changed(0, 'X'), "not an emulator state file"});
    cases.push_back({"version", changed(8, 2), "version 2"});
    for (std::size_t cut : {12u, 20u, 70000u}) {
        cases.push_back({"cut at " + std::to_string(cut),
                         std::vector<std::uint8_t>(good.begin(), good.begin() + cut), "truncated"});
    }
    cases.push_back({"last byte missing", std::vector<std::uint8_t>(good.begin(), good.end() - 1),
                     "truncated"});
    auto extra = good;
    extra.push_back(0);
    cases.push_back({"stray byte", extra, "stray"});
    cases.push_back({"tag", changed(at("MEMO") - 8, 'N'), "MEMO"});
    // The first parameter entry (module 1 parameter 4) renamed to parameter 18 of module 4.
    auto unknown = changed(at("PARM") + 2, 4);
    unknown[at("PARM") + 3] = 18;
    cases.push_back({"unknown parameter", unknown, "4/18"});
    cases.push_back({"word count", changed(at("PARM") + 4, 2), "words"});
    cases.push_back({"mode", changed(at("MODE"), 9), "mode 9"});
    cases.push_back({"plug kind", changed(at("PLUG") + 1, 9), "kind"});
    cases.push_back({"plug node", changed(at("PLUG") + 2, 240), "node id"});
    auto twice = good;
    twice[at("PLUG") + 1 + 12 + 1] = 2; // the dimmer claims the switch's node 2
    cases.push_back({"shared node", twice, "node id 2"});

    for (const Case& c : cases) {
        EmulatorHarness h;
        h.send(reportOf({0x02, 0x09, 0x00, 0x01, 0x0E, 0x01, 0x00, 0x00, 0x00, 0x01}));
        const EmulatorState before = h.emulator.state();
        const auto path = tempPath("bad.state");
        writeBytes(path, c.bytes);
        const EmulatorFileResult result = loadEmulatorFile(path, h.emulator);
        std::filesystem::remove(path);
        EXPECT_EQ(result.status, EmulatorFileStatus::Malformed) << c.name;
        EXPECT_NE(result.error.find(c.mentions), std::string::npos)
            << c.name << ": " << result.error;
        EXPECT_TRUE(h.emulator.state() == before) << c.name;
    }
}

TEST(EmulatorFile, ParametersMissingFromTheFileKeepFactoryWords) {
    auto bytes = encodeEmulatorState(Emulator().state());
    // An empty PARM section: count 0, and the section length 2.
    const std::size_t parm = 12;
    std::size_t length = bytes[parm + 4] | bytes[parm + 5] << 8 | bytes[parm + 6] << 16;
    std::vector<std::uint8_t> shortened(bytes.begin(), bytes.begin() + parm + 4);
    shortened.insert(shortened.end(), {2, 0, 0, 0, 0, 0});
    shortened.insert(shortened.end(), bytes.begin() + parm + 8 + length, bytes.end());
    std::string error;
    const auto state = decodeEmulatorState(shortened, error);
    ASSERT_TRUE(state) << error;
    EXPECT_TRUE(state->params == Emulator().state().params);
}
