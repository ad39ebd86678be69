// Every output's response and their sum at the listener, against values worked out by hand.
#include "device/RecordingSink.h"
#include "dsp/ResponseFrequencies.h"
#include "model/EqBand.h"
#include "model/FieldSetters.h"
#include "room/RoomLayout.h"
#include "room/SystemResponse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <vector>

using namespace quilo;

namespace {

constexpr double kPair = -20.0 * 0.30102999566398120; // two -3.01 dB sections: -6.02 dB

void setBand(DeviceImage& image, int channel, int band, int type, double gainDb, int freqHz,
             float q = 1.0f) {
    const EqInfo eq = *eqInfo(kFirstOutputEqId + channel);
    const EqBandRecord rec = encodeBand(gainDb, freqHz, q, static_cast<std::uint8_t>(type));
    std::copy(rec.begin(), rec.end(),
              image.eqBands.begin() +
                  static_cast<std::ptrdiff_t>(bandAddress(eq.module, eq.firstBand + band)));
}

// Factory image with every output flat, undelayed, at full level and unmuted, output k on
// loudspeaker k; the listener at (0, 1), 1 m from L (-1, 1) and from R (1, 1).
std::unique_ptr<DeviceImage> flatImage() {
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    for (int ch = 0; ch < kOutputChannels; ++ch) {
        const auto c = static_cast<std::size_t>(ch);
        for (int b = 0; b < 15; ++b) {
            setBand(*image, ch, b, Peaking, 0.0, 1000);
        }
        image->params.outLevel[c] = 100;
        image->params.outMute[c] = 0;
        image->params.outPhase[c] = 0;
        image->params.outDelayBypass[c] = 1;
        image->params.outDelayMode[c] = 1;
        image->params.outDelayMs[c] = 1.5f;
        image->params.outLocation[c] = kSpeakerLocationCodes[c];
    }
    RoomLayout layout;
    layout.listener = {0.0f, 1.0f};
    image->roomLayout = encodeRoomLayout(layout);
    return image;
}

void crossover(DeviceImage& image, int channel, int sectionType, int freqHz) {
    setBand(image, channel, 9, sectionType, 0.0, freqHz);
    setBand(image, channel, 10, sectionType, 0.0, freqHz);
}

void wholeChannelDelay(DeviceImage& image, int channel, float ms) {
    image.params.outDelayBypass[static_cast<std::size_t>(channel)] = 0;
    image.params.outDelayMode[static_cast<std::size_t>(channel)] = 1;
    image.params.outDelayMs[static_cast<std::size_t>(channel)] = ms;
}

// Phases compared on the circle: -180 and +180 are the same.
double phaseGap(double a, double b) {
    return std::abs(std::remainder(a - b, 360.0));
}

} // namespace

TEST(SystemResponse, KnownChainsAgainstHandValues) {
    struct Case {
        const char* name;
        std::function<void(DeviceImage&)> setup;
        std::vector<int> outputs;
        bool atListener;
        double freqHz;
        double magnitudeDb;
        double phaseDeg;
        double groupDelayMs; // NaN: not worked out
    };
    const double nan = std::nan("");
    const double oneMetreMs = 1000.0 / 343.0;
    // clang-format off
    const Case cases[] = {
        {"peaking band at its centre",
         [](DeviceImage& im) { setBand(im, 0, 0, Peaking, 6.0, 1000, 1.414f); },
         {0}, false, 1000.0, 6.0, 0.0, nan},
        {"split bands 13 and 14 are no part of it",
         [](DeviceImage& im) { setBand(im, 0, 13, HighPass, 0.0, 5000); },
         {0}, false, 1000.0, 0.0, 0.0, 0.0},
        {"crossover low-pass at its frequency",
         [](DeviceImage& im) { crossover(im, 0, ButterworthLowPass, 1000); },
         {0}, false, 1000.0, kPair, 180.0, nan},
        {"crossover high-pass at its frequency",
         [](DeviceImage& im) { crossover(im, 1, ButterworthHighPass, 1000); },
         {1}, false, 1000.0, kPair, 180.0, nan},
        {"the pair adds up to flat there",
         [](DeviceImage& im) {
             crossover(im, 0, ButterworthLowPass, 1000);
             crossover(im, 1, ButterworthHighPass, 1000);
         },
         {0, 1}, false, 1000.0, 0.0, 180.0, nan},
        {"inverted at half level with +6.02 dB room correction",
         [](DeviceImage& im) {
             im.params.outPhase[2] = 1;
             im.params.outLevel[2] = 50;
             RecordingSink sink;
             FieldSetters(im, sink).setRoomGain(2, static_cast<float>(20.0 * std::log10(2.0)));
         },
         {2}, false, 440.0, 0.0, 180.0, 0.0},
        {"muted output is silent",
         [](DeviceImage& im) { im.params.outMute[3] = 1; },
         {3}, false, 1000.0, kSilenceDb, 0.0, 0.0},
        {"1 ms delay: a quarter turn at 250 Hz",
         [](DeviceImage& im) { wholeChannelDelay(im, 0, 1.0f); },
         {0}, false, 250.0, 0.0, -90.0, 1.0},
        {"1 ms delay: a whole turn at 1 kHz",
         [](DeviceImage& im) { wholeChannelDelay(im, 0, 1.0f); },
         {0}, false, 1000.0, 0.0, 0.0, 1.0},
        {"pure delay of 2.5 ms near 20 kHz",
         [](DeviceImage& im) { wholeChannelDelay(im, 0, 2.5f); },
         {0}, false, 19000.0, 0.0, -360.0 * 19000.0 * 0.0025, 2.5},
        {"delay switched off",
         [](DeviceImage& im) { wholeChannelDelay(im, 0, 10.0f); im.params.outDelayBypass[0] = 1; },
         {0}, false, 250.0, 0.0, 0.0, 0.0},
        {"high-frequency delay drawn without it",
         [](DeviceImage& im) { wholeChannelDelay(im, 0, 10.0f); im.params.outDelayMode[0] = 0; },
         {0}, false, 250.0, 0.0, 0.0, 0.0},
        {"two identical outputs 1 m away: +6.02 dB",
         [](DeviceImage&) {},
         {0, 2}, true, 343.0, 20.0 * std::log10(2.0), 0.0, oneMetreMs},
        {"the same with one inverted: a deep null",
         [](DeviceImage& im) { im.params.outPhase[2] = 1; },
         {0, 2}, true, 343.0, kSilenceDb, 0.0, 0.0},
        {"2 m away: -6.02 dB and 2 m of travel",
         [](DeviceImage& im) {
             RoomLayout layout;
             layout.listener = {0.0f, 1.0f};
             layout.setPosition(1, {0.0f, -1.0f});
             im.roomLayout = encodeRoomLayout(layout);
             wholeChannelDelay(im, 0, 1.0f);
         },
         {0}, true, 1000.0, -20.0 * std::log10(2.0), -360.0 * 1000.0 * (0.001 + 2.0 / 343.0),
         1.0 + 2.0 * oneMetreMs},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto image = flatImage();
        c.setup(*image);
        const double f[] = {c.freqHz};
        const SystemResponse system = computeSystemResponse(*image, f);
        const auto sum =
            c.atListener ? listenerSum(system, c.outputs) : plainSum(system, c.outputs);
        ASSERT_EQ(sum.size(), 1u);
        const ResponseReading r = readResponse(sum[0]);
        EXPECT_NEAR(r.magnitudeDb, c.magnitudeDb, 1e-3);
        EXPECT_LT(phaseGap(r.phaseDeg, c.phaseDeg), 1e-3) << r.phaseDeg;
        if (!std::isnan(c.groupDelayMs)) {
            EXPECT_NEAR(r.groupDelayMs, c.groupDelayMs, 1e-6);
        }
    }
}

// The group delay is the exact slope of the phase: it must match a fine central
// difference of the unwrapped phase for steep and rippled sections alike.
TEST(SystemResponse, GroupDelayIsTheSlopeOfThePhase) {
    const auto image = flatImage();
    crossover(*image, 0, ChebyshevLowPass, 800);
    setBand(*image, 0, 11, LowPassQ1307, 0.0, 800);
    setBand(*image, 0, 12, LowPassQ0541, 0.0, 800);
    setBand(*image, 0, 0, LowShelf, 9.0, 120, 0.7f);
    setBand(*image, 0, 1, Peaking, -12.0, 3000, 8.0f);
    setBand(*image, 0, 2, FirstOrderHighPass, 0.0, 40);
    wholeChannelDelay(*image, 0, 3.3f);

    const std::vector<double> freqs = twentyFourthOctaveFrequencies();
    const SystemResponse system = computeSystemResponse(*image, freqs);
    const OutputChain& chain = system.chains[0];
    int compared = 0;
    for (const double f : freqs) {
        const double h = f * 1e-6;
        const double ahead = std::arg(outputResponse(chain, f + h).value);
        const double behind = std::arg(outputResponse(chain, f - h).value);
        const double slope = std::remainder(ahead - behind, 2.0 * std::numbers::pi) / (2.0 * h);
        const double expectedMs = -slope / (2.0 * std::numbers::pi) * 1000.0;
        const ResponseReading r = readResponse(outputResponse(chain, f));
        if (r.magnitudeDb < -150.0) {
            continue; // far down the low-pass: too little left for a phase worth comparing
        }
        EXPECT_NEAR(r.groupDelayMs, expectedMs, 1e-4 + 1e-5 * std::abs(expectedMs)) << f;
        ++compared;
    }
    EXPECT_GT(compared, 150);
}

TEST(SystemResponse, OutputsWithoutALoudspeakerAreLeftOutOfTheListenerSum) {
    const auto image = flatImage();
    image->params.outLocation[5] = 9; // a code no loudspeaker carries
    const double f[] = {100.0, 1000.0};
    const SystemResponse system = computeSystemResponse(*image, f);
    EXPECT_FALSE(system.distanceM[5].has_value());
    const std::vector<int> both{0, 5};
    EXPECT_EQ(outputsWithoutSpeaker(system, both), std::vector<int>{5});
    const std::vector<int> alone{0};
    const auto withMissing = listenerSum(system, both);
    const auto without = listenerSum(system, alone);
    for (std::size_t i = 0; i < withMissing.size(); ++i) {
        EXPECT_EQ(withMissing[i].value, without[i].value);
    }
    // The plain sum still has it.
    EXPECT_NEAR(readResponse(plainSum(system, both)[0]).magnitudeDb, 20.0 * std::log10(2.0), 1e-9);
}

TEST(SystemResponse, DefaultFrequenciesAreTwentyFourthOctavesWithOneKilohertz) {
    const std::vector<double> f = twentyFourthOctaveFrequencies();
    ASSERT_EQ(f.size(), 241u);
    EXPECT_EQ(std::count(f.begin(), f.end(), 1000.0), 1);
    EXPECT_NEAR(f.front(), 20.0, 0.06);
    EXPECT_NEAR(f.back(), 20000.0, 50.0);
    for (std::size_t i = 1; i < f.size(); ++i) {
        EXPECT_NEAR(f[i] / f[i - 1], std::pow(10.0, 1.0 / 80.0), 1e-12);
    }
}
