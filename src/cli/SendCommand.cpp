#include "cli/ArgParse.h"
#include "cli/Commands.h"
#include "cli/FieldArgs.h"
#include "connection/NamedField.h"
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
    std::string problem;
    const auto parsed = parseFieldArgs("send", args, problem);
    if (!parsed) {
        return usageError(problem);
    }

    Session s;
    FieldSetters setters(*s.image, s.sink);
    if (problem = setNamedField(setters, parsed->field, parsed->value); !problem.empty()) {
        return usageError("send: " + problem);
    }
    printReports(s.sink);
    return 0;
}

// __fields: every FIELD send takes, one per line, for shell completion.
int runFieldNames(Args args) {
    if (!args.empty()) {
        return usageError("__fields takes no arguments");
    }
    for (const std::string& name : settableFieldNames()) {
        std::cout << name << '\n';
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
