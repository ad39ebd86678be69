#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace quilo {

// The music input's stream format, as the live status reports it in one byte of flags.
constexpr std::size_t kStreamFormatByte = 7;
constexpr std::uint8_t kStreamDolby = 0x01;
constexpr std::uint8_t kStreamDts = 0x02;
constexpr std::uint8_t kStreamMultiChannelPcm = 0x04;

// The first flag set wins, in the order Dolby, DTS, multichannel PCM; none is stereo.
inline QString streamFormatText(std::uint8_t flags) {
    if (flags & kStreamDolby)
        return QStringLiteral("DOLBY");
    if (flags & kStreamDts)
        return QStringLiteral("DTS");
    if (flags & kStreamMultiChannelPcm)
        return QStringLiteral("Multi-CH LPCM");
    return QStringLiteral("Stereo");
}

} // namespace quilo
