// Band store addressing, record encoding, defaults and the band operations.
#include "device/RecordingSink.h"
#include "model/BandOps.h"
#include "model/DeviceImage.h"
#include "model/EqBand.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory>
#include <numbers>

using namespace quilo;
using quilo::test::wordAt;

namespace {

struct Fixture : ::testing::Test {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    RecordingSink sink;
    BandOps bands{*image, sink};
    void SetUp() override { image->resetToDefaults(); }

    EqBandRecord recordAt(std::size_t address) const {
        EqBandRecord r;
        std::copy_n(image->eqBands.begin() + address, 7, r.begin());
        return r;
    }
};

float f32(std::uint32_t bits) {
    return std::bit_cast<float>(bits);
}

} // namespace

TEST(EqBandAddress, ModulesMapToTheirRuns) {
    EXPECT_EQ(bandAddress(5, 0), 406u);
    EXPECT_EQ(bandAddress(12, 14), 1239u);
    EXPECT_EQ(bandAddress(15, 0), 1246u);
    EXPECT_EQ(bandAddress(15, 0) + 7, kEqBandStoreSize); // the last record ends at 1252
    EXPECT_EQ(bandAddress(1, 10), 70u);
    EXPECT_EQ(bandAddress(2, 7), 189u);
    EXPECT_EQ(bandAddress(3, 7), 287u);
    EXPECT_EQ(bandAddress(4, 9), 399u);
    EXPECT_EQ(bandAddress(13, 2), 14u);
    EXPECT_EQ(bandAddress(0, 3), 21u);
    EXPECT_EQ(bandAddress(16, 3), 21u);
}

TEST(EqBandAddress, EqIdsStartWhereTheTableSays) {
    const std::size_t starts[] = {0, 70, 238, 287, 140, 189, 336, 406};
    for (int id = 0; id <= 7; ++id) {
        const EqInfo eq = *eqInfo(id);
        EXPECT_EQ(bandAddress(eq.module, eq.firstBand), starts[id]) << "eqId " << id;
    }
    EXPECT_EQ(bandAddress(eqInfo(14)->module, 0), 406u + 7 * 15 * 7);
    EXPECT_FALSE(eqInfo(-1));
    EXPECT_FALSE(eqInfo(15));
}

TEST(EqBandRecordCodec, EncodesTheDocumentedBytes) {
    EXPECT_EQ(encodeBand(0.0, 1000, 1.414f, 1),
              (EqBandRecord{0x00, 0x96, 0x03, 0xE8, 0x05, 0x86, 0x01}));
    EXPECT_EQ(encodeBand(-15.0, 20, 0.707f, 3),
              (EqBandRecord{0x00, 0x00, 0x00, 0x14, 0x02, 0xC3, 0x03}));
    EXPECT_EQ(encodeBand(-3.0, 100, 1.0f, 1)[1], 120);
    EXPECT_EQ(encodeBand(15.0, 20000, 30.0f, 5),
              (EqBandRecord{0x01, 0x2C, 0x4E, 0x20, 0x75, 0x30, 0x05}));
    const EqBand b = decodeBand({0x00, 0x78, 0x01, 0xF4, 0x02, 0xC3, 0x02});
    EXPECT_FLOAT_EQ(b.gainDb, -3.0f);
    EXPECT_FLOAT_EQ(b.freqHz, 500.0f);
    EXPECT_FLOAT_EQ(b.q, 0.707f);
    EXPECT_EQ(b.type, 2);
}

TEST(EqBandRecordCodec, DecodedValuesEncodeBackToTheSameCodes) {
    // A resend re-encodes what it decoded: no code may drift on the way.
    for (int code = 0; code <= 300; ++code) {
        const EqBandRecord in{
            std::uint8_t(code >> 8), std::uint8_t(code), 0x03, 0xE8, 0x05, 0x86, 1};
        const EqBand b = decodeBand(in);
        EXPECT_EQ(encodeBand(b.gainDb, 1000, b.q, 1), in) << "gain code " << code;
    }
    for (int code = 100; code <= 30000; ++code) {
        const EqBandRecord in{0x00, 0x96, 0x03, 0xE8, std::uint8_t(code >> 8), std::uint8_t(code),
                              1};
        const EqBand b = decodeBand(in);
        ASSERT_EQ(encodeBand(b.gainDb, 1000, b.q, 1), in) << "Q code " << code;
    }
}

TEST_F(Fixture, ResetWritesTheFactoryImage) {
    EXPECT_EQ(image->params.echoTimeMsA, 217.0f);
    EXPECT_EQ(image->params.echoTimeMsB, 217.0f);
    EXPECT_EQ(image->params.echoStartVolA, 60);
    EXPECT_EQ(image->params.micVolume, 0);
    EXPECT_EQ(image->machine.applied[3], 99);
    EXPECT_EQ(image->machine.applied[4], 99);
    EXPECT_EQ(image->machine.edit[3], 0);
    EXPECT_EQ(image->modeNames[3], u"Mode4");
    EXPECT_EQ(image->info.modelName, u"VORNEX");
    EXPECT_EQ(image->roomLayout[4], 0x8A);
    EXPECT_EQ(image->roomLayout[16], 0x85);
    EXPECT_EQ(recordAt(1246), (EqBandRecord{}));
    // mic channel A band 5: 1000 Hz flat
    EXPECT_EQ(recordAt(35), (EqBandRecord{0x00, 0x96, 0x03, 0xE8, 0x05, 0x86, 0x01}));
    // echo A band 0 is 61 Hz, band 6 a 5000 Hz low-pass with Q 0.707
    EXPECT_EQ(recordAt(140), (EqBandRecord{0x00, 0x96, 0x00, 0x3D, 0x05, 0x86, 0x01}));
    EXPECT_EQ(recordAt(182), (EqBandRecord{0x00, 0x96, 0x13, 0x88, 0x02, 0xC3, 0x02}));
    // echo B: 200 Hz high-pass, +3 dB high shelf (code 180)
    EXPECT_EQ(recordAt(189), (EqBandRecord{0x00, 0x96, 0x00, 0xC8, 0x02, 0xC3, 0x03}));
    EXPECT_EQ(recordAt(231), (EqBandRecord{0x00, 0xB4, 0x13, 0x88, 0x02, 0xC3, 0x05}));
    // reverb A 120 Hz high-pass, -6 dB shelf (code 90); reverb B 3000 Hz -3 dB (code 120)
    EXPECT_EQ(recordAt(238), (EqBandRecord{0x00, 0x96, 0x00, 0x78, 0x02, 0xC3, 0x03}));
    EXPECT_EQ(recordAt(280), (EqBandRecord{0x00, 0x5A, 0x13, 0x88, 0x02, 0xC3, 0x05}));
    EXPECT_EQ(recordAt(329), (EqBandRecord{0x00, 0x78, 0x0B, 0xB8, 0x02, 0xC3, 0x05}));
    // CH 8: band 12 at 16 kHz, band 13 500 Hz and band 14 1000 Hz, flat with Q 0.707
    EXPECT_EQ(recordAt(bandAddress(12, 12)),
              (EqBandRecord{0x00, 0x96, 0x3E, 0x80, 0x05, 0x86, 0x01}));
    EXPECT_EQ(recordAt(bandAddress(12, 13)),
              (EqBandRecord{0x00, 0x96, 0x01, 0xF4, 0x02, 0xC3, 0x01}));
    EXPECT_EQ(recordAt(bandAddress(12, 14)),
              (EqBandRecord{0x00, 0x96, 0x03, 0xE8, 0x02, 0xC3, 0x01}));
}

TEST_F(Fixture, ResetKeepsTheReportedProtocolVersion) {
    image->info.protocolVersion = 18;
    image->resetToDefaults();
    EXPECT_EQ(image->info.protocolVersion, 18);
}

TEST_F(Fixture, ApplyBandStoresWritesThenSendsCoefficients) {
    ASSERT_EQ(bands.applyBand(7, 0, 1, 0.0f, 1000.9f, 1.414f), 61);
    const auto reports = sink.reports();
    ASSERT_EQ(reports.size(), 2u);
    // WriteEqBand: the record at 406, frequency cut to whole hertz.
    EXPECT_EQ(reports[0][1], 0x85);
    EXPECT_EQ((reports[0][2] << 8) | reports[0][3], 406);
    EXPECT_EQ(reports[0][4], 7);
    const EqBandRecord expected{0x00, 0x96, 0x03, 0xE8, 0x05, 0x86, 0x01};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), reports[0].begin() + 5));
    EXPECT_EQ(recordAt(406), expected);

    // SetEqCoefficients of a flat peaking band at 1000 Hz: b0 = 1, b1 = a1, b2 = a2,
    // a1 = -2 cos w / (1 + alpha), a2 = (1 - alpha) / (1 + alpha), alpha = sin w / (2 Q).
    const Report& c = reports[1];
    EXPECT_EQ(c[1], 0x09);
    EXPECT_EQ(c[3], 5);
    EXPECT_EQ(c[4], 0);
    EXPECT_EQ(c[5], 5);
    const double w = 2 * std::numbers::pi * 1000 / 48000;
    const double alpha = std::sin(w) / (2 * 1.414f);
    const double a1 = -2 * std::cos(w) / (1 + alpha);
    const double a2 = (1 - alpha) / (1 + alpha);
    EXPECT_FLOAT_EQ(f32(wordAt(c, 6)), float(-a1));
    EXPECT_FLOAT_EQ(f32(wordAt(c, 10)), float(-a2));
    EXPECT_FLOAT_EQ(f32(wordAt(c, 14)), 1.0f);
    EXPECT_FLOAT_EQ(f32(wordAt(c, 18)), float(a1));
    EXPECT_FLOAT_EQ(f32(wordAt(c, 22)), float(a2));
}

TEST_F(Fixture, ApplyBandUsesEachEqualisersWireParameter) {
    struct Case {
        int eqId, band, module, param;
        std::size_t address;
    };
    const Case cases[] = {{0, 9, 1, 25, 63},  {1, 0, 1, 39, 70},      {2, 6, 3, 6, 280},
                          {3, 0, 3, 12, 287}, {4, 0, 2, 0, 140},      {5, 6, 2, 19, 231},
                          {6, 9, 4, 9, 399},  {14, 14, 12, 14, 1239}, {8, 13, 6, 13, 602}};
    for (const Case& k : cases) {
        sink.clear();
        bands.applyBand(k.eqId, k.band, 1, 2.0f, 500.0f, 1.0f);
        const auto r = sink.reports();
        ASSERT_EQ(r.size(), 2u) << "eqId " << k.eqId;
        EXPECT_EQ(std::size_t((r[0][2] << 8) | r[0][3]), k.address) << "eqId " << k.eqId;
        EXPECT_EQ(r[1][3], k.module) << "eqId " << k.eqId;
        EXPECT_EQ(r[1][4], k.param) << "eqId " << k.eqId;
    }
}

TEST_F(Fixture, BandsOutsideAnEqualiserAreRefused) {
    const auto before = image->eqBands;
    EXPECT_EQ(bands.applyBand(15, 0, 1, 0, 1000, 1), 0);
    EXPECT_EQ(bands.applyBand(-1, 0, 1, 0, 1000, 1), 0);
    EXPECT_EQ(bands.applyBand(2, 7, 1, 0, 1000, 1), 0); // effects have 7 bands
    EXPECT_EQ(bands.applyBand(7, 15, 1, 0, 1000, 1), 0);
    EXPECT_EQ(bands.writeBand(12, 200, 0, 1000, 1, 1), 0); // past the store
    EXPECT_TRUE(sink.entries().empty());
    EXPECT_EQ(image->eqBands, before);
}

TEST_F(Fixture, BoostBandIsRecord178OnMusicParameter10) {
    bands.applyBoostBand(2, 0.0f, 120.0f, 0.707f);
    const auto r = sink.reports();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ((r[0][2] << 8) | r[0][3], 1246);
    EXPECT_EQ(r[1][3], 4);
    EXPECT_EQ(r[1][4], 10);
    EXPECT_EQ(recordAt(1246), (EqBandRecord{0x00, 0x96, 0x00, 0x78, 0x02, 0xC3, 0x02}));
}

TEST_F(Fixture, ResetEqFlattensAtTheStandardFrequencies) {
    bands.applyBand(2, 3, 4, 6.0f, 777.0f, 2.0f);
    sink.clear();
    bands.resetEq(2);
    const int freqs[] = {63, 125, 250, 500, 1000, 2300, 5000};
    for (int b = 0; b < 7; ++b) {
        // gain code 150, Q code 1410 (05 82), type 1
        EXPECT_EQ(recordAt(238 + 7 * b), (EqBandRecord{0x00, 0x96, std::uint8_t(freqs[b] >> 8),
                                                       std::uint8_t(freqs[b]), 0x05, 0x82, 0x01}));
    }
    EXPECT_EQ(sink.reports().size(), 14u);
    sink.clear();
    bands.resetEq(9);
    EXPECT_EQ(sink.reports().size(), 26u); // 13 bands, delay split bands untouched
}

TEST_F(Fixture, CopyTenBandsOntoAnOutputAddsThreeFlatBands) {
    bands.applyBand(0, 9, 4, 5.0f, 12000.0f, 0.9f);
    bands.applyBand(0, 2, 1, -4.0f, 150.0f, 2.5f);
    bands.applyBand(7, 13, 3, 0.0f, 800.0f, 0.707f);
    const EqBandRecord band13 = recordAt(bandAddress(5, 13));
    sink.clear();
    ASSERT_TRUE(bands.copyEq(0, 7));
    for (int b = 0; b < 10; ++b) {
        EXPECT_EQ(recordAt(406 + 7 * b), recordAt(7 * b)) << "band " << b;
    }
    // 0 dB, band 9's 12000 Hz (2E E0) and Q code 900 (03 84), type 1
    for (int b = 10; b < 13; ++b) {
        EXPECT_EQ(recordAt(406 + 7 * b), (EqBandRecord{0x00, 0x96, 0x2E, 0xE0, 0x03, 0x84, 0x01}));
    }
    EXPECT_EQ(recordAt(bandAddress(5, 13)), band13);
    EXPECT_EQ(sink.reports().size(), 26u); // the destination is stored and sent
}

TEST_F(Fixture, CopyOutputCrossoverOntoMusicBecomesLowOrHighPass) {
    bands.applyBand(7, 9, 7, 0.0f, 80.0f, 0.707f);
    ASSERT_TRUE(bands.copyEq(7, 6));
    EXPECT_EQ(image->eqBands[336 + 9 * 7 + 6], 3);
    bands.applyBand(8, 9, 12, 0.0f, 80.0f, 0.707f);
    ASSERT_TRUE(bands.copyEq(8, 1));
    EXPECT_EQ(image->eqBands[70 + 9 * 7 + 6], 2);
    // Copying an output onto an effect equaliser copies seven bands and keeps types.
    bands.applyBand(9, 6, 9, 0.0f, 90.0f, 0.707f);
    ASSERT_TRUE(bands.copyEq(9, 4));
    EXPECT_EQ(image->eqBands[140 + 6 * 7 + 6], 9);
}

TEST_F(Fixture, CopyWithABadIdChangesNothing) {
    const auto before = image->eqBands;
    EXPECT_FALSE(bands.copyEq(-1, 3));
    EXPECT_FALSE(bands.copyEq(3, 15));
    EXPECT_EQ(image->eqBands, before);
    EXPECT_TRUE(sink.entries().empty());
}

TEST_F(Fixture, ResendEqSendsEveryBandAsStored) {
    bands.applyBand(3, 4, 5, -2.5f, 3000.0f, 0.5f);
    const auto before = image->eqBands;
    sink.clear();
    bands.resendEq(3);
    EXPECT_EQ(sink.reports().size(), 14u);
    EXPECT_EQ(image->eqBands, before);
}
