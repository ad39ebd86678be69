#include "emulator/FactorySettings.h"

#include "device/WireValue.h"

#include <algorithm>
#include <initializer_list>

namespace quilo {

namespace {

using Words = std::vector<std::uint32_t>;

// A run of parameters first..last of one module that all start with the same words.
struct Row {
    int module;
    int first;
    int last;
    Words words;
};

Words flatBiquad() {
    // -a1, -a2, b0, b1, b2 of a band that passes everything unchanged.
    return {f32Bits(0.0), f32Bits(0.0), f32Bits(1.0), f32Bits(0.0), f32Bits(0.0)};
}

Words compressor() {
    // 0 dB threshold, ratio 2, 10 ms attack, 100 ms release (and bypassed, below).
    const CompressorBlock b = compressorBlock(0.0f, 2.0f, 10.0f, 100.0f);
    return {b.begin(), b.end()};
}

Words gain(GainBlockKind kind) {
    const GainBlock b = gainBlock(0.0f, kind);
    return {b.begin(), b.end()};
}

Words one(std::uint32_t w) {
    return {w};
}

// The factory setting in the units a page shows, turned into the words the host
// would send for it: microphones and music at half volume, effects moderate,
// shifters off, every equaliser flat, compressors and delays bypassed, outputs
// unmuted at full level and placed on locations 0-7 in channel order.
std::vector<Row> factoryRows() {
    std::vector<Row> rows = {
        // Module 1: microphones. Inputs 1-2 feed mic channel A, 3-4 channel B.
        {1, 4, 7, one(encodePct(80))},       // micInputVolume
        {1, 8, 11, one(encodeP10k(0))},      // micGate open
        {1, 12, 12, one(encodeInt(0))},      // subDecayOn
        {1, 13, 13, one(encodePct(50))},     // subDecayLevel
        {1, 14, 14, one(encodePctPlus(50))}, // micVolume
        {1, 15, 15, one(encodeOn(0))},       // micMute: not muted
        {1, 16, 25, flatBiquad()},           // channel A equaliser
        {1, 26, 26, one(encodeInt(0))},      // micAEqSwitch active
        {1, 27, 28, one(encodeSw(1))},       // micToA, inputs 1-2
        {1, 29, 30, one(encodeSw(0))},       // micToA, inputs 3-4
        {1, 31, 31, one(encodeShiftOmega(1))},
        {1, 32, 32, one(encodeShiftDelay(1))},
        {1, 33, 33, one(encodeInt(1))},      // shiftOffA
        {1, 34, 34, one(encodePctPlus(50))}, // effectVolume
        {1, 35, 36, one(f32Bits(1.0))},      // boost 0 dB
        {1, 37, 37, one(encodeNot(0))},      // micBoostOn off
        {1, 38, 38, gain(GainBlockKind::MicBoost)},
        {1, 39, 48, flatBiquad()}, // channel B equaliser
        {1, 49, 49, one(encodeInt(0))},
        {1, 50, 51, one(encodeSw(0))}, // micToB, inputs 1-2
        {1, 52, 53, one(encodeSw(1))}, // micToB, inputs 3-4
        {1, 54, 54, one(encodeShiftOmega(1))},
        {1, 55, 55, one(encodeShiftDelay(1))},
        {1, 56, 56, one(encodeInt(1))},
        {1, 57, 57, one(encodePctPlus(50))},
        {1, 58, 59, one(f32Bits(1.0))},
        {1, 60, 60, one(encodeNot(0))},
        {1, 61, 61, gain(GainBlockKind::MicBoost)},

        // Module 2: echo sets A (0-12) and B (13-25).
        {2, 0, 6, flatBiquad()},
        {2, 7, 7, one(encodeInt(0))},
        {2, 8, 8, one(encodePct(50))},   // echoLevelA
        {2, 9, 9, one(encodeMs(20))},    // echoPredelayMsA
        {2, 10, 10, one(encodeMs(217))}, // echoTimeMsA
        {2, 11, 11, one(encodePct(60))}, // echoStartVolA
        {2, 12, 12, one(encodePct(40))}, // echoDecayA
        {2, 13, 19, flatBiquad()},
        {2, 20, 20, one(encodeInt(0))},
        {2, 21, 21, one(encodePct(50))},
        {2, 22, 22, one(encodeMs(20))},
        {2, 23, 23, one(encodeMs(217))},
        {2, 24, 24, one(encodePct(60))},
        {2, 25, 25, one(encodePct(40))},
        {2, 26, 26, one(encodePct(50))}, // echoVolume
        {2, 27, 27, one(encodeOn(0))},   // echoMute

        // Module 3: reverb sets A (0-11) and B (12-23).
        {3, 0, 6, flatBiquad()},
        {3, 7, 7, one(encodeInt(0))},
        {3, 8, 8, one(encodePct(50))},    // reverbLevelA
        {3, 9, 9, one(encodeMs(20))},     // reverbPredelayMsA
        {3, 10, 11, one(encodePct(150))}, // reverbTimeA, sent to both
        {3, 12, 18, flatBiquad()},
        {3, 19, 19, one(encodeInt(0))},
        {3, 20, 20, one(encodePct(50))},
        {3, 21, 21, one(encodeMs(20))},
        {3, 22, 23, one(encodePct(150))},
        {3, 24, 24, {encodePct(50), encodePct(50)}}, // reverbVolume, twice
        {3, 25, 25, {encodeOn(0), encodeOn(0)}},     // reverbMute, twice

        // Module 4: music.
        {4, 0, 9, flatBiquad()},
        {4, 10, 10, flatBiquad()},           // low-pass boost band
        {4, 11, 11, one(encodeInt(0))},      // musicEqSwitch
        {4, 12, 12, one(encodePctPlus(50))}, // musicVolume
        {4, 13, 13, one(encodeOn(0))},       // musicMute
        {4, 14, 14, compressor()},
        {4, 15, 15, one(encodeInt(1))}, // musicCompBypass
        {4, 16, 16, one(encodeInt(0))}, // musicAgcOn
        {4, 17, 17, one(encodeRaw(-10.0f))},
        {4, 21, 21, one(encodePitch(0))},
        {4, 22, 22, one(encodeP10k(0))},
        {4, 23, 23, one(encodeInt(0))},   // musicSource SPDIF
        {4, 24, 32, one(encodePct(100))}, // input gains
        {4, 33, 33, one(encodeInt(0))},   // hdmiSelect
        {4, 34, 34, one(encodeInt(8))},   // locate signal: none
        {4, 36, 36, one(encodeMs(0))},    // boostLpfDelayMs
        {4, 37, 37, one(encodePct(0))},   // boostLpfGain
    };

    // Modules 5-12: output channels CH 1-CH 8.
    for (int ch = 0; ch < 8; ++ch) {
        const int m = ch + 5;
        const std::initializer_list<Row> out = {
            {m, 0, 14, flatBiquad()},                  // bands and flat split filters
            {m, 15, 15, one(encodeInt(0))},            // outEqSwitch
            {m, 16, 16, one(encodeInt(ch))},           // outLocation
            {m, 17, 17, {f32Bits(1.0), f32Bits(0.0)}}, // outDelayMode 1: whole channel
            {m, 18, 18, one(encodeMs(1.5))},           // outDelayMs
            {m, 19, 19, one(encodeInt(1))},            // outDelayBypass
            {m, 20, 24, one(encodePct(100))},          // four shares and outLevel
            {m, 25, 25, one(encodePhase(0))},
            {m, 26, 26, one(encodeOn(0))}, // outMute
            {m, 27, 27, compressor()},
            {m, 28, 28, one(encodeInt(1))}, // outCompBypass
            {m, 29, 29, gain(GainBlockKind::OutputLevel)},
        };
        rows.insert(rows.end(), out.begin(), out.end());
    }
    return rows;
}

} // namespace

ParamMap factoryParams() {
    ParamMap params;
    for (const Row& row : factoryRows()) {
        for (int p = row.first; p <= row.last; ++p) {
            params[{static_cast<std::uint8_t>(row.module), static_cast<std::uint8_t>(p)}] =
                row.words;
        }
    }
    return params;
}

std::vector<std::uint8_t> factoryModeMemory() {
    std::vector<std::uint8_t> memory(kModeMemorySize, 0xFF);
    std::fill_n(memory.begin() + kRoomGainBlockAddress, kRoomGainBlockSize, 0);
    std::copy(kDefaultRoomLayout.begin(), kDefaultRoomLayout.end(),
              memory.begin() + kRoomLayoutBlockAddress);
    std::fill_n(memory.begin() + kMicBoostWordAddress, kMicBoostWordSize, 0);
    return memory;
}

std::vector<std::uint8_t> factoryMemory() {
    std::vector<std::uint8_t> memory(kProcessorMemorySize, 0xFF);
    const auto mode = factoryModeMemory();
    std::copy(mode.begin(), mode.end(), memory.begin());
    return memory;
}

StoredMode factoryMode() {
    return {factoryParams(), factoryModeMemory()};
}

MachineSettingsBytes factoryMachineSettings() {
    // Volumes kept per power cycle, start volumes 50, maxima 99, unlocked,
    // power-on mode "Auto".
    return {0, 0, 0, 50, 50, 99, 99, 0, 0, 0, 0, 0, 0};
}

RemoteKeyTable factoryRemoteTable() {
    // The codes of the remote control that comes in the box (byte 0: its system byte).
    return {0x00, 0x45, 0x46, 0x47, 0x44, 0x40, 0x43, 0x07, 0x15,
            0x09, 0x16, 0x19, 0x0D, 0x0C, 0x18, 0x5E, 0x08, 0x1C};
}

EmulatorState factoryState(std::span<const PlugKind> plugs) {
    EmulatorState s;
    s.params = factoryParams();
    s.memory = factoryMemory();
    for (auto& mode : s.modes) {
        mode = factoryMode();
    }
    s.currentMode = 0;
    s.machine = factoryMachineSettings();
    s.remoteTable = factoryRemoteTable();
    s.zwaveMemory.assign(kZwaveMemorySize, 0);
    for (PlugKind kind : plugs) {
        s.plugs.push_back(PlugState{kind});
    }
    return s;
}

} // namespace quilo
