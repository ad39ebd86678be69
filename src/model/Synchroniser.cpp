#include "model/Synchroniser.h"

#include "device/WireValue.h"
#include "model/BandOps.h"
#include "model/ParamTable.h"

#include <cmath>

namespace quilo {

namespace {

constexpr const ParamRow& kMicVolume = rowOf("micVolume");
constexpr const ParamRow& kMusicVolume = rowOf("musicVolume");

constexpr int kMicVolumeRampStart = 80;
constexpr int kMusicVolumeRampStart = 70;

} // namespace

bool isExpectedModel(std::u16string_view modelName) {
    constexpr std::u16string_view kModel = u"MIVRAX";
    if (modelName.size() != kModel.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kModel.size(); ++i) {
        char16_t c = modelName[i];
        if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        }
        if (c != kModel[i]) {
            return false;
        }
    }
    return true;
}

IdentityVerdict checkIdentity(const DeviceImage& image) {
    if (!isExpectedModel(image.info.modelName)) {
        return IdentityVerdict::ModelMismatch;
    }
    if (image.info.protocolVersion != kExpectedProtocol) {
        return IdentityVerdict::ProtocolMismatch;
    }
    return IdentityVerdict::Ok;
}

int Synchroniser::pullRequestCount() const {
    return static_cast<int>(readBackRequests().size());
}

void Synchroniser::requestIdentity() {
    m_ops.send(buildCommand(Command::GetModel));
    m_ops.send(buildCommand(Command::GetProtocolVersion));
    m_ops.send(buildCommand(Command::GetFirmwareDate));
}

bool Synchroniser::requestIdentityTwice() {
    requestIdentity();
    if (!isExpectedModel(m_image.info.modelName)) {
        requestIdentity();
    }
    return isExpectedModel(m_image.info.modelName);
}

void Synchroniser::pullAll() {
    if (!requestIdentityTwice() || m_image.info.protocolVersion != kExpectedProtocol) {
        return;
    }
    m_ops.send(buildCommand(Command::GetCurrentMode));
    m_ops.send(buildCommand(Command::GetModeNames));
    for (const ParamAddress& r : readBackRequests()) {
        m_ops.GetParam(r.module, r.param, r.count);
    }
    m_ops.ReadMemory(kEqBandStoreAddress, kEqBandStoreSize);
    m_ops.ReadMemory(kRoomGainBlockAddress, kRoomGainBlockSize);
    m_ops.ReadMemory(kRoomLayoutBlockAddress, kRoomLayoutBlockSize);
    m_ops.ReadMemory(kMicBoostWordAddress, kMicBoostWordSize);
    m_ops.send(buildCommand(Command::GetMachineSettings));
    m_ops.send(buildCommand(Command::GetRemoteTable));
    m_image.settingsChanged = 0;
    wait(m_timings.pullTail);
}

void Synchroniser::sendAllParams(bool volumeRecall) {
    DspParams& p = m_image.params;
    auto sendWord = [&](const auto& field) { m_setters.sendWord(wordOf(p, field)); };

    if (volumeRecall) {
        // The volumes come up by a ramp at the end, never with a jump.
        for (const ParamRow* volume : {&kMicVolume, &kMusicVolume}) {
            const ParamAddress at = addressOf(*volume);
            m_ops.SetParam(at.module, at.param, f32Bits(0.0));
        }
    }
    for (const auto* f : {&p.micAEqSwitch, &p.reverbEqSwitchA, &p.echoEqSwitchA, &p.micBEqSwitch,
                          &p.reverbEqSwitchB, &p.echoEqSwitchB, &p.musicEqSwitch}) {
        sendWord(*f);
    }
    for (int ch = 0; ch < 8; ++ch) {
        sendWord(p.outEqSwitch[ch]);
        sendWord(p.outDelayBypass[ch]);
        sendWord(p.outDelayMode[ch]);
        sendWord(p.outDelayMs[ch]);
        sendWord(p.outDirectLevel[ch]);
        sendWord(p.outReverbLevel[ch]);
        sendWord(p.outEchoLevel[ch]);
        sendWord(p.outMusicLevel[ch]);
        sendWord(p.outMute[ch]);
        sendWord(p.outPhase[ch]);
        sendWord(p.outLocation[ch]);
        sendWord(p.outCompBypass[ch]);
        sendWord(p.outCompThreshold[ch]);
        m_setters.setRoomGain(ch, roomGainDb(m_image.roomGain, ch));
        sendWord(p.outLevel[ch]);
    }
    sendWord(p.musicCompThreshold);
    sendWord(p.musicCompBypass);
    sendWord(p.effectVolume);
    sendWord(p.micMute);
    sendWord(p.musicMute);
    sendWord(p.reverbMute);
    sendWord(p.echoMute);

    // Every microphone input belongs to exactly one of the two channels.
    for (int k = 0; k < 4; ++k) {
        const bool onA = p.micToA[k] != 0;
        p.micToA[k] = onA ? 100 : 0;
        p.micToB[k] = onA ? 0 : 100;
        sendWord(p.micToA[k]);
        sendWord(p.micToB[k]);
    }
    for (int k = 0; k < 4; ++k) {
        sendWord(p.micInputVolume[k]);
    }
    for (int k = 0; k < 4; ++k) {
        sendWord(p.micGate[k]);
    }
    sendWord(p.reverbVolume);
    sendWord(p.echoVolume);
    // An HDMI source sends the selection itself, just before the source.
    if (p.musicSource != 2) {
        sendWord(p.hdmiSelect);
    }
    sendWord(p.musicSource);
    for (const auto* f : {&p.musicGainSpdif, &p.musicGainExtra, &p.musicGainBluetooth,
                          &p.musicGainHdmi1, &p.musicGainHdmi2, &p.musicGainHdmi3,
                          &p.musicGainHdmi4, &p.musicGainAux, &p.musicGainAux2}) {
        sendWord(*f);
    }

    struct EffectSet {
        std::int32_t& shiftFreq;
        std::int32_t& echoLevel;
        std::int32_t& reverbLevel;
        float& reverbPredelay;
        float& reverbTime;
        float& echoPredelay;
        float& echoTime;
        std::int32_t& echoStartVol;
        std::int32_t& echoDecay;
    };
    const EffectSet sets[] = {
        {p.shiftFreqA, p.echoLevelA, p.reverbLevelA, p.reverbPredelayMsA, p.reverbTimeA,
         p.echoPredelayMsA, p.echoTimeMsA, p.echoStartVolA, p.echoDecayA},
        {p.shiftFreqB, p.echoLevelB, p.reverbLevelB, p.reverbPredelayMsB, p.reverbTimeB,
         p.echoPredelayMsB, p.echoTimeMsB, p.echoStartVolB, p.echoDecayB}};
    for (const EffectSet& s : sets) {
        sendWord(s.shiftFreq);
        sendWord(s.echoLevel);
        sendWord(s.reverbLevel);
        sendWord(s.reverbPredelay);
        s.reverbTime = std::trunc(s.reverbTime);
        sendWord(s.reverbTime);
        sendWord(s.echoPredelay);
        s.echoTime = std::trunc(s.echoTime);
        sendWord(s.echoTime);
        sendWord(s.echoStartVol);
        sendWord(s.echoDecay);
    }

    sendWord(p.musicPitch);
    sendWord(p.musicAgcOn);
    sendWord(p.musicAgcLevel);
    sendWord(p.musicGate);
    sendWord(p.subDecayOn);
    sendWord(p.subDecayLevel);
    sendWord(p.micBoostOn); // refreshes the copy, then parameters 37 and 60
    m_setters.sendMicBoost();
    sendWord(p.boostLpfDelayMs);
    sendWord(p.boostLpfGain);
}

void Synchroniser::writeAllMemory() {
    m_ops.WriteMemory(kEqBandStoreAddress, m_image.eqBands);
    m_ops.WriteMemory(kRoomLayoutBlockAddress, m_image.roomLayout);
    m_ops.WriteMemory(kRoomGainBlockAddress, m_image.roomGain);
}

void Synchroniser::sendAllEqCoefficients() {
    BandOps bands(m_image, m_ops.sink());
    // Microphone channels, echo sets, reverb sets, music, outputs, as the processor
    // expects them; the delay split bands of the outputs went out with their mode.
    for (int eqId : {0, 1, 4, 5, 2, 3, 6, 7, 8, 9, 10, 11, 12, 13, 14}) {
        for (int b = 0; b < eqBandCount(eqId); ++b) {
            bands.sendBandCoefficients(eqId, b);
        }
    }
    bands.sendBoostBandCoefficients();
}

void Synchroniser::rampVolumes() {
    DspParams& p = m_image.params;
    struct Ramp {
        std::int32_t& volume;
        int start;
        ParamAddress at;
    };
    for (const Ramp& r : {Ramp{p.micVolume, kMicVolumeRampStart, addressOf(kMicVolume)},
                          Ramp{p.musicVolume, kMusicVolumeRampStart, addressOf(kMusicVolume)}}) {
        if (r.volume < r.start) {
            m_setters.sendWord(wordOf(p, r.volume));
            continue;
        }
        for (int v = r.start; v <= r.volume; ++v) {
            m_ops.SetParam(r.at.module, r.at.param, encodePctPlus(v));
            wait(m_timings.volumeStep);
        }
    }
}

void Synchroniser::pushAll() {
    const bool volumeRecall = m_image.machine.applied[machine::kVolumeRecall] == 1;
    sendAllParams(volumeRecall);
    writeAllMemory();
    sendAllEqCoefficients();
    if (volumeRecall) {
        rampVolumes();
    }
    for (const ParamRow* volume : {&kMicVolume, &kMusicVolume}) {
        const ParamAddress at = addressOf(*volume);
        m_ops.GetParam(at.module, at.param, at.count);
    }
    wait(m_timings.pushTail);
    m_image.settingsChanged = 0;
}

void Synchroniser::storeIntoMode(int slot) {
    if (slot < 0 || slot > 3) {
        return;
    }
    m_image.currentMode = slot;
    m_ops.send(buildCommand(Command::SetCurrentMode, {static_cast<std::uint8_t>(slot)}));
    wait(m_timings.modeSaveGap);
    m_ops.send(buildCommand(Command::SaveMode, {static_cast<std::uint8_t>(slot)}));
}

} // namespace quilo
