#pragma once

#include <cstdint>

namespace quilo {

// The high-frequency delay acts between a pair of split frequencies: pair k is
// (500 + 100k, 1000 + 100k) Hz for k = 0..25. Band 13 of an output holds the low one.
constexpr int kHfDelayBandPairs = 26;

constexpr int hfDelayLowHz(int index) {
    return 500 + 100 * index;
}
constexpr int hfDelayHighHz(int index) {
    return hfDelayLowHz(index) + 500;
}

// The pair whose low frequency equals `band13Hz` (whole hertz), 0 when none does.
constexpr int hfDelayBandIndex(std::int32_t band13Hz) {
    for (int k = 0; k < kHfDelayBandPairs; ++k) {
        if (hfDelayLowHz(k) == band13Hz) {
            return k;
        }
    }
    return 0;
}

} // namespace quilo
