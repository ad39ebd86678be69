// quiloctl modefile dump and convert.
#include "CliFiles.h"
#include "model/ModeFile.h"
#include "model/Presets.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quilo;
using namespace quilo::test;

namespace {

bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The version-7 form of a version-8 file: same content without the boost word.
std::vector<std::uint8_t> asVersion7(std::vector<std::uint8_t> bytes) {
    bytes[0] = 7;
    bytes.resize(bytes.size() - kMicBoostWordSize);
    return bytes;
}

} // namespace

TEST(ModeFileDump, EveryFieldBandBlockAndTheVersion) {
    TempFolder dir("dump");
    writeBytes(dir / "p.quilo", presetModeFile(9)); // 5.1: CH 4 is the subwoofer
    const CommandResult r = quiloctlOut("modefile dump " + dir / "p.quilo");
    ASSERT_EQ(r.status, 0);
    const auto lines = splitLines(r.out);
    EXPECT_EQ(lines.front(), "version=8");
    EXPECT_TRUE(hasLine(lines, "outLocation[3]=4"));
    EXPECT_TRUE(hasLine(lines, "outDelayMs[4]=5"));
    EXPECT_TRUE(hasLine(lines, "micVolume=50"));
    EXPECT_TRUE(hasLine(lines, "band[8,9]=0,80,0.707000017,12")); // CH 4 low-pass section
    EXPECT_TRUE(hasLine(lines, "band[5,9]=0,80,0.707000017,13")); // CH 1 high-pass section
    EXPECT_TRUE(hasLine(lines, "micBoost=0"));
    EXPECT_TRUE(hasLine(lines, "roomLayout[0]=4"));
    EXPECT_TRUE(hasLine(lines, "roomGain[7]=0"));
    // 214 named words and two reserved, 179 bands, 8 + 20 room values, the boost
    // word and the version; nothing of the live image (identity, status, modes).
    EXPECT_EQ(lines.size(), 216u + 179u + 28u + 1u + 1u);
    for (const std::string& line : lines) {
        EXPECT_FALSE(line.starts_with("modelName") || line.starts_with("liveStatus") ||
                     line.starts_with("currentMode"))
            << line;
    }
}

TEST(ModeFileDump, JsonHoldsTheSameFieldsAsOneObject) {
    TempFolder dir("json");
    writeBytes(dir / "p.quilo", presetModeFile(14));
    const CommandResult text = quiloctlOut("modefile dump " + dir / "p.quilo");
    const CommandResult json = quiloctlOut("modefile dump --json " + dir / "p.quilo");
    ASSERT_EQ(json.status, 0);
    const std::string& j = json.out;
    ASSERT_FALSE(j.empty());
    EXPECT_EQ(j.front(), '{');
    EXPECT_EQ(j.substr(j.size() - 2), "}\n");
    // Balanced brackets outside strings, one key per text line.
    int depth = 0;
    int keys = 0;
    bool inString = false;
    for (std::size_t i = 0; i < j.size(); ++i) {
        const char c = j[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
            ASSERT_GE(depth, 0);
        } else if (c == ':') {
            ++keys;
        }
    }
    EXPECT_EQ(depth, 0);
    EXPECT_FALSE(inString);
    EXPECT_EQ(keys, int(splitLines(text.out).size()));
    EXPECT_NE(j.find("{\"version\":8,"), std::string::npos);
    EXPECT_NE(j.find("\"outLocation[3]\":4"), std::string::npos);
    EXPECT_NE(j.find("\"band[8,9]\":[0,80,0.707000017,12]"), std::string::npos);
    EXPECT_NE(j.find("\"outCompRatio[0]\":2"), std::string::npos);
}

TEST(ModeFileConvert, OlderVersionBecomesVersionEightWithTheSameFields) {
    TempFolder dir("convert");
    const auto v8 = presetModeFile(3);
    writeBytes(dir / "old.quilo", asVersion7(v8));
    ASSERT_EQ(quiloctlOut("modefile convert " + dir / "old.quilo " + dir / "new.quilo").status, 0);
    const auto converted = readBytes(dir / "new.quilo");
    ASSERT_EQ(converted.size(), kModeFileSize);
    EXPECT_EQ(converted[0], 8);
    // Version 7 has no boost word: it comes from the factory setting (0 dB), which
    // the preset has too, so the whole file comes back.
    EXPECT_EQ(converted, v8);

    auto oldDump = splitLines(quiloctlOut("modefile dump " + dir / "old.quilo").out);
    auto newDump = splitLines(quiloctlOut("modefile dump " + dir / "new.quilo").out);
    ASSERT_EQ(oldDump.front(), "version=7");
    ASSERT_EQ(newDump.front(), "version=8");
    oldDump.erase(oldDump.begin());
    newDump.erase(newDump.begin());
    EXPECT_EQ(oldDump, newDump);
}

TEST(ModeFileCommand, BadFilesFailWithOneLineAndLeaveTheOutputAlone) {
    TempFolder dir("bad");
    auto v8 = presetModeFile(0);
    writeBytes(dir / "short.quilo", std::vector<std::uint8_t>(v8.begin(), v8.begin() + 100));
    auto v9 = v8;
    v9[0] = 9;
    writeBytes(dir / "v9.quilo", v9);
    writeBytes(dir / "keep.quilo", {1, 2, 3});

    for (const std::string& file : {dir / "missing.quilo", dir / "short.quilo", dir / "v9.quilo"}) {
        const CommandResult dump = quiloctlErr("modefile dump " + file);
        EXPECT_EQ(dump.status, 1) << file;
        EXPECT_EQ(splitLines(dump.out).size(), 1u) << dump.out;
        EXPECT_NE(dump.out.find(file), std::string::npos) << dump.out;
        EXPECT_TRUE(quiloctlOut("modefile dump " + file).out.empty());

        EXPECT_EQ(quiloctlOut("modefile convert " + file + " " + dir / "keep.quilo").status, 1);
        EXPECT_EQ(readBytes(dir / "keep.quilo"), (std::vector<std::uint8_t>{1, 2, 3}));
    }
    EXPECT_NE(quiloctlErr("modefile dump " + dir / "short.quilo").out.find("version-8"),
              std::string::npos);
    EXPECT_NE(quiloctlErr("modefile dump " + dir / "v9.quilo").out.find("version 9"),
              std::string::npos);
    // A folder that does not exist cannot take the converted file.
    writeBytes(dir / "good.quilo", v8);
    EXPECT_EQ(quiloctlOut("modefile convert " + dir / "good.quilo " + dir / "no/such.quilo").status,
              1);
}

TEST(ModeFileCommand, UsageErrorsExitTwo) {
    for (const char* args : {"modefile", "modefile dump", "modefile frob x", "modefile convert a",
                             "modefile dump a b", "frobnicate", "--emulate=", "--emulatefoo info",
                             "pull", "push a b", "info extra", "devices extra"}) {
        const CommandResult r = quiloctlErr(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(splitLines(r.out).size(), 1u) << args << ": " << r.out;
    }
}
