#include "cli/ArgParse.h"
#include "cli/Commands.h"
#include "cli/FileProblem.h"
#include "dsp/ResponseFrequencies.h"
#include "model/ModeFile.h"
#include "room/SystemResponse.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quilo::cli {

namespace {

// Highest frequency a response is asked at: half the processor's rate.
constexpr double kMaxResponseHz = kSampleRate / 2.0;

std::vector<std::string_view> commaList(std::string_view text) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            return parts;
        }
        start = comma + 1;
    }
}

// "1,3,5": outputs 1-8, each once; counted from 0 in the result.
std::optional<std::vector<int>> parseOutputs(std::string_view text) {
    std::vector<int> outputs;
    for (std::string_view part : commaList(text)) {
        const auto n = parseInteger(part);
        if (!n || *n < 1 || *n > kOutputChannels) {
            return std::nullopt;
        }
        const int k = static_cast<int>(*n) - 1;
        if (std::find(outputs.begin(), outputs.end(), k) != outputs.end()) {
            return std::nullopt;
        }
        outputs.push_back(k);
    }
    return outputs;
}

std::optional<std::vector<double>> parseFrequencies(std::string_view text) {
    std::vector<double> freqs;
    for (std::string_view part : commaList(text)) {
        const auto f = parseNumber(part);
        if (!f || !(*f > 0.0) || *f > kMaxResponseHz) {
            return std::nullopt;
        }
        freqs.push_back(*f);
    }
    return freqs;
}

} // namespace

// response FILE OUTPUTS [--listener] [--freqs F1,F2,...]
int runResponse(Args args) {
    std::optional<std::string_view> file;
    std::optional<std::vector<int>> outputs;
    std::vector<double> freqs = twentyFourthOctaveFrequencies();
    bool atListener = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (a == "--listener") {
            atListener = true;
        } else if (a == "--freqs") {
            if (i + 1 == args.size()) {
                return usageError("response: --freqs needs F1,F2,... in Hz");
            }
            auto parsed = parseFrequencies(args[++i]);
            if (!parsed) {
                return usageError("response: --freqs takes frequencies above 0 and up to 24000 Hz "
                                  "separated by commas, got '" +
                                  std::string(args[i]) + "'");
            }
            freqs = std::move(*parsed);
        } else if (a.starts_with("--")) {
            return usageError("response: unknown option '" + std::string(a) + "'");
        } else if (!file) {
            file = a;
        } else if (!outputs) {
            outputs = parseOutputs(a);
            if (!outputs) {
                return usageError("response: OUTPUTS is a comma list of outputs 1-8, each once, "
                                  "got '" +
                                  std::string(a) + "'");
            }
        } else {
            return usageError("response takes one FILE and one OUTPUTS list");
        }
    }
    if (!file || !outputs) {
        return usageError("response needs FILE OUTPUTS [--listener] [--freqs F1,F2,...]");
    }

    const auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    const ModeFileResult r = readModeFile(std::string(*file), *image);
    if (!r.ok()) {
        return failure(modeFileProblem(r, std::string(*file)));
    }

    const SystemResponse system = computeSystemResponse(*image, freqs);
    for (const int k : *outputs) {
        if (system.chains[static_cast<std::size_t>(k)].delayNotModelled) {
            std::cerr << "quiloctl: output " << k + 1
                      << ": its high-frequency delay is not modelled\n";
        }
    }
    if (atListener) {
        for (const int k : outputsWithoutSpeaker(system, *outputs)) {
            std::cerr << "quiloctl: output " << k + 1
                      << " has no loudspeaker on the room layout and is left out\n";
        }
    }
    const std::vector<ResponsePoint> sum =
        atListener ? listenerSum(system, *outputs) : plainSum(system, *outputs);
    for (std::size_t i = 0; i < sum.size(); ++i) {
        const ResponseReading v = readResponse(sum[i]);
        std::printf("%.6g %.6g %.6g %.6g\n", freqs[i], v.magnitudeDb, v.phaseDeg, v.groupDelayMs);
    }
    return 0;
}

} // namespace quilo::cli
