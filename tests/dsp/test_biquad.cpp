#include "dsp/Biquad.h"
#include "dsp/SectionResponse.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <numbers>

using namespace quilo;
using quilo::test::dbAt;
using quilo::test::dbAtDc;
using quilo::test::dbAtNyquist;
using quilo::test::responseAt;

namespace {

constexpr double kFs = 48000.0;
constexpr double kMinus3dB = -3.0102999566398120; // 20*log10(1/sqrt(2))

BiquadCoefficients design(int type, double gain, double f, double q, double extra = 0.0) {
    return designBiquad(type, gain, f, q, extra, kFs);
}

// Reference designs: analogue prototypes through the bilinear transform with the corner
// pre-warped, s = (1/K)(1 - z^-1)/(1 + z^-1), K = tan(pi f / fs). Numerator and
// denominator are given as the polynomial coefficients before dividing by the first one.
BiquadCoefficients normalise(double n0, double n1, double n2, double d0, double d1, double d2) {
    return BiquadCoefficients{n0 / d0, n1 / d0, n2 / d0, d1 / d0, d2 / d0};
}

double prewarp(double f) {
    return std::tan(std::numbers::pi * f / kFs);
}

// 1/(s^2 + s/Q + 1) or s^2/(s^2 + s/Q + 1), times gl.
BiquadCoefficients refSecondOrder(bool high, double f, double q, double gl) {
    const double k = prewarp(f);
    const double k2 = k * k;
    const double n0 = high ? gl : gl * k2;
    const double n1 = high ? -2.0 * gl : 2.0 * gl * k2;
    return normalise(n0, n1, n0, 1.0 + k / q + k2, 2.0 * k2 - 2.0, 1.0 - k / q + k2);
}

// 1/(s + 1) or s/(s + 1), times gl.
BiquadCoefficients refFirstOrder(bool high, double f, double gl) {
    const double k = prewarp(f);
    if (high)
        return normalise(gl, -gl, 0.0, 1.0 + k, k - 1.0, 0.0);
    return normalise(gl * k, gl * k, 0.0, 1.0 + k, k - 1.0, 0.0);
}

// (s^2 + s A/Q + 1)/(s^2 + s/(A Q) + 1), A = 10^(gain/40).
BiquadCoefficients refPeaking(double f, double q, double gainDb) {
    const double a = std::pow(10.0, gainDb / 40.0);
    const double k = prewarp(f);
    const double k2 = k * k;
    return normalise(1.0 + k * a / q + k2, 2.0 * k2 - 2.0, 1.0 - k * a / q + k2,
                     1.0 + k / (a * q) + k2, 2.0 * k2 - 2.0, 1.0 - k / (a * q) + k2);
}

void expectNear(const BiquadCoefficients& got, const BiquadCoefficients& want, double tol) {
    EXPECT_NEAR(got.b0, want.b0, tol);
    EXPECT_NEAR(got.b1, want.b1, tol);
    EXPECT_NEAR(got.b2, want.b2, tol);
    EXPECT_NEAR(got.a1, want.a1, tol);
    EXPECT_NEAR(got.a2, want.a2, tol);
}

void expectPassThrough(const BiquadCoefficients& c) {
    EXPECT_EQ(c.b0, 1.0);
    EXPECT_EQ(c.b1, 0.0);
    EXPECT_EQ(c.b2, 0.0);
    EXPECT_EQ(c.a1, 0.0);
    EXPECT_EQ(c.a2, 0.0);
}

const double kFreqs[] = {20.0, 97.0, 1000.0, 4567.8, 15000.0, 20000.0};

} // namespace

TEST(Biquad, PeakingAtZeroGainIsExactlyFlat) {
    for (double f : kFreqs) {
        for (double q : {0.1, 1.41, 30.0}) {
            const auto c = design(Peaking, 0.0, f, q);
            EXPECT_DOUBLE_EQ(c.b0, 1.0);
            EXPECT_DOUBLE_EQ(c.b1, c.a1);
            EXPECT_DOUBLE_EQ(c.b2, c.a2);
        }
    }
}

TEST(Biquad, PeakingMatchesPrototypeAndReachesItsGainAtTheCentre) {
    for (double f : kFreqs) {
        for (double q : {0.3, 1.41, 12.0}) {
            for (double g : {-15.0, -4.5, 7.2, 15.0}) {
                const auto c = design(Peaking, g, f, q);
                expectNear(c, refPeaking(f, q, g), 1e-12);
                EXPECT_NEAR(dbAt(c, f), g, 1e-9) << f << " " << q << " " << g;
                EXPECT_NEAR(dbAtDc(c), 0.0, 1e-9);
                EXPECT_NEAR(dbAtNyquist(c), 0.0, 1e-9);
            }
        }
    }
}

TEST(Biquad, LowAndHighPassMatchBilinearDesign) {
    const auto lp = design(LowPass, 0.0, 1000.0, 0.707);
    EXPECT_NEAR(dbAt(lp, 1000.0), -3.01, 0.005);
    EXPECT_NEAR((lp.b0 + lp.b1 + lp.b2) / (1.0 + lp.a1 + lp.a2), 1.0, 1e-12);
    for (double f : kFreqs) {
        for (double q : {0.1, 0.707, 2.0}) {
            expectNear(design(LowPass, 0.0, f, q), refSecondOrder(false, f, q, 1.0), 1e-12);
            expectNear(design(HighPass, 0.0, f, q), refSecondOrder(true, f, q, 1.0), 1e-12);
            const auto hp = design(HighPass, 0.0, f, q);
            EXPECT_NEAR(dbAtNyquist(hp), 0.0, 1e-12);
            EXPECT_NEAR(dbAt(hp, f), 20.0 * std::log10(q), 1e-9);
        }
    }
    // Their gain scales all three numerator coefficients.
    expectNear(design(LowPass, 6.0, 300.0, 0.9),
               refSecondOrder(false, 300.0, 0.9, std::pow(10.0, 0.3)), 1e-12);
    EXPECT_NEAR(dbAtNyquist(design(HighPass, -6.0, 300.0, 0.9)), -6.0, 1e-9);
}

TEST(Biquad, ShelvesReachTheirGainAndHalfOfItAtTheCorner) {
    for (double f : {100.0, 1000.0, 10000.0}) {
        for (double q : {0.5, 0.707, 2.0}) {
            for (double g : {-15.0, -6.0, 9.0, 15.0}) {
                const auto ls = design(LowShelf, g, f, q);
                EXPECT_NEAR(dbAtDc(ls), g, 1e-9);
                EXPECT_NEAR(dbAtNyquist(ls), 0.0, 1e-9);
                EXPECT_NEAR(dbAt(ls, f), g / 2.0, 1e-9);
                const auto hs = design(HighShelf, g, f, q);
                EXPECT_NEAR(dbAtDc(hs), 0.0, 1e-9);
                EXPECT_NEAR(dbAtNyquist(hs), g, 1e-9);
                EXPECT_NEAR(dbAt(hs, f), g / 2.0, 1e-9);
            }
        }
    }
    // Steeper with a higher shelf Q: just above the corner of a +12 dB low shelf.
    EXPECT_LT(dbAt(design(LowShelf, 12.0, 1000.0, 2.0), 1500.0),
              dbAt(design(LowShelf, 12.0, 1000.0, 0.5), 1500.0));
}

TEST(Biquad, FixedQSectionsIgnoreTheBandQ) {
    struct Fixed {
        int type;
        double q;
    };
    // Q = 1/(2 sin(theta)) of the Butterworth pole angles, written out to six decimals.
    const Fixed fixed[] = {{8, 0.577350},  {9, 0.577350},  {12, 0.707107}, {13, 0.707107},
                           {14, 1.0},      {15, 1.0},      {16, 0.5},      {17, 0.5},
                           {18, 1.306563}, {19, 1.306563}, {20, 0.541196}, {21, 0.541196}};
    for (const Fixed& s : fixed) {
        const bool high = s.type % 2 == 1;
        for (double f : {50.0, 1000.0, 15000.0}) {
            for (double g : {0.0, 3.0}) {
                const auto c = design(s.type, g, f, 3.3);
                EXPECT_NEAR(dbAt(c, f), 20.0 * std::log10(s.q) + g, 1e-5) << s.type << " " << f;
                EXPECT_NEAR(high ? dbAtNyquist(c) : dbAtDc(c), g, 1e-9);
                const double gl = std::pow(10.0, g / 20.0);
                expectNear(c, refSecondOrder(high, f, s.q, gl), 1e-6);
                expectNear(design(s.type, g, f, 0.0), c, 0.0);
            }
        }
    }
    expectNear(design(ButterworthLowPass, 0.0, 2500.0, 9.0),
               refSecondOrder(false, 2500.0, std::sqrt(0.5), 1.0), 1e-12);
}

TEST(Biquad, FirstOrderSectionsAreBilinearFirstOrder) {
    for (double f : kFreqs) {
        for (double g : {0.0, -2.0}) {
            const auto lp = design(FirstOrderLowPass, g, f, 0.0);
            const auto hp = design(FirstOrderHighPass, g, f, 5.0);
            const double gl = std::pow(10.0, g / 20.0);
            expectNear(lp, refFirstOrder(false, f, gl), 1e-12);
            expectNear(hp, refFirstOrder(true, f, gl), 1e-12);
            EXPECT_NEAR(dbAt(lp, f), kMinus3dB + g, 1e-9);
            EXPECT_NEAR(dbAt(hp, f), kMinus3dB + g, 1e-9);
            for (const auto& c : {lp, hp}) {
                EXPECT_EQ(c.a2, 0.0);
                EXPECT_EQ(c.b2, 0.0);
            }
        }
    }
}

TEST(Biquad, ChebyshevIsMinusATenthOfADecibelAtItsCornerAndInThePassband) {
    // Prototype g W / (s^2 + sqrt(2) Y s + W), W = Y^2 + 1/2, with the published
    // Y = 1.1600702 and g = 0.9885531; the high-pass is its s -> 1/s image.
    const double y = 1.1600702;
    const double g = 0.9885531;
    const double w = y * y + 0.5;
    const double r2y = std::sqrt(2.0) * y;
    for (double f : {30.0, 200.0, 1000.0, 5000.0, 15000.0, 22000.0}) {
        for (double gain : {0.0, -3.0, 4.0}) {
            const double gl = std::pow(10.0, gain / 20.0);
            const auto lp = design(ChebyshevLowPass, gain, f, 0.7);
            const auto hp = design(ChebyshevHighPass, gain, f, 0.7);
            EXPECT_NEAR(dbAt(lp, f), gain - 0.1, 1e-9) << f;
            EXPECT_NEAR(dbAt(hp, f), gain - 0.1, 1e-9) << f;
            EXPECT_NEAR(dbAtDc(lp), gain - 0.1, 1e-9);
            EXPECT_NEAR(dbAtNyquist(hp), gain - 0.1, 1e-9);
            EXPECT_NEAR(lp.b0 - lp.b1 + lp.b2, 0.0, 1e-15); // zero at Nyquist
            EXPECT_NEAR(hp.b0 + hp.b1 + hp.b2, 0.0, 1e-15); // zero at DC

            const double k = prewarp(f);
            const double k2 = k * k;
            expectNear(lp,
                       normalise(gl * g * w * k2, 2.0 * gl * g * w * k2, gl * g * w * k2,
                                 1.0 + r2y * k + w * k2, 2.0 * w * k2 - 2.0,
                                 1.0 - r2y * k + w * k2),
                       1e-6);
            expectNear(hp,
                       normalise(gl * g * w, -2.0 * gl * g * w, gl * g * w, k2 + r2y * k + w,
                                 2.0 * k2 - 2.0 * w, k2 - r2y * k + w),
                       1e-6);
        }
    }
    // The Q is not used.
    expectNear(design(ChebyshevLowPass, 0.0, 800.0, 0.0), design(ChebyshevLowPass, 0.0, 800.0, 9.0),
               0.0);
}

TEST(Biquad, EveryOtherCodeIsTheUnitAllPass) {
    for (int type : {0, 22, -1, 255, INT_MIN, INT_MAX}) {
        for (double f : {100.0, 1000.0, 19000.0}) {
            const auto c = design(type, 12.0, f, 0.8);
            EXPECT_EQ(c.b2, 1.0);
            for (double probe : {0.0, 50.0, f, 7000.0, 23999.0})
                EXPECT_NEAR(std::abs(responseAt(c, probe)), 1.0, 1e-12) << type;
            // Its phase turns by -180 degrees at the set frequency.
            EXPECT_NEAR(responseAt(c, f).real(), -1.0, 1e-9);
        }
    }
}

TEST(Biquad, ExtraGainScalesOnlyPeakingAndTheAllPass) {
    for (double f : {60.0, 1000.0, 16000.0})
        EXPECT_NEAR(dbAt(design(Peaking, 0.0, 1000.0, 1.0, 6.0), f), 6.0, 1e-9);
    EXPECT_NEAR(dbAt(design(Peaking, 4.0, 1000.0, 1.0, 6.0), 1000.0), 10.0, 1e-9);
    // The all-pass takes the square root of it.
    EXPECT_NEAR(dbAt(design(Off, 0.0, 1000.0, 1.0, 6.0), 3000.0), 3.0, 1e-9);
    EXPECT_DOUBLE_EQ(design(Off, 0.0, 1000.0, 1.0, 6.0).b2, std::pow(10.0, 6.0 / 40.0));
    for (int type = 2; type <= 21; ++type)
        expectNear(design(type, 2.0, 1500.0, 0.9, 6.0), design(type, 2.0, 1500.0, 0.9), 0.0);
}

TEST(Biquad, EveryTypeIsStableOverTheEditableRange) {
    for (int type = 0; type <= 22; ++type) {
        for (double f : {20.0, 100.0, 1000.0, 10000.0, 20000.0, 23500.0}) {
            for (double q : {0.1, 0.707, 2.0, 30.0}) {
                for (double g : {-15.0, 0.0, 15.0}) {
                    const auto c = design(type, g, f, q);
                    ASSERT_TRUE(std::isfinite(c.b0) && std::isfinite(c.b1) && std::isfinite(c.b2) &&
                                std::isfinite(c.a1) && std::isfinite(c.a2));
                    // Poles inside the unit circle (the stability triangle).
                    EXPECT_LT(std::abs(c.a2), 1.0) << type << " " << f << " " << q;
                    EXPECT_LT(std::abs(c.a1), 1.0 + c.a2) << type << " " << f << " " << q;
                }
            }
        }
    }
}

TEST(Biquad, UndesignableInputGivesThePassThrough) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (int type : {0, 1, 2, 5, 6, 7, 10, 12, 21, 99}) {
        for (double f : {0.0, -50.0, 24000.0, 30000.0, nan, inf})
            expectPassThrough(design(type, 3.0, f, 1.0));
        for (double g : {nan, inf, -inf})
            expectPassThrough(design(type, g, 1000.0, 1.0));
        expectPassThrough(design(type, 0.0, 1000.0, 1.0, nan));
        expectPassThrough(designBiquad(type, 0.0, 1000.0, 1.0, 0.0, 0.0));
        expectPassThrough(designBiquad(type, 0.0, 1000.0, 1.0, 0.0, nan));
    }
    // Q only matters where it is used.
    for (double q : {0.0, -1.0, nan}) {
        for (int type : {0, 1, 2, 3, 4, 5, 40})
            expectPassThrough(design(type, 3.0, 1000.0, q));
        EXPECT_NE(design(ButterworthLowPass, 0.0, 1000.0, q).b0, 1.0);
    }
    // Gains so extreme that the design overflows or puts a pole on the unit circle.
    expectPassThrough(design(Peaking, 20000.0, 1000.0, 1.0));
    expectPassThrough(design(LowShelf, -20000.0, 1000.0, 1.0));
    expectPassThrough(design(Off, 0.0, 1000.0, 1.0, 40000.0));
}
