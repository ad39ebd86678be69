#include "cli/ArgParse.h"
#include "cli/Commands.h"
#include "device/RecordingSink.h"
#include "device/ReportHex.h"
#include "model/BandOps.h"
#include "model/DeviceImage.h"
#include "model/DspFields.h"
#include "model/FieldSetters.h"

#include <iostream>
#include <memory>
#include <string>

namespace quilo::cli {

namespace {

// roomGain[i] takes one of the eight outputs.
constexpr int kRoomGainOutputs = 8;

struct FieldRef {
    std::string name;
    std::optional<long> index;
};

// "name" or "name[i]".
std::optional<FieldRef> parseFieldRef(std::string_view text) {
    const auto open = text.find('[');
    if (open == std::string_view::npos) {
        return FieldRef{std::string(text), std::nullopt};
    }
    if (text.back() != ']' || open == 0) {
        return std::nullopt;
    }
    const auto index = parseInteger(text.substr(open + 1, text.size() - open - 2));
    if (!index) {
        return std::nullopt;
    }
    return FieldRef{std::string(text.substr(0, open)), index};
}

void printReports(const RecordingSink& sink) {
    for (const Report& r : sink.reports()) {
        std::cout << formatReportHex(r) << '\n';
    }
}

// Image and sink of one command run: defaults first, as on a fresh start.
struct Session {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    RecordingSink sink;
    Session() { image->resetToDefaults(); }
};

} // namespace

// send FIELD VALUE: the reports a field setter sends, one per line.
int runSend(Args args) {
    if (args.size() != 2) {
        return usageError("send needs FIELD VALUE");
    }
    const auto ref = parseFieldRef(args[0]);
    if (!ref) {
        return usageError("send: malformed field '" + std::string(args[0]) + "'");
    }
    const auto value = parseNumber(args[1]);
    if (!value) {
        return usageError("send: VALUE must be a number, got '" + std::string(args[1]) + "'");
    }

    Session s;
    FieldSetters setters(*s.image, s.sink);
    if (ref->name == "micBoost" && !ref->index) {
        setters.setMicBoost(static_cast<float>(-*value));
    } else if (ref->name == "roomGain") {
        if (!ref->index || *ref->index < 0 || *ref->index >= kRoomGainOutputs) {
            return usageError("send: roomGain needs an output index 0-7, as roomGain[i]");
        }
        setters.setRoomGain(static_cast<int>(*ref->index), static_cast<float>(*value));
    } else {
        const DspFieldInfo* field = findDspField(ref->name);
        if (!field) {
            return usageError("send: unknown field '" + ref->name + "'");
        }
        if (field->count > 1 && !ref->index) {
            return usageError("send: " + ref->name + " is an array; name an element as " +
                              ref->name + "[i]");
        }
        if (field->count == 1 && ref->index) {
            return usageError("send: " + ref->name + " is not an array");
        }
        const long index = ref->index.value_or(0);
        if (index < 0 || index >= static_cast<long>(field->count)) {
            return usageError("send: index of " + ref->name + " must be 0-" +
                              std::to_string(field->count - 1));
        }
        setters.setWord(field->firstWord + static_cast<std::size_t>(index), *value);
    }
    printReports(s.sink);
    return 0;
}

// __fields: every FIELD send takes, one per line, for shell completion.
int runFieldNames(Args args) {
    if (!args.empty()) {
        return usageError("__fields takes no arguments");
    }
    for (const DspFieldInfo& field : dspFields()) {
        if (field.count == 1) {
            std::cout << field.name << '\n';
            continue;
        }
        for (std::size_t i = 0; i < field.count; ++i) {
            std::cout << field.name << '[' << i << "]\n";
        }
    }
    std::cout << "micBoost\n";
    for (int i = 0; i < kRoomGainOutputs; ++i) {
        std::cout << "roomGain[" << i << "]\n";
    }
    return 0;
}

// band EQID BAND TYPE GAIN_DB FREQ_HZ Q: the reports of one applied band.
int runBand(Args args) {
    if (args.size() != 6) {
        return usageError("band needs EQID BAND TYPE GAIN_DB FREQ_HZ Q");
    }
    const auto eqId = parseInteger(args[0]);
    const auto band = parseInteger(args[1]);
    const auto type = parseInteger(args[2]);
    if (!eqId || *eqId < 0 || *eqId >= kEqCount) {
        return usageError("band: EQID must be 0-14, got '" + std::string(args[0]) + "'");
    }
    const int maxBand = *eqId >= kFirstOutputEqId ? 14 : eqBandCount(int(*eqId)) - 1;
    if (!band || *band < 0 || *band > maxBand) {
        return usageError("band: BAND of equaliser " + std::to_string(*eqId) + " must be 0-" +
                          std::to_string(maxBand) + ", got '" + std::string(args[1]) + "'");
    }
    if (!type || *type < 0 || *type > 255) {
        return usageError("band: TYPE must be 0-255, got '" + std::string(args[2]) + "'");
    }
    const auto gain = parseNumber(args[3]);
    const auto freq = parseNumber(args[4]);
    const auto q = parseNumber(args[5]);
    if (!gain || !freq || !q) {
        return usageError("band: GAIN_DB, FREQ_HZ and Q must be numbers");
    }
    Session s;
    BandOps bands(*s.image, s.sink);
    bands.applyBand(int(*eqId), int(*band), int(*type), float(*gain), float(*freq), float(*q));
    printReports(s.sink);
    return 0;
}

} // namespace quilo::cli
