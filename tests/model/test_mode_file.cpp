// Mode files: layout of every version, refusals, and saves that never lose the old file.
#include "model/DeviceImage.h"
#include "model/ModeFile.h"

#include <gtest/gtest.h>

#include <bit>
#include <csignal>
#include <cstring>
#include <fstream>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

using namespace quilo;
namespace fs = std::filesystem;

namespace {

void putLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(std::uint8_t(v >> (8 * i)));
    }
}

// A file of an older layout built by hand: every DspParams word is its index + 1000,
// every band-store byte 0x11, room gain 0x22, layout 0x33, boost 0x44.
std::vector<std::uint8_t> handMadeFile(std::uint32_t version, std::size_t words,
                                       std::size_t eqBytes, bool gain, bool layout, bool boost) {
    std::vector<std::uint8_t> f;
    putLe32(f, version);
    for (std::size_t w = 0; w < words; ++w) {
        putLe32(f, std::uint32_t(1000 + w));
    }
    f.insert(f.end(), eqBytes, 0x11);
    if (gain) {
        f.insert(f.end(), 32, 0x22);
    }
    if (layout) {
        f.insert(f.end(), 20, 0x33);
    }
    if (boost) {
        f.insert(f.end(), 2, 0x44);
    }
    return f;
}

struct ModeFileTest : ::testing::Test {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    fs::path dir;

    void SetUp() override {
        image->resetToDefaults();
        char tmpl[] = "/tmp/quilo-modefile-XXXXXX";
        dir = ::mkdtemp(tmpl);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::vector<std::uint8_t> fileBytes(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void writeBytes(const fs::path& p, const std::vector<std::uint8_t>& b) {
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
    }
};

} // namespace

TEST_F(ModeFileTest, VersionEightLayout) {
    image->params.micVolume = 0x01020304;
    image->params.echoTimeMsA = 1.5f;
    image->eqBands[0] = 0xAB;
    image->roomGain[31] = 0xCD;
    image->roomLayout[0] = 0x07;
    image->micBoost = {0xC1, 0x40};
    const auto f = encodeModeFile(captureModeContent(*image));
    ASSERT_EQ(f.size(), 2175u);
    EXPECT_EQ((std::vector<std::uint8_t>(f.begin(), f.begin() + 8)),
              (std::vector<std::uint8_t>{8, 0, 0, 0, 0x04, 0x03, 0x02, 0x01}));
    // echoTimeMsA is word 32: 1.5f = 3F C0 00 00, little-endian in the file
    EXPECT_EQ(f[4 + 32 * 4 + 2], 0xC0);
    EXPECT_EQ(f[4 + 32 * 4 + 3], 0x3F);
    EXPECT_EQ(f[868], 0xAB);
    EXPECT_EQ(f[2121 + 31], 0xCD);
    EXPECT_EQ(f[2153], 0x07);
    EXPECT_EQ(f[2173], 0xC1);
    EXPECT_EQ(f[2174], 0x40);
}

TEST_F(ModeFileTest, SaveAndLoadRoundTripIsByteIdentical) {
    image->params.outDelayMs[3] = 12.25f;
    image->params.musicSource = 3;
    image->eqBands[700] = 0x5A;
    const fs::path a = dir / "a.quilo";
    ASSERT_TRUE(writeModeFile(a, *image).ok());
    auto other = std::make_unique<DeviceImage>();
    other->resetToDefaults();
    ASSERT_TRUE(readModeFile(a, *other).ok());
    EXPECT_EQ(other->params.outDelayMs[3], 12.25f);
    EXPECT_EQ(other->eqBands, image->eqBands);
    const fs::path b = dir / "b.quilo";
    ASSERT_TRUE(writeModeFile(b, *other).ok());
    EXPECT_EQ(fileBytes(a), fileBytes(b));
}

TEST_F(ModeFileTest, OlderVersionsLoadTheirExtentAndKeepTheRest) {
    struct Case {
        std::uint32_t version;
        std::size_t words, eqBytes;
        bool gain, layout, boost;
    };
    const Case cases[] = {{1, 196, 1246, false, false, false}, {2, 196, 1246, true, false, false},
                          {3, 199, 1246, true, false, false},  {4, 199, 1246, true, true, false},
                          {5, 207, 1246, true, true, false},   {6, 211, 1253, true, true, false},
                          {7, 216, 1253, true, true, false},   {8, 216, 1253, true, true, true}};
    for (const Case& c : cases) {
        image->resetToDefaults();
        image->params.musicCompBypass = 7; // word 215
        image->micBoost = {0x01, 0x02};
        const DspParams before = image->params;
        const auto eqBefore = image->eqBands;
        const auto f = handMadeFile(c.version, c.words, c.eqBytes, c.gain, c.layout, c.boost);
        const auto result = readModeFileBytes(f, *image);
        ASSERT_TRUE(result.ok()) << "version " << c.version;
        EXPECT_EQ(result.version, c.version);
        for (std::size_t w = 0; w < 216; ++w) {
            if (w == 63) {
                continue; // musicSource 1063 is not a known input: corrected to 0
            }
            const std::uint32_t expected = w < c.words ? 1000 + w : before.word(w);
            ASSERT_EQ(image->params.word(w), expected) << "version " << c.version << " word " << w;
        }
        EXPECT_EQ(image->params.musicSource, 0);
        EXPECT_EQ(image->eqBands[c.eqBytes - 1], 0x11);
        if (c.eqBytes == 1246) {
            EXPECT_TRUE(std::equal(image->eqBands.begin() + 1246, image->eqBands.end(),
                                   eqBefore.begin() + 1246))
                << "record 178 keeps its value in version " << c.version;
        }
        EXPECT_EQ(image->roomGain[0], c.gain ? 0x22 : 0x00);
        EXPECT_EQ(image->roomLayout[0], c.layout ? 0x33 : 0x04);
        EXPECT_EQ(image->micBoost[0], c.boost ? 0x44 : 0x01);
    }
}

TEST_F(ModeFileTest, MusicSourceOutsideTheKnownInputsBecomesSpdif) {
    for (std::int32_t source : {0, 2, 3, 4, 5, -1}) {
        image->params.musicSource = source;
        auto f = encodeModeFile(captureModeContent(*image));
        image->params.musicSource = 99;
        ASSERT_TRUE(readModeFileBytes(f, *image).ok());
        const std::int32_t expected = (source == 2 || source == 3) ? source : 0;
        EXPECT_EQ(image->params.musicSource, expected) << "source " << source;
    }
}

TEST_F(ModeFileTest, UnsupportedVersionsAndShortFilesChangeNothing) {
    auto f = encodeModeFile(captureModeContent(*image));
    image->params.micVolume = 1;
    for (std::uint32_t version : {0u, 9u, 0x00726556u /* "Ver" */}) {
        f[0] = std::uint8_t(version);
        f[1] = std::uint8_t(version >> 8);
        f[2] = std::uint8_t(version >> 16);
        f[3] = 0;
        EXPECT_EQ(readModeFileBytes(f, *image).status, ModeFileStatus::UnsupportedVersion);
    }
    f[0] = 8;
    f[1] = f[2] = 0;
    f[4] = 0x55; // would set micVolume if loaded
    std::vector<std::uint8_t> shortFile(f.begin(), f.end() - 1);
    EXPECT_EQ(readModeFileBytes(shortFile, *image).status, ModeFileStatus::Truncated);
    EXPECT_EQ(readModeFileBytes(std::vector<std::uint8_t>{8, 0}, *image).status,
              ModeFileStatus::Truncated);
    EXPECT_EQ(image->params.micVolume, 1);

    // A version-5 file cut inside its band store is refused too.
    auto v5 = handMadeFile(5, 207, 1246, true, true, false);
    v5.resize(v5.size() - 60);
    EXPECT_EQ(readModeFileBytes(v5, *image).status, ModeFileStatus::Truncated);
    EXPECT_EQ(image->params.micVolume, 1);

    const fs::path p = dir / "short.quilo";
    writeBytes(p, shortFile);
    const auto result = readModeFile(p, *image);
    EXPECT_EQ(result.status, ModeFileStatus::Truncated);
    EXPECT_NE(modeFileErrorText(result, p, 1).find(p.string()), std::string::npos);
    EXPECT_NE(modeFileErrorText(result, p, 0).find(p.string()), std::string::npos);
}

TEST_F(ModeFileTest, MissingFilesAndFoldersCannotBeOpened) {
    EXPECT_EQ(readModeFile(dir / "none.quilo", *image).status, ModeFileStatus::CannotOpen);
    EXPECT_EQ(readModeFile(dir, *image).status, ModeFileStatus::CannotOpen);
}

TEST_F(ModeFileTest, AFailedSaveLeavesThePreviousFileIntact) {
    const fs::path target = dir / "keep.quilo";
    const std::vector<std::uint8_t> old{1, 2, 3, 4, 5};
    writeBytes(target, old);

    // Limit file sizes so the write of the new 2175 bytes fails half way.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto result = writeModeFile(target, *image);
    ::setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(result.status, ModeFileStatus::CannotWrite);
    EXPECT_EQ(result.systemError.value(), EFBIG);
    EXPECT_EQ(fileBytes(target), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 1)
        << "the temporary file is removed";
    const std::string text = modeFileErrorText(result, target, 1);
    EXPECT_EQ(text, "Errcode=27,Can't write to file:\n" + target.string() +
                        "\nProbaby it is write protected.");

    // Into a folder that does not exist, or over a folder: refused, nothing created.
    EXPECT_EQ(writeModeFile(dir / "no" / "x.quilo", *image).status, ModeFileStatus::CannotWrite);
    EXPECT_EQ(writeModeFile(dir, *image).status, ModeFileStatus::CannotWrite);
    // A successful save replaces the old file whole.
    ASSERT_TRUE(writeModeFile(target, *image).ok());
    EXPECT_EQ(fileBytes(target).size(), 2175u);
}

TEST(ModeSlot, OnlyALowerCaseMAndDigitAtTheStart) {
    EXPECT_EQ(modeSlotFromFileName("/home/u/m1.quilo"), 0);
    EXPECT_EQ(modeSlotFromFileName("m2 party night.quilo"), 1);
    EXPECT_EQ(modeSlotFromFileName("dir.m9/m3.backup.quilo"), 2);
    EXPECT_EQ(modeSlotFromFileName("m4"), 3);
    EXPECT_EQ(modeSlotFromFileName("M2 party.quilo"), -1);
    EXPECT_EQ(modeSlotFromFileName("party m2.quilo"), -1);
    EXPECT_EQ(modeSlotFromFileName("m5.quilo"), -1);
    EXPECT_EQ(modeSlotFromFileName("m0.quilo"), -1);
    EXPECT_EQ(modeSlotFromFileName("m.quilo"), -1);
    EXPECT_EQ(modeSlotFromFileName(""), -1);
}
