#include "cli/ArgParse.h"
#include "cli/Commands.h"
#include "dsp/Biquad.h"

#include <array>
#include <cstdio>
#include <string>

namespace quilo::cli {

// biquad TYPE GAIN_DB FREQ_HZ Q [EXTRA_DB]: the five coefficients at 48 kHz.
int runBiquad(Args args) {
    if (args.size() < 4 || args.size() > 5) {
        return usageError("biquad needs TYPE GAIN_DB FREQ_HZ Q [EXTRA_DB]");
    }
    const auto type = parseInteger(args[0]);
    if (!type || *type < -2147483647L || *type > 2147483647L) {
        return usageError("biquad: TYPE must be a whole number, got '" + std::string(args[0]) +
                          "'");
    }
    static constexpr std::array<const char*, 4> kNames{"GAIN_DB", "FREQ_HZ", "Q", "EXTRA_DB"};
    std::array<double, 4> v{0.0, 0.0, 0.0, 0.0};
    for (std::size_t i = 1; i < args.size(); ++i) {
        const auto n = parseNumber(args[i]);
        if (!n) {
            return usageError(std::string("biquad: ") + kNames[i - 1] + " must be a number, got '" +
                              std::string(args[i]) + "'");
        }
        v[i - 1] = *n;
    }
    const BiquadCoefficients c =
        designBiquad(static_cast<int>(*type), v[0], v[1], v[2], v[3], kSampleRate);
    std::printf("%.17g %.17g %.17g %.17g %.17g\n", c.b0, c.b1, c.b2, c.a1, c.a2);
    return 0;
}

} // namespace quilo::cli
