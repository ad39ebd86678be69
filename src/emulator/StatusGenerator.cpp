#include "emulator/StatusGenerator.h"

#include "device/WireValue.h"
#include "model/ParamTable.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quilo {

namespace {

// The first word of the parameter of a field's element, if it is known.
const std::uint32_t* wordOf(const EmulatorState& state, const ParamRow& row, int element) {
    const ParamAddress at = addressOf(row, element);
    auto it = state.params.find(
        {static_cast<std::uint8_t>(at.module), static_cast<std::uint8_t>(at.param)});
    return it == state.params.end() || it->second.empty() ? nullptr : &it->second[0];
}

// That word as f32, or `fallback`.
float valueOf(const EmulatorState& state, const ParamRow& row, int element = 0,
              float fallback = 0.0f) {
    const std::uint32_t* w = wordOf(state, row, element);
    const float v = w != nullptr ? f32FromBits(*w) : fallback;
    return std::isfinite(v) ? v : fallback;
}

std::uint32_t intOf(const EmulatorState& state, const ParamRow& row) {
    const std::uint32_t* w = wordOf(state, row, 0);
    return w != nullptr ? *w : 0;
}

// 0..1, a slow swell with a faster flutter on top, different per meter.
double movement(double seconds, double rate, double phase) {
    const double swell = 0.5 + 0.5 * std::sin(2 * std::numbers::pi * (rate * seconds + phase));
    const double flutter = 0.5 + 0.5 * std::sin(2 * std::numbers::pi * (rate * 7.3 * seconds));
    return 0.75 * swell + 0.25 * flutter;
}

std::uint8_t meter(double gain, double moving) {
    const double level = std::clamp(gain, 0.0, 1.0) * (20.0 + 40.0 * moving);
    return static_cast<std::uint8_t>(std::lround(std::clamp(level, 0.0, 60.0)));
}

} // namespace

std::array<std::uint8_t, 16> liveStatusAt(const EmulatorState& state, EmulatorTime now) {
    const double t = std::chrono::duration<double>(now.time_since_epoch()).count();
    std::array<std::uint8_t, 16> s{};

    // A mute word is f32 1.0 while sounding, 0.0 while muted.
    const bool micsOn = valueOf(state, rowOf("micMute"), 0, 1.0f) != 0.0f;
    const double micMaster = valueOf(state, rowOf("micVolume"));
    for (int k = 0; k < 4; ++k) {
        const double input = valueOf(state, rowOf("micInputVolume"), k);
        const double gain = micsOn ? input * std::min(1.0, 2 * micMaster) : 0;
        s[k] = meter(gain, movement(t, 0.31 + 0.07 * k, 0.25 * k));
    }

    const bool musicOn = valueOf(state, rowOf("musicMute"), 0, 1.0f) != 0.0f;
    const double musicGain =
        musicOn ? std::min(1.0, 2.0 * valueOf(state, rowOf("musicVolume"))) : 0.0;
    s[4] = meter(musicGain, movement(t, 0.23, 0.0));
    s[5] = meter(musicGain, movement(t, 0.23, 0.08));
    const int levelDb =
        musicOn ? -30 + static_cast<int>(std::lround(24 * movement(t, 0.05, 0))) : -60;
    s[6] = static_cast<std::uint8_t>(static_cast<std::int8_t>(levelDb));

    // Format flags: bit 0 Dolby, bit 1 DTS, bit 2 multichannel PCM.
    const std::uint32_t source = intOf(state, rowOf("musicSource"));
    const std::uint32_t hdmi = intOf(state, rowOf("hdmiSelect"));
    s[7] = source == 0 ? 0x02 : source == 2 ? (hdmi == 0 ? 0x01 : 0x04) : 0x00;

    // Wireless microphone 1 close by on a fresh battery, microphone 2 further away.
    s[8] = static_cast<std::uint8_t>(225 + std::lround(20 * movement(t, 0.11, 0.3)));
    s[9] = static_cast<std::uint8_t>(s[0] / 4);
    s[10] = 13;
    s[11] = 205;
    s[12] = static_cast<std::uint8_t>(165 + std::lround(40 * movement(t, 0.07, 0.6)));
    s[13] = static_cast<std::uint8_t>(s[1] / 4);
    s[14] = 77;
    s[15] = 192;
    return s;
}

} // namespace quilo
