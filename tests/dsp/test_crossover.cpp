#include "dsp/Biquad.h"
#include "dsp/Crossover.h"
#include "dsp/SectionResponse.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <complex>
#include <iterator>
#include <string_view>

using namespace quilo;

namespace {

using Dir = CrossoverDirection;

struct Row {
    std::string_view name;
    CrossoverTypes lowPass;
    CrossoverTypes highPass;
};

const Row kTable[] = {
    {"LinkwitzRiely 12dB", {10, 10, 1, 1}, {11, 11, 1, 1}},
    {"LinkwitzRiely 24dB", {12, 12, 1, 1}, {13, 13, 1, 1}},
    {"LinkwitzRiely 36dB", {14, 10, 14, 10}, {15, 11, 15, 11}},
    {"LinkwitzRiely 48dB", {18, 20, 18, 20}, {19, 21, 19, 21}},
    {"Bessel 12dB", {8, 1, 1, 1}, {9, 1, 1, 1}},
    {"Bessel 18dB", {8, 10, 1, 1}, {9, 11, 1, 1}},
    {"Bessel 24dB", {8, 8, 1, 1}, {9, 9, 1, 1}},
    {"Butterworth 12dB", {12, 1, 1, 1}, {13, 1, 1, 1}},
    {"Butterworth 18dB", {14, 10, 1, 1}, {15, 11, 1, 1}},
    {"Butterworth 24dB", {18, 20, 1, 1}, {19, 21, 1, 1}},
    {"Chebyshev 12dB", {6, 1, 1, 1}, {7, 1, 1, 1}},
};

// The four slots in cascade as the processor runs them: slot 9's frequency and Q, 0 dB.
std::complex<double> cascadeAt(int family, Dir dir, double f0, double q, double f) {
    std::complex<double> h = 1.0;
    for (int type : crossoverSections(family, dir))
        h *= quilo::test::responseAt(designBiquad(type, 0.0, f0, q, 0.0, 48000.0), f);
    return h;
}

double cascadeDb(int family, Dir dir, double f0, double f) {
    return 20.0 * std::log10(std::abs(cascadeAt(family, dir, f0, 0.8, f)));
}

} // namespace

TEST(Crossover, FamilyListAndSectionsOfEveryRow) {
    ASSERT_EQ(kCrossoverFamilyNames.size(), std::size(kTable));
    for (int i = 0; i < kCrossoverFamilyCount; ++i) {
        const Row& row = kTable[i];
        EXPECT_EQ(kCrossoverFamilyNames[static_cast<std::size_t>(i)], row.name);
        EXPECT_EQ(crossoverSections(i, Dir::LowPass), row.lowPass) << row.name;
        EXPECT_EQ(crossoverSections(i, Dir::HighPass), row.highPass) << row.name;
    }
    const CrossoverTypes idle{1, 1, 1, 1};
    EXPECT_EQ(crossoverSections(11, Dir::LowPass), idle);
    EXPECT_EQ(crossoverSections(11, Dir::HighPass), idle);
    // No selection and anything else outside the list act as the first family.
    for (int index : {-1, 12, 13, 100, INT_MIN, INT_MAX}) {
        EXPECT_EQ(crossoverSections(index, Dir::LowPass), kTable[0].lowPass) << index;
        EXPECT_EQ(crossoverSections(index, Dir::HighPass), kTable[0].highPass) << index;
    }
}

TEST(Crossover, DirectionFollowsSlotNineParity) {
    for (int type : {2, 6, 8, 10, 12, 20, 0, 4, 254, -2})
        EXPECT_EQ(crossoverDirectionOf(type), Dir::LowPass) << type;
    for (int type : {3, 7, 9, 11, 13, 21, 1, 5, 255, -1})
        EXPECT_EQ(crossoverDirectionOf(type), Dir::HighPass) << type;
}

TEST(Crossover, FamilyOfEverySectionSetIsFoundAgain) {
    for (int i = 0; i < kCrossoverFamilyCount; ++i) {
        for (Dir dir : {Dir::LowPass, Dir::HighPass}) {
            const CrossoverFamily f = crossoverFamilyOf(crossoverSections(i, dir), 5);
            EXPECT_EQ(f.index, i);
            EXPECT_EQ(f.kind, dir == Dir::LowPass ? 2 : 3);
            // Applying a found family again keeps the direction.
            EXPECT_EQ(crossoverDirectionOf(crossoverSections(i, dir)[0]), dir);
        }
    }
    struct Extra {
        CrossoverTypes types;
        int index;
        int kind;
    };
    for (const Extra& e :
         {Extra{{1, 1, 1, 1}, 11, 1}, Extra{{4, 1, 1, 1}, 12, 4}, Extra{{5, 1, 1, 1}, 13, 5}}) {
        const CrossoverFamily f = crossoverFamilyOf(e.types, 2);
        EXPECT_EQ(f.index, e.index);
        EXPECT_EQ(f.kind, e.kind);
    }
    EXPECT_EQ(crossoverFamilyOf(crossoverSections(11, Dir::HighPass), 3).index, 11);
    // Nothing matches: first family, kind as it was.
    const CrossoverTypes unmatched[] = {{2, 1, 1, 1}, {3, 1, 1, 1},   {12, 12, 1, 2},
                                        {0, 0, 0, 0}, {12, 13, 1, 1}, {1, 10, 1, 1},
                                        {4, 4, 1, 1}, {10, 10, 1, 0}};
    for (const CrossoverTypes& t : unmatched) {
        for (int kind : {1, 2, 3, 4, 5}) {
            const CrossoverFamily f = crossoverFamilyOf(t, kind);
            EXPECT_EQ(f.index, 0);
            EXPECT_EQ(f.kind, kind);
        }
    }
}

TEST(Crossover, LinkwitzRileyHalvesMeetAtMinusSixDecibelsAndSumFlat) {
    for (double f0 : {80.0, 1200.0, 9000.0}) {
        for (int family : {0, 1, 2, 3}) {
            EXPECT_NEAR(cascadeDb(family, Dir::LowPass, f0, f0), -6.0206, 1e-3) << family;
            EXPECT_NEAR(cascadeDb(family, Dir::HighPass, f0, f0), -6.0206, 1e-3) << family;
            EXPECT_NEAR(cascadeDb(family, Dir::LowPass, f0, 0.0), 0.0, 1e-9);
            EXPECT_NEAR(cascadeDb(family, Dir::HighPass, f0, 24000.0), 0.0, 1e-9);
            // Squared Butterworth: low plus high is an all-pass; the 12 and 36 dB halves
            // are in phase opposition, so one of them is wired inverted.
            const double sign = (family == 0 || family == 2) ? -1.0 : 1.0;
            for (double f : {20.0, f0 / 2.0, f0, f0 * 1.5, 20000.0}) {
                const auto sum = cascadeAt(family, Dir::LowPass, f0, 0.8, f) +
                                 sign * cascadeAt(family, Dir::HighPass, f0, 0.8, f);
                EXPECT_NEAR(std::abs(sum), 1.0, 1e-6) << family << " " << f0 << " " << f;
            }
        }
    }
}

TEST(Crossover, OtherFamiliesAtTheirCorner) {
    const double f0 = 2000.0;
    // Butterworth of any order is -3.01 dB at the corner.
    for (int family : {7, 8, 9}) {
        EXPECT_NEAR(cascadeDb(family, Dir::LowPass, f0, f0), -3.0103, 1e-3);
        EXPECT_NEAR(cascadeDb(family, Dir::HighPass, f0, f0), -3.0103, 1e-3);
    }
    // Bessel sections, Q = 1/sqrt(3): -4.77 dB each; with a first-order one -7.78 dB.
    EXPECT_NEAR(cascadeDb(4, Dir::LowPass, f0, f0), -4.7712, 1e-3);
    EXPECT_NEAR(cascadeDb(5, Dir::HighPass, f0, f0), -7.7815, 1e-3);
    EXPECT_NEAR(cascadeDb(6, Dir::LowPass, f0, f0), -9.5424, 1e-3);
    EXPECT_NEAR(cascadeDb(10, Dir::HighPass, f0, f0), -0.1, 1e-9);
    // The steeper family falls further an octave out.
    EXPECT_LT(cascadeDb(9, Dir::LowPass, f0, 2.0 * f0), cascadeDb(8, Dir::LowPass, f0, 2.0 * f0));
    EXPECT_LT(cascadeDb(8, Dir::LowPass, f0, 2.0 * f0), cascadeDb(7, Dir::LowPass, f0, 2.0 * f0));
}
