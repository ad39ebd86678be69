#pragma once

#include "model/BandOps.h"
#include "model/CompressorControls.h"
#include "model/DeviceImage.h"
#include "model/FieldSetters.h"

#include <cstdint>
#include <vector>

namespace quilo {

// What the output page does to the output channels, without its controls: each edit stores
// the value for every channel of a set, in channel order, and sends it through the field
// setters and band operations. The page decides which channels and with which value.
class OutputChannelEdits {
public:
    using Channels = std::vector<int>; // output channels 0-7, in the order they are sent

    // The four mix levels, 0-100, by their field.
    enum class Level { Direct, Reverb, Echo, Music };
    using Compressor = CompressorSettings;

    OutputChannelEdits(DeviceImage& image, FieldSetters& setters, BandOps& bands)
        : m_image(image), m_setters(setters), m_bands(bands) {}

    void setLevel(const Channels& set, Level level, int percent);
    // Switches store 0 while on, 1 while bypassed.
    void setDelayOn(const Channels& set, bool on);
    // 0 the high-frequency band, 1 the whole channel; the split bands follow the mode.
    void setDelayMode(const Channels& set, int mode);
    // Split pair `index` (0-25): band 13 a high-pass at its low, band 14 a low-pass at its
    // high frequency; on a channel delayed as a whole both flat at those frequencies.
    void setHfDelayBand(const Channels& set, int index);
    void setDelayMs(const Channels& set, float ms);
    void setCompressorOn(const Channels& set, bool on);
    void setCompressor(const Channels& set, const Compressor& values);

    // Per channel, never linked.
    void setMute(int channel, bool muted);
    void setPhase(int channel, bool inverted);
    void setLocation(int channel, int code);

    int level(int channel, Level level) const;
    Compressor compressor(int channel) const;
    // The split pair band 13 of the channel holds (0 when none).
    int hfDelayBandIndex(int channel) const;

    // Whether two channels agree in everything linking makes them share: levels, equaliser
    // switch, split pair, delay, compressor, switches, delay mode and equaliser bands 0-12.
    bool pairsEqual(int a, int b) const;
    // Gives `destination` what differs of `source`, in the order the processor expects.
    void equalisePair(int source, int destination);

private:
    std::int32_t& levelField(int channel, Level level) const;
    void setLevelOne(int channel, Level level, int percent);

    DeviceImage& m_image;
    FieldSetters& m_setters;
    BandOps& m_bands;
};

} // namespace quilo
