#include "dsp/ResponseFrequencies.h"

#include <cmath>

namespace quilo {

std::vector<double> twentyFourthOctaveFrequencies() {
    constexpr int kFirst = -136;
    constexpr int kLast = 104;
    std::vector<double> out;
    out.reserve(kLast - kFirst + 1);
    for (int n = kFirst; n <= kLast; ++n) {
        out.push_back(1000.0 * std::pow(10.0, n / 80.0));
    }
    return out;
}

} // namespace quilo
