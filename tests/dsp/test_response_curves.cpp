// Response curves of the equaliser editor: closed-form magnitude, the 512-point grid,
// band curves with the peaking rule, crossover companions and the total.
#include "SectionResponse.h"
#include "dsp/DisplayBiquad.h"
#include "dsp/EqBandSet.h"
#include "dsp/ResponseCurve.h"
#include "dsp/SmallEqCurve.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quilo;
using quilo::test::responseAt;

namespace {

double referenceDb(const BiquadCoefficients& c, double f) {
    return 20.0 * std::log10(std::abs(responseAt(c, f)));
}

TEST(Magnitude, ClosedFormAgreesWithComplexEvaluation) {
    const BiquadCoefficients sets[] = {
        {0.5, 0.2, 0.1, -0.3, 0.2},
        {1.02, -1.9, 0.9, -1.9, 0.92},
        {0.2, 0.4, 0.2, -0.6, 0.3},
    };
    for (const auto& c : sets) {
        for (double f : {20.0, 440.0, 1000.0, 9000.0, 23000.0})
            EXPECT_NEAR(magnitudeDb(c, f), referenceDb(c, f), 1e-9) << f;
    }
    // With an explicit a0: the same section scaled top and bottom by 2.5.
    EXPECT_NEAR(magnitudeDb(1.25, 0.5, 0.25, 2.5, -0.75, 0.5, 700.0),
                referenceDb(BiquadCoefficients{0.5, 0.2, 0.1, -0.3, 0.2}, 700.0), 1e-9);
}

TEST(Magnitude, ExactZeroIsFloored) {
    // A notch at 12 kHz: b = 1, -2 cos(pi/2), 1 has a zero exactly there.
    const BiquadCoefficients notch{1.0, 0.0, 1.0, 0.0, 0.5};
    const double v = magnitudeDb(notch, 12000.0);
    EXPECT_TRUE(std::isfinite(v));
    EXPECT_LT(v, -200.0);
}

TEST(Grid, PointsSpanTheEditorRange) {
    CurveGrid grid(512);
    EXPECT_FLOAT_EQ(grid.step(), 1.0f);
    EXPECT_FLOAT_EQ(grid.frequencyAt(0), 18.0f);
    // Halfway along: 18 * sqrt(23000/18) = 643.43 Hz.
    EXPECT_NEAR(grid.frequencyAt(256), 643.43f, 0.01f);
    // 1000 Hz: log10(1000/18)/log10(23000/18) = 0.561644, x 512 = 287.56.
    EXPECT_EQ(grid.indexOf(1000.0), 287);
    grid.setWidth(1158); // step 2.2617; trunc(650.38) / 2.2617 = 287.4
    EXPECT_EQ(grid.indexOf(1000.0), 287);
    grid.setWidth(600);
    EXPECT_EQ(grid.xAt(511), 598); // trunc(511 * 600 / 512)
    EXPECT_EQ(grid.indexOf(0.0), -1);
}

TEST(DbScale, MapsTheSpanOntoThePlot) {
    const DbScale scale{18.0, 300.0};
    EXPECT_DOUBLE_EQ(scale.y(15.0), 18.0);
    EXPECT_DOUBLE_EQ(scale.y(-15.0), 318.0);
    EXPECT_DOUBLE_EQ(scale.y(0.0), 168.0);
    EXPECT_DOUBLE_EQ(scale.y(-21.0), 378.0); // not limited
}

TEST(BandCurve, FlatPeakingBandIsZeroEverywhere) {
    const CurveGrid grid(600);
    BandCurve curve;
    curve.fill(1.0f);
    computeBandResponse(Peaking, 0.0f, 1234.0f, 3.3f, grid, curve);
    for (float v : curve)
        ASSERT_EQ(v, 0.0f);
}

TEST(BandCurve, PeakReachesTheSetGainAtItsOwnIndex) {
    const CurveGrid grid(600);
    BandCurve curve;
    computeBandResponse(Peaking, 6.0f, 1000.0f, 1.41f, grid, curve);
    const int k = grid.indexOf(1000.0);
    EXPECT_EQ(curve[static_cast<std::size_t>(k)], 6.0f);
    // The grid point itself is not at 1000 Hz, so the section gives a little less there.
    EXPECT_NE(grid.frequencyAt(k), 1000.0f);
    const BiquadCoefficients c = designBiquad(Peaking, 6.0, 1000.0, 1.41, 0.0, 48000.0);
    for (int i : {k - 1, k + 1}) {
        const float v = curve[static_cast<std::size_t>(i)];
        EXPECT_GT(v, 5.9f);
        EXPECT_LT(v, 6.0f);
        EXPECT_NEAR(v, referenceDb(c, grid.frequencyAt(i)), 1e-4);
    }
}

TEST(BandCurve, EveryPointIsTheSectionsResponseAtTheGridFrequency) {
    const CurveGrid grid(777);
    BandCurve curve;
    computeBandResponse(LowShelf, -9.0f, 180.0f, 0.7f, grid, curve);
    const BiquadCoefficients c = designBiquad(LowShelf, -9.0, 180.0, 0.7, 0.0, 48000.0);
    for (int i = 0; i < kCurvePoints; i += 7)
        ASSERT_NEAR(curve[static_cast<std::size_t>(i)], referenceDb(c, grid.frequencyAt(i)), 1e-4)
            << i;
    EXPECT_NEAR(curve[0], -9.0f, 0.05f); // the shelf's floor
    EXPECT_NEAR(curve[511], 0.0f, 0.05f);
}

class BandSetTest : public ::testing::Test {
protected:
    void SetUp() override { set.setPlotSize(600, 300); }
    EqBandSet set;
};

TEST_F(BandSetTest, DefaultLayouts) {
    set.setBandCount(7);
    const float freqs[7] = {31, 62, 125, 250, 500, 1000, 2000};
    for (int b = 0; b < 7; ++b) {
        EXPECT_EQ(set.band(b).filterType, Peaking);
        EXPECT_FLOAT_EQ(set.band(b).q, 1.41f);
        EXPECT_FLOAT_EQ(set.band(b).frequency, freqs[b]);
        EXPECT_EQ(set.band(b).index, b);
    }
    set.setBandCount(10);
    EXPECT_FLOAT_EQ(set.band(9).frequency, 16000.0f);
    set.setBandGain(3, 5.0f);
    set.band(3).frequency = 777.0f;
    set.setBandCount(13); // no layout for 13: values stay, gains clear
    EXPECT_FLOAT_EQ(set.band(3).frequency, 777.0f);
    EXPECT_FLOAT_EQ(set.band(3).gain, 0.0f);
    set.setBandCount(99);
    EXPECT_EQ(set.bandCount(), EqBandSet::kMaxBands);
}

TEST_F(BandSetTest, TypeGainAndQRules) {
    set.setBandCount(10);
    set.setBandGain(2, 20.0f);
    EXPECT_FLOAT_EQ(set.band(2).gain, 15.0f);
    set.setBandQ(2, 45.0f);
    EXPECT_FLOAT_EQ(set.band(2).q, 30.0f);
    set.setBandType(2, HighShelf);
    EXPECT_FLOAT_EQ(set.band(2).gain, 0.0f);
    EXPECT_FLOAT_EQ(set.band(2).q, 0.7f);
    set.setBandGain(2, -4.0f);
    EXPECT_FLOAT_EQ(set.band(2).gain, -4.0f); // shelves keep a gain
    set.setBandQ(2, 5.0f);
    EXPECT_FLOAT_EQ(set.band(2).q, 2.0f);
    set.setBandQ(2, 1e-8f); // too small to mean anything: ignored
    EXPECT_FLOAT_EQ(set.band(2).q, 2.0f);
    set.setBandQ(2, -3.0f);
    EXPECT_FLOAT_EQ(set.band(2).q, 0.1f);
    set.setBandType(2, Peaking);
    EXPECT_FLOAT_EQ(set.band(2).q, 1.41f);
    EXPECT_FLOAT_EQ(set.band(2).gain, -4.0f);
    for (int type : {2, 3, 6, 21, 30}) {
        set.band(2).filterType = type;
        set.setBandGain(2, 6.0f);
        EXPECT_FLOAT_EQ(set.band(2).gain, 0.0f) << type;
    }
    set.setBandType(-1, LowPass); // no such slot: nothing happens
    set.setBandGain(40, 3.0f);
}

TEST_F(BandSetTest, TotalLeavesOutBandsSwitchedOff) {
    set.setBandCount(7);
    set.setBandGain(1, 6.0f);
    set.setBandGain(4, -3.0f);
    const BandCurve before = set.band(4).curve;
    set.band(4).filterType = Off;
    set.computeBandCurve(4);
    EXPECT_EQ(set.band(4).curve, before); // kept, not cleared
    const BandCurve total = set.totalCurve();
    for (int i = 0; i < kCurvePoints; ++i)
        ASSERT_FLOAT_EQ(total[static_cast<std::size_t>(i)],
                        set.band(1).curve[static_cast<std::size_t>(i)])
            << i;
}

TEST_F(BandSetTest, TotalCoversTheBandCountOnly) {
    set.setBandCount(7);
    set.band(8).filterType = Peaking;
    set.band(8).gain = 9.0f;
    set.computeBandCurve(8);
    const BandCurve total = set.totalCurve();
    for (float v : total)
        ASSERT_EQ(v, 0.0f);
}

TEST_F(BandSetTest, CrossoverSlotCarriesItsCompanions) {
    set.setPanelId(9);
    set.setBandCount(13);
    for (int b = 10; b <= 12; ++b)
        set.band(b).gain = 2.0f;
    set.band(9).filterType = LowPassQ1307;
    set.band(10).filterType = LowPassQ0541;
    set.band(11).filterType = Peaking;
    set.band(12).filterType = Peaking;
    set.band(9).frequency = 3000.0f;
    set.band(9).q = 0.8f;
    set.computeBandCurve(9);
    for (int c = 10; c <= 12; ++c) {
        EXPECT_FLOAT_EQ(set.band(c).frequency, 3000.0f);
        EXPECT_FLOAT_EQ(set.band(c).q, 0.8f);
        EXPECT_FLOAT_EQ(set.band(c).gain, 0.0f);
    }
    // At the set frequency each section gives 20 log10(Q): 20 log10(1.3066) +
    // 20 log10(0.5412) = 2.32 - 5.33 = -3.01 dB; the grid point sits 0.3 % lower.
    const int k = set.grid().indexOf(3000.0);
    const BandCurve shaded = set.shadedCurve(9);
    EXPECT_NEAR(shaded[static_cast<std::size_t>(k)], -3.01f, 0.1f);
    EXPECT_LT(shaded[511], -40.0f);
    EXPECT_EQ(set.reachableCount(), 10);

    // Elsewhere band 9 is an ordinary band.
    set.setPanelId(6);
    set.band(9).frequency = 500.0f;
    set.computeBandCurve(9);
    EXPECT_FLOAT_EQ(set.band(10).frequency, 3000.0f);
    EXPECT_EQ(set.shadedCurve(9), set.band(9).curve);
}

TEST_F(BandSetTest, CrossoverFamilyKeepsTheDirection) {
    set.setPanelId(7);
    set.setBandCount(13);
    set.band(9).filterType = HighPassQ1307;
    set.band(9).gain = 3.0f;
    set.applyCrossoverFamily(9, 1); // "LinkwitzRiely 24dB"
    const int high[4] = {ButterworthHighPass, ButterworthHighPass, Peaking, Peaking};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(set.band(9 + i).filterType, high[i]);
        EXPECT_FLOAT_EQ(set.band(9 + i).gain, 0.0f);
    }
    set.band(9).filterType = LowPass;
    set.applyCrossoverFamily(9, 3); // "LinkwitzRiely 48dB"
    const int low[4] = {LowPassQ1307, LowPassQ0541, LowPassQ1307, LowPassQ0541};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(set.band(9 + i).filterType, low[i]);

    set.applyCrossoverFamily(3, 1); // not the crossover slot
    EXPECT_EQ(set.band(3).filterType, Peaking);
}

TEST_F(BandSetTest, MenuTypesOnTheCrossoverSlot) {
    set.setPanelId(14);
    set.setBandCount(13);
    set.band(9).gain = 4.0f;
    set.band(9).q = 1.2f;
    set.applyMenuType(9, HighPass);
    const int hp[4] = {HighPassQ1307, HighPassQ0541, Peaking, Peaking};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(set.band(9 + i).filterType, hp[i]);
        EXPECT_FLOAT_EQ(set.band(9 + i).gain, 0.0f);
        EXPECT_FLOAT_EQ(set.band(9 + i).q, 1.2f); // the slot keeps its Q, the companions follow
    }
    set.applyMenuType(9, Peaking);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(set.band(9 + i).filterType, Peaking);
    EXPECT_FLOAT_EQ(set.band(9).q, 1.2f);
    set.applyMenuType(9, 6); // only 1-5 are offered
    EXPECT_EQ(set.band(9).filterType, Peaking);
    set.band(9).q = 12.0f;
    set.applyMenuType(9, LowShelf); // kept within what a shelf allows
    EXPECT_FLOAT_EQ(set.band(9).q, 2.0f);
    EXPECT_FLOAT_EQ(set.band(10).q, 2.0f);
}

TEST_F(BandSetTest, HandlesOfBandsSwitchedOffStayWhereTheyWere) {
    set.setBandCount(10);
    set.updateHandles();
    // 1000 Hz at 0 dB: x = 600 * 0.561644 = 336.99, y = 150.
    EXPECT_NEAR(set.band(5).handleX, 336.99f, 0.01f);
    EXPECT_FLOAT_EQ(set.band(5).handleY, 150.0f);
    set.band(5).filterType = Off;
    set.band(5).frequency = 31.0f;
    set.updateHandles();
    EXPECT_NEAR(set.band(5).handleX, 336.99f, 0.01f);
}

TEST_F(BandSetTest, NonsenseFrequencyKeepsCurvesAndHandlesFinite) {
    set.setBandCount(7);
    set.updateHandles();
    const float x = set.band(2).handleX;
    set.band(2).frequency = 0.0f;
    set.band(2).gain = 6.0f;
    set.computeBandCurve(2);
    set.updateHandles();
    for (float v : set.band(2).curve)
        ASSERT_TRUE(std::isfinite(v));
    EXPECT_FLOAT_EQ(set.band(2).handleX, x);
}

// The small preview on a 344 x 64 client: a 340 x 60 plot inside 2-pixel margins, so
// one dB is two pixels and 0 dB lies at y = 32.
class SmallCurveTest : public ::testing::Test {
protected:
    void SetUp() override { curve.setClientSize(344, 64); }
    SmallEqCurve curve;
};

TEST_F(SmallCurveTest, AxisOfItsOwn) {
    EXPECT_EQ(SmallEqCurve::pointFrequency(0), 10);
    EXPECT_EQ(SmallEqCurve::pointFrequency(1), 11);
    EXPECT_EQ(SmallEqCurve::pointFrequency(28), 501);   // 10 * 10^1.7 = 501.19
    EXPECT_EQ(SmallEqCurve::pointFrequency(55), 21841); // 10 * 10^(3.4 * 55/56)
    EXPECT_FLOAT_EQ(curve.band(0).x[28], 2.0f + 170.0f);
    EXPECT_EQ(curve.total()[28].x, 172);
    EXPECT_DOUBLE_EQ(curve.xOfFrequency(100.0), 2.0 + 100.0);
}

TEST_F(SmallCurveTest, DefaultsAndLimits) {
    EXPECT_FLOAT_EQ(curve.band(6).frequency, 2000.0f);
    EXPECT_FLOAT_EQ(curve.band(6).q, 1.414f);
    curve.setBandFrequency(0, 5.0f);
    EXPECT_FLOAT_EQ(curve.band(0).frequency, 20.0f);
    EXPECT_EQ(curve.band(0).handleX, 32); // 2 + trunc(log10(2) * 340 / 3.4)
    curve.setBandFrequency(0, 0.0f);      // ignored
    EXPECT_FLOAT_EQ(curve.band(0).frequency, 20.0f);
    curve.setBandGain(1, 13.5f); // the band's own +-12 dB are not applied here
    EXPECT_FLOAT_EQ(curve.band(1).gain, 13.5f);
    EXPECT_EQ(curve.band(1).handleY, 5); // 2 + 30 - 27
    curve.setBandGain(1, -40.0f);
    EXPECT_FLOAT_EQ(curve.band(1).gain, -15.0f);
    curve.setBandGain(9, 3.0f); // no such band
}

TEST_F(SmallCurveTest, FlatBandsGiveTheMiddleLine) {
    for (const auto& p : curve.total())
        ASSERT_EQ(p.y, 32);
}

TEST_F(SmallCurveTest, TotalFollowsTheDisplaySections) {
    curve.setBandGain(3, 6.0f);  // 250 Hz
    curve.setBandGain(5, -4.5f); // 1000 Hz
    DisplayBiquad a;
    DisplayBiquad b;
    ASSERT_EQ(designDisplayBiquad(1, 250.0, 48000.0, 1.414, 6.0, a), 0);
    ASSERT_EQ(designDisplayBiquad(1, 1000.0, 48000.0, 1.414, -4.5, b), 0);
    for (int u = 0; u < SmallEqCurve::kPoints; ++u) {
        const double f = SmallEqCurve::pointFrequency(u);
        const double db =
            20.0 * std::log10(std::abs(responseAt(a.b0, a.b1, a.b2, a.a0, a.a1, a.a2, f))) +
            20.0 * std::log10(std::abs(responseAt(b.b0, b.b1, b.b2, b.a0, b.a1, b.a2, f)));
        // Two pixels per dB; each band read back in tenths (up to 0.1 dB, 0.2 px off) and
        // the total truncated to a whole pixel: within 1.4 px of the exact sum.
        EXPECT_NEAR(curve.total()[static_cast<std::size_t>(u)].y, 32.0 - 2.0 * db, 1.41) << u;
    }
}

TEST_F(SmallCurveTest, RefusedTypeDrawsFlat) {
    curve.setBandGain(2, 9.0f);
    curve.band(2).displayType = 0;
    curve.computeBandCurve(2);
    for (const auto& p : curve.total())
        ASSERT_EQ(p.y, 32);
    curve.band(2).frequency = 0.0f; // written directly; still no nonsense
    curve.computeBandCurve(2);
    EXPECT_EQ(curve.total()[10].y, 32);
}

} // namespace
