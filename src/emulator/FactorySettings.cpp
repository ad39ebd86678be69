#include "emulator/FactorySettings.h"

#include "device/WireValue.h"
#include "model/EqBand.h"
#include "model/ParamCodec.h"
#include "model/ParamTable.h"

#include <algorithm>

namespace quilo {

namespace {

using Words = std::vector<std::uint32_t>;

Words flatBiquad() {
    // -a1, -a2, b0, b1, b2 of a band that passes everything unchanged.
    return {f32Bits(0.0), f32Bits(0.0), f32Bits(1.0), f32Bits(0.0), f32Bits(0.0)};
}

Words gain(GainBlockKind kind) {
    const GainBlock b = gainBlock(0.0f, kind);
    return {b.begin(), b.end()};
}

void setCompressor(float& threshold, float& ratio, float& attack, float& release) {
    // 0 dB threshold, ratio 2, 10 ms attack, 100 ms release (and bypassed).
    threshold = 0.0f;
    ratio = 2.0f;
    attack = 10.0f;
    release = 100.0f;
}

// The factory setting in the units a page shows: microphones and music at half
// volume, effects moderate, shifters off, compressors and delays bypassed, outputs
// unmuted at full level and placed on locations 0-7 in channel order.
DspParams factoryFields() {
    DspParams p{};
    for (int k = 0; k < 4; ++k) {
        p.micInputVolume[k] = 80;
        p.micToA[k] = k < 2 ? 100 : 0; // inputs 1-2 feed mic channel A, 3-4 channel B
        p.micToB[k] = k < 2 ? 0 : 100;
    }
    p.subDecayLevel = 50;
    p.micVolume = 50;
    p.effectVolume = 50;
    p.shiftFreqA = p.shiftFreqB = 1;
    p.shiftOffA = p.shiftOffB = 1;

    p.echoLevelA = p.echoLevelB = 50;
    p.echoPredelayMsA = p.echoPredelayMsB = 20.0f;
    p.echoTimeMsA = p.echoTimeMsB = 217.0f;
    p.echoStartVolA = p.echoStartVolB = 60;
    p.echoDecayA = p.echoDecayB = 40;
    p.echoVolume = 50;
    p.reverbLevelA = p.reverbLevelB = 50;
    p.reverbPredelayMsA = p.reverbPredelayMsB = 20.0f;
    p.reverbTimeA = p.reverbTimeB = 30.0f; // 1528 ms on the music page
    p.reverbVolume = 50;

    p.musicVolume = 50;
    setCompressor(p.musicCompThreshold, p.musicCompRatio, p.musicCompAttackMs,
                  p.musicCompReleaseMs);
    p.musicCompBypass = 1;
    p.musicAgcLevel = -10.0f;
    for (std::int32_t* g : {&p.musicGainSpdif, &p.musicGainExtra, &p.musicGainHdmi1,
                            &p.musicGainHdmi2, &p.musicGainHdmi3, &p.musicGainHdmi4,
                            &p.musicGainBluetooth, &p.musicGainAux, &p.musicGainAux2}) {
        *g = 100;
    }

    for (int ch = 0; ch < 8; ++ch) {
        p.outLocation[ch] = ch;
        p.outDelayMode[ch] = 1; // whole channel
        p.outDelayMs[ch] = 1.5f;
        p.outDelayBypass[ch] = 1;
        p.outDirectLevel[ch] = p.outReverbLevel[ch] = p.outEchoLevel[ch] = 100;
        p.outMusicLevel[ch] = p.outLevel[ch] = 100;
        setCompressor(p.outCompThreshold[ch], p.outCompRatio[ch], p.outCompAttackMs[ch],
                      p.outCompReleaseMs[ch]);
        p.outCompBypass[ch] = 1;
    }
    return p;
}

// The words of a parameter that carries no single field, at 0 dB or at rest.
Words blockWords(const ParamRow& row) {
    switch (row.wire) {
    case Wire::BoostCut:
    case Wire::BoostGain:
        return {f32Bits(1.0)};
    case Wire::GainBlock:
        return gain(row.field.elements == kOutputCount ? GainBlockKind::OutputLevel
                                                       : GainBlockKind::MicBoost);
    default:
        return {encodeInt(param::kLocateNone)};
    }
}

} // namespace

ParamMap factoryParams() {
    // Each parameter holds what the host would send for the factory fields; every
    // equaliser band is flat.
    const DspParams fields = factoryFields();
    ParamMap params;
    const auto put = [&](ParamAddress at, Words words) {
        params[{static_cast<std::uint8_t>(at.module), static_cast<std::uint8_t>(at.param)}] =
            std::move(words);
    };
    for (const ParamRow& row : kParamTable) {
        for (int e = 0; e < row.field.elements && row.wire != Wire::None; ++e) {
            const ParamWords words = encodeRow(row, fields, e);
            put(addressOf(row, e), row.field.word == kNoWord
                                       ? blockWords(row)
                                       : Words(words.span().begin(), words.span().end()));
        }
    }
    for (const EqualiserRow& eq : kEqualiserTable) {
        for (int b = 0; b < eq.storedBands; ++b) {
            put({eq.module, eq.firstParam + b, 5}, flatBiquad());
        }
    }
    put({kBoostBandWireModule, kBoostBandWireParam, 5}, flatBiquad());
    return params;
}

std::vector<std::uint8_t> factoryModeMemory() {
    std::vector<std::uint8_t> memory(kModeMemorySize, 0xFF);
    // Set up once: every band flat at its reset frequency, the delay split bands of an
    // output at the first pair, matching the flat coefficients of factoryParams().
    for (int eqId = 0; eqId < kEqCount; ++eqId) {
        const EqInfo eq = *eqInfo(eqId);
        for (int b = 0; b < eq.storedBands; ++b) {
            const EqBand f = flatBand(eqId, b);
            const EqBandRecord rec = b < eq.bandCount
                                         ? encodeBand(f.gainDb, static_cast<std::int32_t>(f.freqHz),
                                                      f.q, static_cast<std::uint8_t>(f.type))
                                         : defaultBandRecord(eqId, b);
            std::copy(rec.begin(), rec.end(),
                      memory.begin() + kEqBandStoreAddress +
                          static_cast<std::ptrdiff_t>(bandAddress(eq.module, eq.firstBand + b)));
        }
    }
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

void blankBandStore(EmulatorState& state) {
    const auto blank = [](std::vector<std::uint8_t>& memory) {
        std::fill_n(memory.begin() + kEqBandStoreAddress, kEqBandStoreSize, 0xFF);
    };
    blank(state.memory);
    for (StoredMode& mode : state.modes) {
        blank(mode.memory);
    }
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
