// Read-back and write-out of the host's Synchroniser against the emulated
// processor, replies decoded by the dispatcher as on the real link.
//
// What a write-out changes on the way, and so what a read-back returns
// differently from the image that was pushed: delays below the processor's
// minimum are raised (channel delays to 1.5 ms, echo and reverb pre-delays and
// echo times to 2 ms), reverb and echo times are cut to whole numbers, each
// microphone input ends up on exactly one mic channel, the shifter's off flag
// follows its frequency, the delay split bands 13 and 14 follow the delay mode,
// and compressor settings come back through their coefficients (within 0.1 %).
#include "HostSink.h"
#include "device/WireValue.h"
#include "emulator/FactorySettings.h"
#include "model/BandOps.h"
#include "model/InboundDispatcher.h"
#include "model/ModeFile.h"
#include "model/Presets.h"
#include "model/Synchroniser.h"

#include <gtest/gtest.h>

#include <memory>

using namespace quilo;
using namespace quilo::test;

namespace {

// One host: an image, its dispatcher and the paced sink to the emulator.
struct Host {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    DeviceEvents events;
    InboundDispatcher dispatcher{*image, events};
    HostSink sink;
    Synchroniser sync{*image, sink, kNoPauses};
    explicit Host(EmulatorHarness& h) : sink(h, dispatcher) { image->resetToDefaults(); }
};

int countSent(const EmulatorHarness& h, Command code) {
    int n = 0;
    for (const Report& r : h.emulator.received()) {
        n += r[1] == static_cast<std::uint8_t>(code);
    }
    return n;
}

// The words of every SetParam for module/param that the emulator received.
std::vector<std::uint32_t> setParamWords(const EmulatorHarness& h, int module, int param) {
    std::vector<std::uint32_t> words;
    for (const Report& r : h.emulator.received()) {
        if (r[1] == 0x09 && r[3] == module && r[4] == param) {
            words.push_back(wordAt(r, 6));
        }
    }
    return words;
}

EmulatorFaults faultsWithModel(const char* model) {
    EmulatorFaults f;
    f.modelName = model;
    return f;
}

EmulatorOptions neverSetUp() {
    EmulatorOptions o;
    o.blankBandStore = true;
    return o;
}

void loadPresetInto(DeviceImage& image, int preset) {
    ASSERT_TRUE(readModeFileBytes(presetModeFile(preset), image).ok());
}

} // namespace

TEST(SyncWithEmulator, PullFillsTheImageWithWhatTheProcessorHolds) {
    EmulatorHarness h;
    EmulatorState s = h.emulator.state();
    const auto preset = presetModeFile(14);
    std::copy_n(preset.begin() + 868, kEqBandStoreSize, s.memory.begin()); // band store
    s.memory[kRoomGainBlockAddress + 4] = 0xC0;                            // CH 2 -2.5 dB
    s.memory[kRoomGainBlockAddress + 5] = 0x20;
    s.memory[kRoomLayoutBlockAddress] = 6;
    s.memory[kMicBoostWordAddress] = 0xC1; // -12 dB
    s.memory[kMicBoostWordAddress + 1] = 0x40;
    const std::u16string name = u"Kino";
    for (std::size_t i = 0; i < name.size(); ++i) {
        s.memory[kModeNameAddresses[1] + 2 * i + 1] = static_cast<std::uint8_t>(name[i]);
        s.memory[kModeNameAddresses[1] + 2 * i] = 0;
    }
    s.memory[kModeNameAddresses[1] + 2 * name.size()] = 0;
    s.memory[kModeNameAddresses[1] + 2 * name.size() + 1] = 0;
    s.currentMode = 2;
    s.machine[machine::kVolumeRecall] = 1;
    s.machine[machine::kMaxMicVolume] = 77;
    s.remoteTable[3] = 0x5A;
    s.params[{1, 14}] = {encodePctPlus(63)}; // micVolume
    s.params[{8, 16}] = {encodeInt(4)};      // CH 4 location: subwoofer
    s.params[{8, 18}] = {encodeMs(7.5)};     // CH 4 delay
    s.params[{2, 10}] = {encodeMs(300)};     // echoTimeMsA
    s.params[{4, 23}] = {encodeInt(3)};      // musicSource Bluetooth
    s.params[{4, 17}] = {encodeRaw(-6.5f)};  // musicAgcLevel
    h.emulator.restore(s);

    Host host(h);
    host.image->settingsChanged = 1;
    host.sync.pullAll();
    const DeviceImage& im = *host.image;

    EXPECT_EQ(checkIdentity(im), IdentityVerdict::Ok);
    EXPECT_EQ(im.info.firmwareDateA, u"2013-06-18");
    EXPECT_EQ(im.info.firmwareDateB, u"2013-07-02");
    EXPECT_TRUE(std::equal(im.eqBands.begin(), im.eqBands.end(), preset.begin() + 868));
    EXPECT_TRUE(std::equal(im.roomGain.begin(), im.roomGain.end(),
                           s.memory.begin() + kRoomGainBlockAddress));
    EXPECT_TRUE(std::equal(im.roomLayout.begin(), im.roomLayout.end(),
                           s.memory.begin() + kRoomLayoutBlockAddress));
    EXPECT_EQ(im.micBoost, (MicBoostWord{0xC1, 0x40}));
    EXPECT_EQ(im.modeNames[1], u"Kino");
    EXPECT_EQ(im.currentMode, 2);
    EXPECT_EQ(im.machine.applied, s.machine);
    EXPECT_TRUE(
        std::equal(im.remoteKeys.begin(), im.remoteKeys.begin() + 16, s.remoteTable.begin()));
    EXPECT_EQ(im.settingsChanged, 0);

    const DspParams& p = im.params;
    EXPECT_EQ(p.micVolume, 63);
    EXPECT_EQ(p.outLocation[3], 4);
    EXPECT_EQ(p.outDelayMs[3], 7.5f);
    EXPECT_EQ(p.echoTimeMsA, 300.0f);
    EXPECT_EQ(p.musicSource, 3);
    EXPECT_EQ(p.musicAgcLevel, -6.5f);
    // Factory words elsewhere, in the pages' units.
    EXPECT_EQ(p.musicVolume, 50);
    EXPECT_EQ(p.micInputVolume[2], 80);
    EXPECT_EQ(p.micToA[1], 100);
    EXPECT_EQ(p.micToB[2], 100);
    EXPECT_EQ(p.reverbTimeB, 30.0f);
    EXPECT_EQ(p.outLocation[7], 7);
    EXPECT_EQ(p.outDelayMode[0], 1);
    EXPECT_EQ(p.outCompBypass[5], 1);
    EXPECT_NEAR(p.outCompRatio[5], 2.0f, 2e-3f);
    EXPECT_NEAR(p.outCompReleaseMs[5], 100.0f, 0.1f);
}

TEST(SyncWithEmulator, BlankBandStoreLeavesEveryRecordZero) {
    EmulatorHarness h(neverSetUp()); // the band store is blank (FF)
    Host host(h);
    ASSERT_EQ(host.image->eqBands[1], 150); // 0 dB of its own defaults before
    host.sync.pullAll();
    for (std::size_t i = 0; i < kEqBandStoreSize; ++i) {
        ASSERT_EQ(host.image->eqBands[i], 0) << i;
    }
}

TEST(SyncWithEmulator, FactoryProcessorHoldsFlatBands) {
    EmulatorHarness h;
    Host host(h);
    host.sync.pullAll();
    for (int eqId = 0; eqId < kEqCount; ++eqId) {
        for (int b = 0; b < eqInfo(eqId)->bandCount; ++b) {
            const EqBand band = BandOps(*host.image, host.sink).band(eqId, b);
            EXPECT_EQ(band.type, 1) << eqId << " " << b;
            EXPECT_EQ(band.gainDb, 0.0f) << eqId << " " << b;
            EXPECT_EQ(band.freqHz, flatBand(eqId, b).freqHz) << eqId << " " << b;
        }
    }
}

TEST(SyncWithEmulator, BandsWrittenIntoABlankStoreComeBack) {
    // One output equaliser and one single band edited on a processor never set up: only
    // those records were ever written, every other record still reads blank.
    EmulatorHarness h(neverSetUp());
    Host writer(h);
    BandOps ops(*writer.image, writer.sink);
    for (int b = 0; b < 9; ++b) {
        ops.applyBand(8, b, 1, -3.0f + float(b), 100.0f * float(b + 1), 2.0f);
    }
    ops.applyBand(6, 9, 5, 4.5f, 12000.0f, 0.7f); // the last band of a blank piece
    Host reader(h);
    reader.sync.pullAll();
    for (std::size_t r = 0; r < kEqBandRecords; ++r) {
        const std::size_t at = r * kEqBandRecordSize;
        const bool written =
            (at >= bandAddress(6, 0) && at < bandAddress(6, 9)) || at == bandAddress(4, 9);
        for (std::size_t i = at; i < at + kEqBandRecordSize; ++i) {
            ASSERT_EQ(reader.image->eqBands[i], written ? writer.image->eqBands[i] : 0)
                << "record " << r;
        }
    }
}

TEST(SyncWithEmulator, IdentityOutcomes) {
    {
        // The first model reply is lost: the second attempt matches and the
        // read-back goes on as usual.
        EmulatorHarness h;
        Host host(h);
        host.image->info.modelName.clear();
        int modelReplies = 0;
        host.sink.keep = [&](const Report& r) { return r[1] != 0x80 || ++modelReplies > 1; };
        host.sync.pullAll();
        EXPECT_EQ(countSent(h, Command::GetModel), 2);
        EXPECT_EQ(countSent(h, Command::GetParam), host.sync.pullRequestCount());
        EXPECT_EQ(checkIdentity(*host.image), IdentityVerdict::Ok);
    }
    {
        // A model in lower case is the same model.
        EmulatorHarness h;
        h.emulator.setFaults(faultsWithModel("mivrax"));
        Host host(h);
        host.sync.pullAll();
        EXPECT_EQ(countSent(h, Command::GetModel), 1);
        EXPECT_EQ(countSent(h, Command::GetParam), host.sync.pullRequestCount());
    }
    {
        // Another model: two attempts, then nothing more is read.
        EmulatorHarness h;
        h.emulator.setFaults(faultsWithModel("VORNEX2"));
        Host host(h);
        host.sync.pullAll();
        EXPECT_EQ(countSent(h, Command::GetModel), 2);
        EXPECT_EQ(countSent(h, Command::GetParam), 0);
        EXPECT_EQ(countSent(h, Command::ReadMemory), 0);
        EXPECT_EQ(checkIdentity(*host.image), IdentityVerdict::ModelMismatch);
    }
    {
        // Another protocol: one attempt, then nothing more is read.
        EmulatorHarness h;
        EmulatorFaults f;
        f.protocolVersion = 17;
        h.emulator.setFaults(f);
        Host host(h);
        host.sync.pullAll();
        EXPECT_EQ(countSent(h, Command::GetModel), 1);
        EXPECT_EQ(countSent(h, Command::GetParam), 0);
        EXPECT_EQ(checkIdentity(*host.image), IdentityVerdict::ProtocolMismatch);
    }
}

TEST(SyncWithEmulator, VolumeRecallRampsTheVolumesUpAndReadsThemBack) {
    EmulatorHarness h;
    Host host(h);
    host.sync.pullAll(); // the image learns the processor's machine settings
    host.image->machine.applied[machine::kVolumeRecall] = 1;
    loadPresetInto(*host.image, 9);
    host.image->params.micVolume = 83;
    host.image->params.musicVolume = 72;
    h.emulator.clearLog();
    host.sync.pushAll();
    EXPECT_EQ(setParamWords(h, 1, 14),
              (std::vector<std::uint32_t>{f32Bits(0.0), encodePctPlus(80), encodePctPlus(81),
                                          encodePctPlus(82), encodePctPlus(83)}));
    EXPECT_EQ(f32Bits(0.8305), encodePctPlus(83));
    EXPECT_EQ(setParamWords(h, 4, 12),
              (std::vector<std::uint32_t>{f32Bits(0.0), encodePctPlus(70), encodePctPlus(71),
                                          encodePctPlus(72)}));
    EXPECT_EQ(h.emulator.state().params.at({1, 14}).front(), encodePctPlus(83));
    EXPECT_EQ(host.image->params.micVolume, 83);
    EXPECT_EQ(host.image->params.musicVolume, 72);
}

TEST(SyncWithEmulator, WithoutVolumeRecallTheProcessorKeepsItsVolumes) {
    EmulatorHarness h;
    Host host(h);
    host.sync.pullAll();
    ASSERT_EQ(host.image->machine.applied[machine::kVolumeRecall], 0);
    loadPresetInto(*host.image, 9);
    host.image->params.micVolume = 83;
    h.emulator.clearLog();
    host.sync.pushAll();
    EXPECT_TRUE(setParamWords(h, 1, 14).empty());
    EXPECT_EQ(host.image->params.micVolume, 50); // what the processor kept
}

TEST(SyncWithEmulator, PushThenPullGivesBackTheImageApartFromTheDocumentedChanges) {
    EmulatorHarness h;
    Host out(h);
    loadPresetInto(*out.image, 12);
    DspParams& p = out.image->params;
    p.outDelayMs[2] = 0.5f;   // below the minimum
    p.echoPredelayMsB = 1.0f; // below the minimum
    p.echoTimeMsA = 300.6f;   // cut to whole milliseconds
    p.reverbTimeA = 45.7f;    // cut to a whole number
    p.micToA[0] = 0;          // input 1 on neither channel
    p.micToB[0] = 0;
    p.shiftFreqA = 440;    // on, with the off flag still set
    p.outDelayMode[6] = 0; // split bands become the band-pass
    const auto pushed = std::make_unique<DeviceImage>();
    pushed->params = p;
    pushed->eqBands = out.image->eqBands;
    out.sync.pushAll();
    // The image itself took every change the processor received.
    EXPECT_EQ(p.outDelayMs[2], 1.5f);
    EXPECT_EQ(p.echoPredelayMsB, 2.0f);
    EXPECT_EQ(p.echoTimeMsA, 300.0f);
    EXPECT_EQ(p.reverbTimeA, 45.0f);
    EXPECT_EQ(p.micToB[0], 100);
    EXPECT_EQ(p.shiftOffA, 0);

    Host back(h);
    back.sync.pullAll();
    const DspParams& q = back.image->params;
    EXPECT_EQ(q.outDelayMs[2], 1.5f);
    EXPECT_EQ(q.echoPredelayMsB, 2.0f);
    EXPECT_EQ(q.echoTimeMsA, 300.0f);
    EXPECT_EQ(q.reverbTimeA, 45.0f);
    EXPECT_EQ(q.micToA[0], 0);
    EXPECT_EQ(q.micToB[0], 100);
    EXPECT_EQ(q.shiftFreqA, 440);
    EXPECT_EQ(q.shiftOffA, 0);
    EXPECT_EQ(q.outDelayMode[6], 0);
    // Split bands of CH 7 (store module 11): high-pass and low-pass now.
    EXPECT_EQ(back.image->eqBands[bandAddress(11, 13) + 6], 3);
    EXPECT_EQ(back.image->eqBands[bandAddress(11, 14) + 6], 2);
    // Everything else of the store as it was pushed.
    auto expected = pushed->eqBands;
    for (int b : {13, 14}) {
        std::copy_n(back.image->eqBands.begin() + bandAddress(11, b), kEqBandRecordSize,
                    expected.begin() + bandAddress(11, b));
    }
    EXPECT_EQ(back.image->eqBands, expected);
    EXPECT_EQ(q.outLocation[3], 4);
    EXPECT_EQ(q.outMute[2], 1);
}

TEST(SyncWithEmulator, PendingModeSlotStoresThePushedSetting) {
    EmulatorHarness h;
    Host host(h);
    loadPresetInto(*host.image, 14);
    host.sync.pushAll();
    host.sync.storeIntoMode(3);
    const EmulatorState& s = h.emulator.state();
    EXPECT_EQ(s.currentMode, 3);
    EXPECT_EQ(host.image->currentMode, 3);
    EXPECT_EQ(s.modes[3].params, s.params);
    EXPECT_TRUE(std::equal(host.image->eqBands.begin(), host.image->eqBands.end(),
                           s.modes[3].memory.begin()));
    EXPECT_NE(s.modes[0].params, s.params); // the others untouched
    // A slot outside 0-3 stores nothing.
    h.emulator.clearLog();
    host.sync.storeIntoMode(4);
    EXPECT_TRUE(h.emulator.received().empty());
}
