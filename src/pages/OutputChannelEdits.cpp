#include "pages/OutputChannelEdits.h"

#include "dsp/Biquad.h"
#include "model/EqBand.h"
#include "model/HfDelayBands.h"
#include "model/OutputDelay.h"

namespace quilo {

namespace {

constexpr int kEqBands = 13; // equaliser bands 0-12; 13 and 14 are the delay split
constexpr int kSplitLowBand = 13;

constexpr std::int32_t (DspParams::*kLevelFields[4])[8] = {
    &DspParams::outDirectLevel, &DspParams::outReverbLevel, &DspParams::outEchoLevel,
    &DspParams::outMusicLevel};

int eqIdOf(int channel) {
    return kFirstOutputEqId + channel;
}

bool sameBand(const EqBand& a, const EqBand& b) {
    return a.type == b.type && a.gainDb == b.gainDb && a.freqHz == b.freqHz && a.q == b.q;
}

} // namespace

std::int32_t& OutputChannelEdits::levelField(int channel, Level level) const {
    return (m_image.params.*kLevelFields[static_cast<int>(level)])[channel];
}

int OutputChannelEdits::level(int channel, Level level) const {
    return levelField(channel, level);
}

void OutputChannelEdits::setLevelOne(int channel, Level level, int percent) {
    m_setters.set(kLevelFields[static_cast<int>(level)], channel, percent);
}

void OutputChannelEdits::setLevel(const Channels& set, Level level, int percent) {
    for (int ch : set) {
        setLevelOne(ch, level, percent);
    }
}

void OutputChannelEdits::setDelayOn(const Channels& set, bool on) {
    for (int ch : set) {
        m_setters.set(&DspParams::outDelayBypass, ch, on ? 0 : 1);
    }
}

void OutputChannelEdits::setDelayMode(const Channels& set, int mode) {
    // The setter rewrites the split bands for the mode: flat for the whole channel, the
    // channel's pair again for the high-frequency band.
    for (int ch : set) {
        m_setters.set(&DspParams::outDelayMode, ch, mode);
    }
}

void OutputChannelEdits::setHfDelayBand(const Channels& set, int index) {
    for (int ch : set) {
        // A channel delayed as a whole keeps its split bands flat: as filters they would
        // cut everything outside the pair from it.
        applyDelaySplit(m_bands, ch, index, m_image.params.outDelayMode[ch] == 1);
    }
}

void OutputChannelEdits::setDelayMs(const Channels& set, float ms) {
    for (int ch : set) {
        m_setters.set(&DspParams::outDelayMs, ch, ms);
    }
}

void OutputChannelEdits::setCompressorOn(const Channels& set, bool on) {
    for (int ch : set) {
        m_setters.set(&DspParams::outCompBypass, ch, on ? 0 : 1);
    }
}

void OutputChannelEdits::setCompressor(const Channels& set, const Compressor& v) {
    for (int ch : set) {
        m_setters.setOutputCompressor(ch, v.thresholdDb, v.ratio, v.attackMs, v.releaseMs);
    }
}

void OutputChannelEdits::setMute(int channel, bool muted) {
    m_setters.set(&DspParams::outMute, channel, muted ? 1 : 0);
}

void OutputChannelEdits::setPhase(int channel, bool inverted) {
    m_setters.set(&DspParams::outPhase, channel, inverted ? 1 : 0);
}

void OutputChannelEdits::setLocation(int channel, int code) {
    m_setters.set(&DspParams::outLocation, channel, code);
}

OutputChannelEdits::Compressor OutputChannelEdits::compressor(int channel) const {
    const DspParams& p = m_image.params;
    return {p.outCompThreshold[channel], p.outCompRatio[channel], p.outCompAttackMs[channel],
            p.outCompReleaseMs[channel]};
}

int OutputChannelEdits::hfDelayBandIndex(int channel) const {
    const float hz = m_bands.band(eqIdOf(channel), kSplitLowBand).freqHz;
    return quilo::hfDelayBandIndex(static_cast<std::int32_t>(hz));
}

bool OutputChannelEdits::pairsEqual(int a, int b) const {
    const DspParams& p = m_image.params;
    for (Level l : {Level::Direct, Level::Reverb, Level::Echo, Level::Music}) {
        if (level(a, l) != level(b, l)) {
            return false;
        }
    }
    if (p.outEqSwitch[a] != p.outEqSwitch[b] || hfDelayBandIndex(a) != hfDelayBandIndex(b) ||
        p.outDelayMs[a] != p.outDelayMs[b] || !(compressor(a) == compressor(b)) ||
        p.outCompBypass[a] != p.outCompBypass[b] || p.outDelayBypass[a] != p.outDelayBypass[b] ||
        p.outDelayMode[a] != p.outDelayMode[b]) {
        return false;
    }
    for (int band = 0; band < kEqBands; ++band) {
        if (!sameBand(m_bands.band(eqIdOf(a), band), m_bands.band(eqIdOf(b), band))) {
            return false;
        }
    }
    return true;
}

void OutputChannelEdits::equalisePair(int source, int destination) {
    const DspParams& p = m_image.params;
    const Channels dst{destination};
    for (Level l : {Level::Echo, Level::Reverb, Level::Music, Level::Direct}) {
        if (level(source, l) != level(destination, l)) {
            setLevelOne(destination, l, level(source, l));
        }
    }
    if (p.outEqSwitch[source] != p.outEqSwitch[destination]) {
        m_setters.set(&DspParams::outEqSwitch, destination, p.outEqSwitch[source]);
    }
    setHfDelayBand(dst, hfDelayBandIndex(source));
    if (p.outDelayMs[source] != p.outDelayMs[destination]) {
        setDelayMs(dst, p.outDelayMs[source]);
    }
    if (!(compressor(source) == compressor(destination))) {
        setCompressor(dst, compressor(source));
    }
    if (p.outCompBypass[source] != p.outCompBypass[destination]) {
        m_setters.set(&DspParams::outCompBypass, destination, p.outCompBypass[source]);
    }
    if (p.outDelayBypass[source] != p.outDelayBypass[destination]) {
        m_setters.set(&DspParams::outDelayBypass, destination, p.outDelayBypass[source]);
    }
    if (p.outDelayMode[source] != p.outDelayMode[destination]) {
        setDelayMode(dst, p.outDelayMode[source]);
    }
    for (int band = 0; band < kEqBands; ++band) {
        const EqBand from = m_bands.band(eqIdOf(source), band);
        if (!sameBand(from, m_bands.band(eqIdOf(destination), band))) {
            m_bands.applyBand(eqIdOf(destination), band, from.type, from.gainDb, from.freqHz,
                              from.q);
        }
    }
}

} // namespace quilo
