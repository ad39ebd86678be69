#include "dsp/Biquad.h"
#include "dsp/DisplayBiquad.h"
#include "dsp/SectionResponse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

using namespace quilo;

namespace {

constexpr double kFs = 48000.0;

double dbAt(const DisplayBiquad& d, double f) {
    return 20.0 *
           std::log10(std::abs(quilo::test::responseAt(d.b0, d.b1, d.b2, d.a0, d.a1, d.a2, f)));
}

DisplayBiquad display(int type, double f, double q, double gain) {
    DisplayBiquad d{9.0, 9.0, 9.0, 9.0, 9.0, 9.0};
    EXPECT_EQ(designDisplayBiquad(type, f, kFs, q, gain, d), 0);
    return d;
}

} // namespace

TEST(DisplayBiquad, BandTypesMatchTheProcessorDesignWithA0OfOne) {
    for (int type = 1; type <= 5; ++type) {
        for (double gain : {-9.0, 0.0, 6.0}) {
            const DisplayBiquad d = display(type, 700.0, 1.2, gain);
            // Low- and high-pass draw without gain.
            const double bandGain = (type == 2 || type == 3) ? 0.0 : gain;
            const BiquadCoefficients c = designBiquad(type, bandGain, 700.0, 1.2, 0.0, kFs);
            EXPECT_EQ(d.a0, 1.0);
            EXPECT_EQ(d.b0, c.b0);
            EXPECT_EQ(d.b1, c.b1);
            EXPECT_EQ(d.b2, c.b2);
            EXPECT_EQ(d.a1, c.a1);
            EXPECT_EQ(d.a2, c.a2);
        }
    }
    EXPECT_NEAR(dbAt(display(1, 700.0, 1.2, 6.0), 700.0), 6.0, 1e-9);
    EXPECT_NEAR(dbAt(display(2, 700.0, 0.5, 6.0), 0.0), 0.0, 1e-9);
    EXPECT_NEAR(dbAt(display(3, 700.0, 0.5, -6.0), 24000.0), 0.0, 1e-9);
}

TEST(DisplayBiquad, BandPassPeaksAtZeroDecibelsAndNotchRemovesTheCentre) {
    for (double f : {60.0, 1000.0, 12000.0}) {
        for (double q : {0.5, 2.0, 10.0}) {
            const DisplayBiquad bp = display(6, f, q, 12.0); // gain has no effect
            EXPECT_NEAR(dbAt(bp, f), 0.0, 1e-9);
            EXPECT_EQ(bp.b1, 0.0);
            EXPECT_DOUBLE_EQ(bp.b2, -bp.b0);
            EXPECT_LT(dbAt(bp, f * 0.25), -6.0);

            const DisplayBiquad notch = display(7, f, q, 12.0);
            EXPECT_LT(std::abs(quilo::test::responseAt(notch.b0, notch.b1, notch.b2, notch.a0,
                                                       notch.a1, notch.a2, f)),
                      1e-9);
            EXPECT_NEAR(dbAt(notch, 0.0), 0.0, 1e-9);
            EXPECT_NEAR(dbAt(notch, 24000.0), 0.0, 1e-9);
            EXPECT_EQ(notch.a0, 1.0);
        }
    }
    // Half-power edges: the prototype s/Q / (s^2 + s/Q + 1) is -3.01 dB where
    // W - 1/W = +-1/Q, W being the frequency pre-warped relative to the centre.
    for (double q : {0.7, 2.0, 8.0}) {
        const double f0 = 1500.0;
        const double w = 1.0 / (2.0 * q) + std::sqrt(1.0 / (4.0 * q * q) + 1.0);
        const double k0 = std::tan(3.141592653589793 * f0 / kFs);
        const DisplayBiquad bp = display(6, f0, q, 0.0);
        for (double edge : {w, 1.0 / w}) {
            const double f = kFs / 3.141592653589793 * std::atan(edge * k0);
            EXPECT_NEAR(dbAt(bp, f), -3.0102999566, 1e-8) << q;
        }
    }
}

TEST(DisplayBiquad, OtherTypesAreRefusedAndLeaveTheOutputAlone) {
    for (int type : {0, 8, -1, 100}) {
        DisplayBiquad d{2.0, 3.0, 4.0, 5.0, 6.0, 7.0};
        EXPECT_EQ(designDisplayBiquad(type, 1000.0, kFs, 1.0, 3.0, d), kDisplayBiquadBadType);
        EXPECT_EQ(d.b0, 2.0);
        EXPECT_EQ(d.b1, 3.0);
        EXPECT_EQ(d.b2, 4.0);
        EXPECT_EQ(d.a0, 5.0);
        EXPECT_EQ(d.a1, 6.0);
        EXPECT_EQ(d.a2, 7.0);
    }
    EXPECT_EQ(kDisplayBiquadBadType, -2);
}

TEST(DisplayBiquad, UndesignableInputDrawsFlat) {
    for (int type = 1; type <= 7; ++type) {
        for (double f : {0.0, 24000.0, 50000.0}) {
            const DisplayBiquad d = display(type, f, 1.0, 3.0);
            EXPECT_EQ(d.b0, 1.0);
            EXPECT_EQ(d.b1, 0.0);
            EXPECT_EQ(d.b2, 0.0);
            EXPECT_EQ(d.a0, 1.0);
            EXPECT_EQ(d.a1, 0.0);
            EXPECT_EQ(d.a2, 0.0);
        }
    }
}
