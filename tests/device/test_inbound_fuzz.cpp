// Random and mangled reports against the dispatcher: whatever arrives, only the
// part of the image the reply code and address name may change, texts stay
// within their capacity, float fields stay finite and events match their codes.
// The sanitizer build runs this too, so a read or write outside a report or a
// block fails there even when the result looks right.
#include "InboundHelpers.h"
#include "device/InboundDispatcher.h"
#include "device/ReportSink.h"
#include "emulator/EmulatorHarness.h"
#include "model/DspFields.h"
#include "model/Synchroniser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <memory>
#include <random>
#include <set>
#include <sstream>

using namespace quilo;
using namespace quilo::test;

namespace {

constexpr std::uint8_t kKnownCodes[] = {0x07, 0x09, 0x0A, 0x0E, 0x12, 0x14, 0x60, 0x62,
                                        0x7E, 0x7F, 0x80, 0x81, 0x86, 0x92, 0xDB};

// Words each module may write: module 1-4 by field name, outputs by channel.
std::set<std::size_t> wordsOfModule(int module) {
    static const std::vector<std::vector<std::string>> kNames = {
        {},
        {"micInputVolume", "micGate", "subDecayOn", "subDecayLevel", "micVolume", "micMute",
         "micAEqSwitch", "micToA", "shiftFreqA", "shiftOffA", "effectVolume", "micBoostOn",
         "micBEqSwitch", "micToB", "shiftFreqB", "shiftOffB"},
        {"echoEqSwitchA", "echoLevelA", "echoPredelayMsA", "echoTimeMsA", "echoStartVolA",
         "echoDecayA", "echoEqSwitchB", "echoLevelB", "echoPredelayMsB", "echoTimeMsB",
         "echoStartVolB", "echoDecayB", "echoVolume", "echoMute"},
        {"reverbEqSwitchA", "reverbLevelA", "reverbPredelayMsA", "reverbTimeA", "reverbEqSwitchB",
         "reverbLevelB", "reverbPredelayMsB", "reverbTimeB", "reverbVolume", "reverbMute"},
        {"musicEqSwitch",  "musicVolume",       "musicMute",          "musicCompThreshold",
         "musicCompRatio", "musicCompAttackMs", "musicCompReleaseMs", "musicCompBypass",
         "musicAgcOn",     "musicAgcLevel",     "musicPitch",         "musicGate",
         "musicSource",    "musicGainSpdif",    "musicGainExtra",     "musicGainHdmi1",
         "musicGainHdmi2", "musicGainHdmi3",    "musicGainHdmi4",     "musicGainBluetooth",
         "musicGainAux",   "musicGainAux2",     "hdmiSelect",         "boostLpfDelayMs",
         "boostLpfGain"},
    };
    std::set<std::size_t> words;
    if (module >= 1 && module <= 4) {
        for (const auto& name : kNames[module]) {
            const DspFieldInfo* f = findDspField(name);
            for (std::size_t i = 0; i < f->count; ++i) {
                words.insert(f->firstWord + i);
            }
        }
    } else if (module >= 5 && module <= 12) {
        for (const DspFieldInfo& f : dspFields()) {
            if (f.count == 8 && f.name.starts_with("out")) {
                words.insert(f.firstWord + std::size_t(module - 5));
            }
        }
    }
    return words;
}

std::set<std::string> allowedParts(const Report& r) {
    const std::size_t address = std::size_t(r[2]) << 8 | r[3];
    switch (r[1]) {
    case 0x07:
        return {"currentMode"};
    case 0x09:
        return {"settingsChanged"};
    case 0x0A:
        return {"params"};
    case 0x0E:
        return {"liveStatus"};
    case 0x60:
    case 0x62:
        return {"remoteKeys"};
    case 0x7E:
    case 0x7F:
    case 0x80:
    case 0x81:
        return {"info"};
    case 0x86:
        if (address < 1253) {
            return {"eqBands"};
        }
        if (address == 1253) {
            return {"roomGain"};
        }
        if (address == 1285) {
            return {"roomLayout"};
        }
        if (address == 1305) {
            return {"micBoost"};
        }
        return {};
    case 0x92:
        return {"machine"};
    case 0xDB:
        return {"modeNames"};
    default:
        return {};
    }
}

struct Checker {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    RecordingEvents events;
    InboundDispatcher dispatcher{*image, events};
    std::vector<std::size_t> floatWords;
    std::vector<std::string> failures;
    std::size_t checked = 0;

    Checker() {
        image->resetToDefaults();
        for (const DspFieldInfo& f : dspFields()) {
            for (std::size_t i = 0; f.isFloat && i < f.count; ++i) {
                floatWords.push_back(f.firstWord + i);
            }
        }
    }

    void fail(const Report& r, const std::string& what) {
        if (failures.size() < 10) {
            std::ostringstream s;
            s << what << " after report";
            for (auto b : r) {
                s << ' ' << std::hex << int(b);
            }
            failures.push_back(s.str());
        }
    }

    // Feeds one report and checks what it did against `before`, the image as it
    // was; returns the image as it is now.
    ImageSnapshot check(const Report& r, const ImageSnapshot& before) {
        const std::size_t keys = events.keys.size();
        const std::size_t frames = events.frames.size() + events.memory.size();
        dispatcher.handleReport(r);
        ImageSnapshot after(*image);
        ++checked;

        const std::set<std::string> allowed = allowedParts(r);
        for (const std::string& part : after.partsChanged(before)) {
            if (!allowed.contains(part)) {
                fail(r, "changed " + part);
            }
        }
        if (r[1] == 0x0A) {
            const auto moduleWords = wordsOfModule(r[3]);
            const auto changed = after.wordsChanged(before);
            if (changed.size() > 4) {
                fail(r, "more than four words");
            }
            for (std::size_t w : changed) {
                if (!moduleWords.contains(w)) {
                    fail(r, "word " + std::to_string(w) + " outside the module");
                }
            }
        }
        for (std::size_t w : floatWords) {
            if (!std::isfinite(std::bit_cast<float>(after.words[w]))) {
                fail(r, "non-finite word " + std::to_string(w));
            }
        }
        if (after.modelName.size() > 29 || after.firmwareDateA.size() > 10 ||
            after.firmwareDateB.size() > 10) {
            fail(r, "text past its capacity");
        }
        for (const auto& name : after.modeNames) {
            if (name.size() > 24) {
                fail(r, "mode name past 24 units");
            }
        }
        if (r[1] == 0xDB) {
            // Only the slot the address names.
            const std::size_t address = std::size_t(r[2]) << 8 | r[3];
            for (std::size_t k = 0; k < kModeCount; ++k) {
                if (after.modeNames[k] != before.modeNames[k] && address != kModeNameAddresses[k]) {
                    fail(r, "mode name of another slot");
                }
            }
        }
        if (r[1] == 0x60 || r[1] == 0x62) {
            for (std::size_t i = 1; i < kRemoteKeyTableSize; ++i) {
                const bool may = r[1] == 0x60 ? i == r[3] : i < 16;
                if (!may && after.remoteKeys[i] != before.remoteKeys[i]) {
                    fail(r, "remote table byte " + std::to_string(i));
                }
            }
        }
        const bool keyExpected = r[1] == 0x60;
        const bool zwaveExpected = r[1] == 0x12 || r[1] == 0x14;
        if (events.keys.size() != keys + (keyExpected ? 1 : 0)) {
            fail(r, "learned-key events");
        }
        if (events.frames.size() + events.memory.size() != frames + (zwaveExpected ? 1 : 0)) {
            fail(r, "Z-Wave events");
        }
        if (zwaveExpected && (r[1] == 0x12 ? events.frames.back() : events.memory.back()) != r) {
            fail(r, "Z-Wave report not passed on whole");
        }
        return after;
    }
};

// Word values that reach every branch of the rules: small fractions and
// integers, signs, infinities, NaNs, zero and all ones.
std::uint32_t interestingWord(std::mt19937_64& rng) {
    static constexpr std::uint32_t kSpecial[] = {
        0x00000000, 0x80000000, 0x3F800000, 0xBF800000, 0x7F800000, 0xFF800000, 0x7FC00000,
        0xFFFFFFFF, 0x3F000000, 0x7F7FFFFF, 0x00000001, 0x4F000000, 0xCF000000, 0x3F7FFFFF};
    switch (rng() % 4) {
    case 0:
        return kSpecial[rng() % std::size(kSpecial)];
    case 1:
        return std::bit_cast<std::uint32_t>(
            static_cast<float>(std::uniform_real_distribution<double>(-2.0, 2.0)(rng)));
    case 2:
        return static_cast<std::uint32_t>(rng() % 70000);
    default:
        return static_cast<std::uint32_t>(rng());
    }
}

Report randomReport(std::mt19937_64& rng) {
    Report r;
    for (auto& b : r) {
        b = static_cast<std::uint8_t>(rng());
    }
    r[1] = rng() % 10 < 8 ? kKnownCodes[rng() % std::size(kKnownCodes)]
                          : static_cast<std::uint8_t>(rng());
    if (r[1] == 0x0A) {
        if (rng() % 4 != 0) {
            r[2] = 0;
        }
        r[3] = static_cast<std::uint8_t>(rng() % 8 != 0 ? rng() % 14 : rng());
        r[4] = static_cast<std::uint8_t>(rng() % 8 != 0 ? rng() % 63 : rng());
        for (std::size_t at = 6; at + 4 <= kReportSize; at += 4) {
            const std::uint32_t w = interestingWord(rng);
            r[at] = std::uint8_t(w >> 24);
            r[at + 1] = std::uint8_t(w >> 16);
            r[at + 2] = std::uint8_t(w >> 8);
            r[at + 3] = std::uint8_t(w);
        }
    } else if (r[1] == 0x86 || r[1] == 0xDB) {
        static constexpr std::uint16_t kAddresses[] = {1253,   1285,   1305, 0x0F00, 0x0F40,
                                                       0x0F80, 0x0FC0, 1252, 1254,   1306};
        const std::uint16_t address = rng() % 3 == 0   ? kAddresses[rng() % std::size(kAddresses)]
                                      : rng() % 2 == 0 ? static_cast<std::uint16_t>(rng() % 1253)
                                                       : static_cast<std::uint16_t>(rng());
        r[2] = std::uint8_t(address >> 8);
        r[3] = std::uint8_t(address);
        if (rng() % 2 == 0) {
            r[4] = static_cast<std::uint8_t>(rng() % 60);
        }
        if (rng() % 8 == 0) {
            r[5] = r[6] = r[7] = r[8] = 0xFF;
        }
    } else if (r[1] == 0x60 && rng() % 2 == 0) {
        r[3] = static_cast<std::uint8_t>(rng() % 20);
    }
    return r;
}

// Replies of the emulated processor to a whole read-back, plus a few of the
// kinds a read-back does not bring.
std::vector<Report> validReplies() {
    struct Collector : ReportSink {
        EmulatorHarness& h;
        std::vector<Report> replies;
        explicit Collector(EmulatorHarness& harness) : h(harness) {}
        int send(const Report& r) override {
            for (const Report& x : h.send(r)) {
                replies.push_back(x);
            }
            return 61;
        }
        void pause(std::chrono::milliseconds d) override {
            for (const Report& x : h.advance(d)) {
                replies.push_back(x);
            }
        }
    };
    EmulatorHarness harness;
    Collector sink(harness);
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    image->info.modelName = u"MIVRAX";
    image->info.protocolVersion = 18;
    Synchroniser(*image, sink).pullAll();
    std::vector<Report> out = sink.replies;
    out.push_back(reply(0x60, {0x01, 4, 0x2C}));
    out.push_back(reply(0x09, {}));
    out.push_back(reply(0x12, {0x09, 0x01, 0x07, 0x00, 0x04, 0x00, 0x05, 0x03, 0x20, 0x03, 0x63}));
    out.push_back(reply(0x0E, {10, 20, 30, 40, 50, 60, 0xFA, 1, 9, 8, 7, 6, 5, 4, 3, 2}));
    out.push_back(reply(0x7E, {'2', '0', '1', '3', '-', '0', '1', '-', '0', '1'}));
    return out;
}

} // namespace

TEST(InboundFuzz, RandomReportsStayInsideTheirTargets) {
    std::mt19937_64 rng(0x5157494C4F);
    Checker c;
    ImageSnapshot state(*c.image);
    for (int i = 0; i < 1'000'000 && c.failures.empty(); ++i) {
        state = c.check(randomReport(rng), state);
        if (i % 50'000 == 0) { // start again from defaults now and then
            c.image->resetToDefaults();
            state = ImageSnapshot(*c.image);
        }
    }
    EXPECT_EQ(c.checked, 1'000'000u);
    EXPECT_TRUE(c.failures.empty()) << c.failures.front();
    // Nonzero error codes were frequent; the box came once.
    EXPECT_EQ(c.events.errors.size(), 1u);
}

TEST(InboundFuzz, MangledValidRepliesStayInsideTheirTargets) {
    const std::vector<Report> valid = validReplies();
    ASSERT_GT(valid.size(), 200u);
    std::mt19937_64 rng(0x4D414E474C45);
    Checker c;
    ImageSnapshot state(*c.image);
    for (int i = 0; i < 300'000 && c.failures.empty(); ++i) {
        Report r = valid[rng() % valid.size()];
        const int flips = 1 + int(rng() % 3);
        for (int f = 0; f < flips; ++f) {
            const std::size_t at = 1 + rng() % (kReportSize - 1);
            switch (rng() % 3) {
            case 0:
                r[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
                break;
            case 1:
                r[at] = rng() % 2 ? 0xFF : 0x00;
                break;
            default:
                r[at] = static_cast<std::uint8_t>(rng());
                break;
            }
        }
        state = c.check(r, state);
    }
    EXPECT_EQ(c.checked, 300'000u);
    EXPECT_TRUE(c.failures.empty()) << c.failures.front();
}
