#include "model/DspParams.h"

#include <cstring>
#include <type_traits>

namespace quilo {

static_assert(std::is_standard_layout_v<DspParams> && std::is_trivially_copyable_v<DspParams>);
static_assert(offsetof(DspParams, micBEqSwitch) == 13 * 4);
static_assert(offsetof(DspParams, echoPredelayMsA) == 31 * 4);
static_assert(offsetof(DspParams, reverbTimeB) == 50 * 4);
static_assert(offsetof(DspParams, musicGate) == 64 * 4);
static_assert(offsetof(DspParams, outCompThreshold) == 121 * 4);
static_assert(offsetof(DspParams, outPhase) == 185 * 4);
static_assert(offsetof(DspParams, musicAgcLevel) == 194 * 4);
static_assert(offsetof(DspParams, outLevel) == 199 * 4);
static_assert(offsetof(DspParams, micBoostOn) == 207 * 4);
static_assert(offsetof(DspParams, musicCompBypass) == 215 * 4);

std::uint32_t DspParams::word(std::size_t i) const {
    std::uint32_t bits = 0;
    if (i < kWords) {
        std::memcpy(&bits, reinterpret_cast<const unsigned char*>(this) + i * 4, 4);
    }
    return bits;
}

void DspParams::setWord(std::size_t i, std::uint32_t bits) {
    if (i < kWords) {
        std::memcpy(reinterpret_cast<unsigned char*>(this) + i * 4, &bits, 4);
    }
}

} // namespace quilo
