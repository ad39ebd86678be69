// A whole image written out to the emulated processor and read back through the
// dispatcher comes back as it went out: every parameter the processor can
// report, the memory blocks and the identity that lets the read-back run.
#include "device/ReportSink.h"
#include "emulator/EmulatorHarness.h"
#include "model/DspFields.h"
#include "model/InboundDispatcher.h"
#include "model/Synchroniser.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory>

using namespace quilo;
using namespace quilo::test;

namespace {

// Sends into the emulator; every reply goes straight to the dispatcher, as the
// paced link does (the next report waits for the previous answer).
class DispatchingSink : public ReportSink {
public:
    DispatchingSink(EmulatorHarness& h, InboundHandler* inbound) : m_h(h), m_inbound(inbound) {}
    int send(const Report& r) override {
        deliver(m_h.send(r));
        return 61;
    }
    void pause(std::chrono::milliseconds d) override { deliver(m_h.advance(d)); }

private:
    void deliver(const std::vector<Report>& replies) {
        for (const Report& x : replies) {
            if (m_inbound) {
                m_inbound->handleReport(x);
            }
        }
    }
    EmulatorHarness& m_h;
    InboundHandler* m_inbound;
};

// Every field away from its default, in the units and ranges the pages use.
void fill(DspParams& p) {
    p.micVolume = 37;
    for (int k = 0; k < 4; ++k) {
        p.micToA[k] = k % 2 == 0 ? 100 : 0;
        p.micToB[k] = k % 2 == 0 ? 0 : 100;
        p.micInputVolume[k] = 60 + k;
        p.micGate[k] = 5 + 3 * k;
    }
    p.micAEqSwitch = 1;
    p.micBEqSwitch = 1;
    p.shiftFreqA = 440;
    p.shiftFreqB = 1; // off
    p.shiftOffB = 1;
    p.micMute = 1;
    p.effectVolume = 55;
    p.subDecayOn = 1;
    p.subDecayLevel = 45;
    p.echoEqSwitchA = 1;
    p.echoLevelA = 70;
    p.echoPredelayMsA = 12.5f; // 600 samples
    p.echoTimeMsA = 300.0f;
    p.echoStartVolA = 80;
    p.echoDecayA = 33;
    p.echoLevelB = 65;
    p.echoPredelayMsB = 20.0f;
    p.echoTimeMsB = 250.0f;
    p.echoStartVolB = 75;
    p.echoDecayB = 22;
    p.echoVolume = 88;
    p.echoMute = 1;
    p.reverbEqSwitchA = 1;
    p.reverbLevelA = 71;
    p.reverbPredelayMsA = 30.0f;
    p.reverbTimeA = 45.0f;
    p.reverbLevelB = 72;
    p.reverbPredelayMsB = 25.5f;
    p.reverbTimeB = 60.0f;
    p.reverbVolume = 66;
    p.reverbMute = 1;
    p.musicVolume = 42;
    p.musicGainSpdif = 11;
    p.musicGainHdmi1 = 12;
    p.musicGainBluetooth = 13;
    p.musicGainExtra = 14;
    p.musicGainAux = 15;
    p.musicGainAux2 = 16;
    p.musicGainHdmi2 = 17;
    p.musicGainHdmi3 = 18;
    p.musicGainHdmi4 = 19;
    p.musicMute = 1;
    p.musicEqSwitch = 1;
    p.musicPitch = -2;
    p.musicSource = 3;
    p.hdmiSelect = 2;
    p.musicGate = 25;
    for (int ch = 0; ch < 8; ++ch) {
        p.outDirectLevel[ch] = 10 + ch;
        p.outReverbLevel[ch] = 20 + ch;
        p.outEchoLevel[ch] = 30 + ch;
        p.outMusicLevel[ch] = 40 + ch;
        p.outLocation[ch] = 7 - ch;
        p.outEqSwitch[ch] = ch % 2;
        p.outCompBypass[ch] = (ch + 1) % 2;
        p.outCompThreshold[ch] = -10.0f - float(ch);
        p.outCompRatio[ch] = 2.0f + float(ch);
        p.outCompAttackMs[ch] = 5.0f + float(ch);
        p.outCompReleaseMs[ch] = 100.0f + 10.0f * float(ch);
        p.outDelayMs[ch] = 2.5f + float(ch);
        p.outDelayBypass[ch] = ch % 2;
        p.outDelayMode[ch] = (ch + 1) % 2;
        p.outMute[ch] = ch % 2;
        p.outPhase[ch] = (ch + 1) % 2;
        p.outLevel[ch] = 50 + ch;
    }
    p.musicAgcOn = 1;
    p.musicAgcLevel = -12.5f;
    p.micBoostOn = 1;
    p.boostLpfDelayMs = 10;
    p.boostLpfGain = 40;
    p.musicCompThreshold = -15.0f;
    p.musicCompRatio = 3.0f;
    p.musicCompAttackMs = 20.0f;
    p.musicCompReleaseMs = 200.0f;
    p.musicCompBypass = 1;
}

bool isCompressorTime(std::string_view name) {
    return name.ends_with("AttackMs") || name.ends_with("ReleaseMs") || name.ends_with("Ratio");
}

} // namespace

TEST(InboundRoundTrip, ImageWrittenOutComesBackThroughTheDispatcher) {
    EmulatorHarness h;
    auto sent = std::make_unique<DeviceImage>();
    sent->resetToDefaults();
    fill(sent->params);
    // Volumes go out only with volume recall on (as a ramp).
    sent->machine.applied[machine::kVolumeRecall] = 1;
    for (std::size_t i = 0; i < sent->eqBands.size(); ++i) {
        sent->eqBands[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    sent->roomGain[12] = 0xC0; // CH 4 at -2.5 dB: C0 20 00 00
    sent->roomGain[13] = 0x20;
    sent->roomLayout[0] = 6;
    sent->roomLayout[5] = 0x93;
    {
        DispatchingSink out(h, nullptr);
        FieldSetters(*sent, out).setMicBoost(-12.0f); // C1 40
        Synchroniser(*sent, out).pushAll();
    }

    auto back = std::make_unique<DeviceImage>();
    back->resetToDefaults();
    DeviceEvents none;
    InboundDispatcher dispatcher(*back, none);
    DispatchingSink in(h, &dispatcher);
    Synchroniser(*back, in).pullAll();

    // The read-back only runs once the identity replies were understood.
    EXPECT_EQ(back->info.modelName, u"MIVRAX");
    EXPECT_EQ(back->info.protocolVersion, 18);

    for (const DspFieldInfo& f : dspFields()) {
        if (f.name == "micBoostOnCopy") {
            continue; // ours alone; the processor keeps no such parameter
        }
        for (std::size_t i = 0; i < f.count; ++i) {
            const std::size_t w = f.firstWord + i;
            const std::uint32_t want = sent->params.word(w);
            const std::uint32_t got = back->params.word(w);
            if (f.isFloat && isCompressorTime(f.name)) {
                // Rebuilt through 1 - 1/r and 1 - e^(-1/(48 ms)) in single precision.
                EXPECT_NEAR(std::bit_cast<float>(got), std::bit_cast<float>(want),
                            1e-3 * std::fabs(std::bit_cast<float>(want)))
                    << f.name << "[" << i << "]";
            } else if (f.isFloat) {
                EXPECT_EQ(std::bit_cast<float>(got), std::bit_cast<float>(want))
                    << f.name << "[" << i << "]";
            } else {
                EXPECT_EQ(std::int32_t(got), std::int32_t(want)) << f.name << "[" << i << "]";
            }
        }
    }
    EXPECT_EQ(back->eqBands, sent->eqBands);
    EXPECT_EQ(back->roomGain, sent->roomGain);
    EXPECT_EQ(back->roomLayout, sent->roomLayout);
    EXPECT_EQ(back->micBoost, (MicBoostWord{0xC1, 0x40}));
}
