#pragma once

#include "device/DeviceEvents.h"
#include "model/DeviceImage.h"
#include "support/Bytes.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

namespace quilo::test {

// Keeps every event the dispatcher passes on.
class RecordingEvents : public DeviceEvents {
public:
    void learnedKey(int code) override { keys.push_back(code); }
    void zwaveFrame(const Report& r) override { frames.push_back(r); }
    void zwaveMemory(const Report& r) override { memory.push_back(r); }
    void parameterError(int code, int module, int param) override {
        errors.emplace_back(code, module, param);
    }

    std::vector<int> keys;
    std::vector<Report> frames;
    std::vector<Report> memory;
    std::vector<std::tuple<int, int, int>> errors;
};

// A parameter reply: [2] error, [3] module, [4] parameter, [5] count, then the words.
inline Report paramReply(int module, int param, std::initializer_list<std::uint32_t> words,
                         std::uint8_t error = 0) {
    Report r{};
    r[1] = 0x0A;
    r[2] = error;
    r[3] = static_cast<std::uint8_t>(module);
    r[4] = static_cast<std::uint8_t>(param);
    r[5] = static_cast<std::uint8_t>(words.size());
    std::size_t at = 6;
    for (std::uint32_t w : words) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            r[at++] = static_cast<std::uint8_t>(w >> shift);
        }
    }
    return r;
}

// A reply of `code` whose bytes from 2 on are `body`.
inline Report reply(std::uint8_t code, std::initializer_list<std::uint8_t> body) {
    Report r{};
    r[1] = code;
    std::size_t at = 2;
    for (auto b : body) {
        r[at++] = b;
    }
    return r;
}

// Everything a DeviceImage holds, as plain copyable values.
struct ImageSnapshot {
    std::array<std::uint32_t, DspParams::kWords> words{};
    EqBandStore eqBands{};
    RoomGainBlock roomGain{};
    RoomLayoutBlock roomLayout{};
    MicBoostWord micBoost{};
    LiveStatusBytes liveStatus{};
    std::int32_t currentMode = 0;
    std::int32_t settingsChanged = 0;
    MachineSettingsBytes applied{};
    MachineSettingsBytes edit{};
    std::array<std::u16string, kModeCount> modeNames;
    std::u16string modelName, firmwareDateA, firmwareDateB;
    std::uint8_t protocolVersion = 0;
    RemoteKeyTable remoteKeys{};

    explicit ImageSnapshot(const DeviceImage& image) {
        for (std::size_t i = 0; i < DspParams::kWords; ++i) {
            words[i] = image.params.word(i);
        }
        eqBands = image.eqBands;
        roomGain = image.roomGain;
        roomLayout = image.roomLayout;
        micBoost = image.micBoost;
        liveStatus = image.liveStatus.load();
        currentMode = image.currentMode.load();
        settingsChanged = image.settingsChanged.load();
        applied = image.machine.applied;
        edit = image.machine.edit;
        modeNames = image.modeNames;
        modelName = image.info.modelName;
        firmwareDateA = image.info.firmwareDateA;
        firmwareDateB = image.info.firmwareDateB;
        protocolVersion = image.info.protocolVersion;
        remoteKeys = image.remoteKeys;
    }

    // Names of the parts that differ from `other` ("params", "eqBands", ...).
    std::vector<std::string> partsChanged(const ImageSnapshot& o) const {
        std::vector<std::string> out;
        const auto check = [&out](bool same, const char* name) {
            if (!same) {
                out.emplace_back(name);
            }
        };
        check(words == o.words, "params");
        check(eqBands == o.eqBands, "eqBands");
        check(roomGain == o.roomGain, "roomGain");
        check(roomLayout == o.roomLayout, "roomLayout");
        check(micBoost == o.micBoost, "micBoost");
        check(liveStatus == o.liveStatus, "liveStatus");
        check(currentMode == o.currentMode, "currentMode");
        check(settingsChanged == o.settingsChanged, "settingsChanged");
        check(applied == o.applied && edit == o.edit, "machine");
        check(modeNames == o.modeNames, "modeNames");
        check(modelName == o.modelName && firmwareDateA == o.firmwareDateA &&
                  firmwareDateB == o.firmwareDateB && protocolVersion == o.protocolVersion,
              "info");
        check(remoteKeys == o.remoteKeys, "remoteKeys");
        return out;
    }

    // Word numbers whose bits differ from `other`.
    std::vector<std::size_t> wordsChanged(const ImageSnapshot& o) const {
        std::vector<std::size_t> out;
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (words[i] != o.words[i]) {
                out.push_back(i);
            }
        }
        return out;
    }
};

} // namespace quilo::test
