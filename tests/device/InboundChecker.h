#pragma once

// What one report may do to the image: only the part its reply code and address
// name may change, texts stay within their capacity, float fields stay finite
// and events match their codes. Shared by the random tests and the fuzz target.
#include "InboundHelpers.h"
#include "model/DspFields.h"
#include "model/InboundDispatcher.h"

#include "support/FuzzSupport.h"

#include <bit>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace quilo::test {

// Words each module may write: module 1-4 by field name, outputs by channel.
inline std::set<std::size_t> wordsOfModule(int module) {
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

inline std::set<std::string> allowedParts(const Report& r) {
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

struct InboundChecker {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    RecordingEvents events;
    InboundDispatcher dispatcher{*image, events};
    std::vector<std::size_t> floatWords;
    std::vector<std::string> failures;
    std::size_t checked = 0;

    InboundChecker() {
        image->resetToDefaults();
        for (const DspFieldInfo& f : dspFields()) {
            for (std::size_t i = 0; f.isFloat && i < f.count; ++i) {
                floatWords.push_back(f.firstWord + i);
            }
        }
    }

    void fail(const Report& r, const std::string& what) { recordFailure(failures, r, what); }

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

} // namespace quilo::test
