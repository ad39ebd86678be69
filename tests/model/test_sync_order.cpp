// Order and content of what a synchronisation sends, recorded without a processor.
#include "device/RecordingSink.h"
#include "device/WireValue.h"
#include "model/Synchroniser.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <bit>
#include <memory>

using namespace quilo;
using quilo::test::wordAt;

namespace {

SyncTimings noPauses() {
    SyncTimings t;
    t.pullSettle = t.pullTail = t.pushSettle = t.pushTail = t.volumeStep = t.modeSaveGap =
        std::chrono::milliseconds(0);
    return t;
}

struct SyncOrder : ::testing::Test {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    RecordingSink sink;
    Synchroniser sync{*image, sink, noPauses()};
    void SetUp() override { image->resetToDefaults(); }

    // Indexes of SetParam reports to module/param, in order.
    std::vector<std::size_t> sends(int module, int param) const {
        std::vector<std::size_t> at;
        const auto r = sink.reports();
        for (std::size_t i = 0; i < r.size(); ++i) {
            if (r[i][1] == 0x09 && r[i][3] == module && r[i][4] == param) {
                at.push_back(i);
            }
        }
        return at;
    }
};

} // namespace

TEST_F(SyncOrder, WrongModelStopsAfterTwoIdentityAttempts) {
    sync.pullAll(); // nothing answers: the model stays the factory "VORNEX"
    const auto r = sink.reports();
    ASSERT_EQ(r.size(), 6u);
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(r[3 * attempt][1], 0x80);
        EXPECT_EQ(r[3 * attempt + 1][1], 0x7F);
        EXPECT_EQ(r[3 * attempt + 2][1], 0x81);
    }
}

TEST_F(SyncOrder, WrongProtocolStopsAfterTheFirstMatch) {
    image->info.modelName = u"mivrax";
    image->info.protocolVersion = 17;
    sync.pullAll();
    EXPECT_EQ(sink.reports().size(), 3u);
}

TEST_F(SyncOrder, ReadBackAsksForEverythingInOrder) {
    image->info.modelName = u"MivRax";
    image->info.protocolVersion = 18;
    image->settingsChanged = 1;
    sync.pullAll();
    const auto r = sink.reports();
    // identity 3, mode 2, parameters 192, memory 23 + 3, settings and remote 2
    ASSERT_EQ(r.size(), 3u + 2 + 192 + 26 + 2);
    EXPECT_EQ(sync.pullRequestCount(), 192);
    EXPECT_EQ(r[3][1], 0x07);
    EXPECT_EQ(r[4][1], 0x95);
    auto get = [&](std::size_t i) {
        EXPECT_EQ(r[i][1], 0x0A);
        return std::array<int, 3>{r[i][3], r[i][4], r[i][5]};
    };
    EXPECT_EQ(get(5), (std::array<int, 3>{1, 4, 1}));
    EXPECT_EQ(get(5 + 12), (std::array<int, 3>{1, 26, 1}));
    EXPECT_EQ(get(5 + 32), (std::array<int, 3>{2, 26, 1}));
    EXPECT_EQ(get(5 + 46), (std::array<int, 3>{3, 24, 2}));
    EXPECT_EQ(get(5 + 58), (std::array<int, 3>{4, 14, 7}));
    EXPECT_EQ(get(5 + 80), (std::array<int, 3>{5, 17, 2}));
    EXPECT_EQ(get(5 + 81), (std::array<int, 3>{5, 27, 7}));
    EXPECT_EQ(get(5 + 96), (std::array<int, 3>{5, 15, 1}));
    EXPECT_EQ(get(5 + 97), (std::array<int, 3>{6, 15, 1}));
    EXPECT_EQ(get(5 + 191), (std::array<int, 3>{12, 28, 1}));
    EXPECT_EQ(r[197][1], 0x86);
    EXPECT_EQ((r[219][2] << 8) | r[219][3], 1232);
    EXPECT_EQ(r[219][4], 21);
    EXPECT_EQ((r[220][2] << 8) | r[220][3], 1253);
    EXPECT_EQ((r[222][2] << 8) | r[222][3], 1305);
    EXPECT_EQ(r[223][1], 0x92);
    EXPECT_EQ(r[224][1], 0x62);
    EXPECT_EQ(image->settingsChanged, 0);
}

TEST_F(SyncOrder, VolumeRecallSendsZeroFirstThenRamps) {
    image->machine.applied[0] = 1;
    image->params.micVolume = 83;
    image->params.musicVolume = 40;
    sync.pushAll();
    const auto r = sink.reports();
    const auto mic = sends(1, 14);
    ASSERT_EQ(mic.size(), 5u);
    EXPECT_EQ(mic[0], 0u);
    EXPECT_EQ(wordAt(r[mic[0]], 6), 0u);
    const float ramp[] = {0.8005f, 0.8105f, 0.8205f, 0.8305f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(wordAt(r[mic[i + 1]], 6), std::bit_cast<std::uint32_t>(ramp[i])) << i;
    }
    const auto music = sends(4, 12);
    ASSERT_EQ(music.size(), 2u); // zero, then once: 40 is below the ramp start
    EXPECT_EQ(wordAt(r[music[1]], 6), f32Bits(0.4005));
    // The two volumes are read back last.
    EXPECT_EQ(r[r.size() - 2][1], 0x0A);
    EXPECT_EQ(r[r.size() - 2][4], 14);
    EXPECT_EQ(r.back()[4], 12);
}

TEST_F(SyncOrder, WithoutVolumeRecallVolumesAreOnlyReadBack) {
    image->params.micVolume = 83;
    image->settingsChanged = 1;
    sync.pushAll();
    EXPECT_TRUE(sends(1, 14).empty());
    EXPECT_TRUE(sends(4, 12).empty());
    EXPECT_EQ(image->settingsChanged, 0);
}

TEST_F(SyncOrder, PushNormalisesMicrophoneAssignmentAndCutsTimes) {
    image->params.micToA[0] = 5;
    image->params.micToB[0] = 100;
    image->params.micToA[1] = 0;
    image->params.micToB[1] = 0;
    image->params.echoTimeMsA = 217.8f;
    image->params.reverbTimeB = 150.6f;
    image->params.outDelayMs[4] = 0.2f;
    sync.pushAll();
    EXPECT_EQ(image->params.micToA[0], 100);
    EXPECT_EQ(image->params.micToB[0], 0);
    EXPECT_EQ(image->params.micToA[1], 0);
    EXPECT_EQ(image->params.micToB[1], 100);
    EXPECT_EQ(image->params.echoTimeMsA, 217.0f);
    EXPECT_EQ(image->params.reverbTimeB, 150.0f);
    EXPECT_EQ(image->params.outDelayMs[4], 1.5f);
}

TEST_F(SyncOrder, PushSendsMusicGainsInTheProcessorsOrder) {
    sync.pushAll();
    std::vector<int> params;
    for (const Report& r : sink.reports()) {
        if (r[1] == 0x09 && r[3] == 4 && r[4] >= 23 && r[4] <= 33) {
            params.push_back(r[4]);
        }
    }
    EXPECT_EQ(params, (std::vector<int>{33, 23, 24, 25, 30, 26, 27, 28, 29, 31, 32}));
}

TEST_F(SyncOrder, PushSendsEveryBandOnceWithoutRewritingTheStore) {
    sync.pushAll();
    int coefficientReports = 0;
    int memoryWrites = 0;
    for (const Report& r : sink.reports()) {
        coefficientReports += (r[1] == 0x09 && r[5] == 5);
        memoryWrites += (r[1] == 0x85);
    }
    // 20 + 14 + 14 + 10 + 8 * 13 + 1 coefficient sets, plus bands 13 and 14 of each output
    EXPECT_EQ(coefficientReports, 163 + 16);
    // band store 23 pieces, layout, gain block; the split bands and room gain per output
    // and the boost word come with their setters
    EXPECT_EQ(memoryWrites, 23 + 2 + 16 + 8 + 1);
}

TEST_F(SyncOrder, StoringIntoAModeSelectsThenSaves) {
    sync.storeIntoMode(2);
    const auto r = sink.reports();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0][1], 0x03);
    EXPECT_EQ(r[0][2], 2);
    EXPECT_EQ(r[1][1], 0x04);
    EXPECT_EQ(r[1][2], 2);
    EXPECT_EQ(image->currentMode, 2);
    sink.clear();
    sync.storeIntoMode(4);
    EXPECT_TRUE(sink.entries().empty());
}

TEST(Identity, ModelInAnyCaseAndProtocol18) {
    EXPECT_TRUE(isExpectedModel(u"MIVRAX"));
    EXPECT_TRUE(isExpectedModel(u"mivrax"));
    EXPECT_FALSE(isExpectedModel(u"MIVRAX "));
    EXPECT_FALSE(isExpectedModel(u"VORNEX"));
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    EXPECT_EQ(checkIdentity(*image), IdentityVerdict::ModelMismatch);
    image->info.modelName = u"Mivrax";
    EXPECT_EQ(checkIdentity(*image), IdentityVerdict::ProtocolMismatch);
    image->info.protocolVersion = 18;
    EXPECT_EQ(checkIdentity(*image), IdentityVerdict::Ok);
}
