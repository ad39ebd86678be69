#include "cli/ArgParse.h"
#include "cli/CommandFiles.h"
#include "cli/Commands.h"
#include "cli/FileProblem.h"
#include "cli/OwnerRoute.h"
#include "cli/ProcessorSession.h"
#include "device/RecordingSink.h"
#include "model/EqImport.h"
#include "model/ModeFile.h"

#include <array>
#include <iostream>
#include <memory>

namespace quilo::cli {

namespace {

std::optional<int> parseEqId(std::string_view text) {
    const auto id = parseInteger(text);
    if (!id || *id < 0 || *id >= kEqCount) {
        return std::nullopt;
    }
    return int(*id);
}

constexpr const char* kEqIdProblem = "EQID must be a whole number from 0 to 14 (0/1 mic channel "
                                     "A/B, 2/3 reverb A/B, 4/5 echo A/B, 6 music, 7-14 CH 1-8)";

// A mode file over the factory setting, as `modefile dump` reads it.
std::string readSetting(const std::string& file, DeviceImage& image) {
    image.resetToDefaults();
    return modeFileProblem(readModeInput(file, image), file);
}

// The filter text of TEXT, read and checked against the equaliser; the warnings
// go to standard error. Empty when it can be applied.
std::string readFilters(const std::string& textFile, int eqId, EqFilterText& parsed) {
    std::string text;
    if (std::string problem = readTextFile(textFile, text); !problem.empty()) {
        return problem;
    }
    parsed = parseEqFilterText(text);
    const std::array<int, 1> target{eqId};
    if (!parsed.refusal) {
        parsed.refusal = checkEqFilterFit(parsed, target);
    }
    if (parsed.refusal) {
        return textFile + ": " + englishText(*parsed.refusal) + "; nothing was changed";
    }
    for (const EqTextMessage& warning : parsed.warnings) {
        std::cerr << "quiloctl: " << textFile << ": " << englishText(warning) << '\n';
    }
    return {};
}

// eq export FILE EQID
int exportEq(Args args) {
    if (args.size() != 2) {
        return usageError("eq export needs FILE EQID");
    }
    const auto eqId = parseEqId(args[1]);
    if (!eqId) {
        return usageError(kEqIdProblem);
    }
    const std::string file(args[0]);
    const auto image = std::make_unique<DeviceImage>();
    if (std::string problem = readSetting(file, *image); !problem.empty()) {
        return failure(problem);
    }
    std::cout << exportEqFilterText(*image, *eqId);
    return 0;
}

// eq import FILE EQID TEXT [OUT]
int importEq(Args args) {
    if (args.size() != 3 && args.size() != 4) {
        return usageError("eq import needs FILE EQID TEXT [OUT]");
    }
    const auto eqId = parseEqId(args[1]);
    if (!eqId) {
        return usageError(kEqIdProblem);
    }
    const std::string file(args[0]);
    const std::string textFile(args[2]);
    const std::string out(args.size() == 4 ? args[3] : args[0]);
    const auto image = std::make_unique<DeviceImage>();
    if (std::string problem = readSetting(file, *image); !problem.empty()) {
        return failure(problem);
    }
    EqFilterText parsed;
    if (std::string problem = readFilters(textFile, *eqId, parsed); !problem.empty()) {
        return failure(problem);
    }
    RecordingSink unused;
    const std::array<int, 1> target{*eqId};
    applyEqFilters(parsed, target, *image, unused);
    const std::string problem = modeFileProblem(writeModeOutput(out, *image), out);
    return problem.empty() ? 0 : failure(problem);
}

// eq apply EQID TEXT: the filters go to the processor at once.
int applyEq(Args args, const GlobalOptions& options) {
    if (args.size() != 2) {
        return usageError("eq apply needs EQID TEXT");
    }
    const auto eqId = parseEqId(args[0]);
    if (!eqId) {
        return usageError(kEqIdProblem);
    }
    EqFilterText parsed;
    // A text that cannot be applied never reaches the processor.
    if (std::string problem = readFilters(std::string(args[1]), *eqId, parsed); !problem.empty()) {
        return failure(problem);
    }
    if (auto owner = ownerOfProcessor(options)) {
        std::string text;
        if (std::string problem = readTextFile(std::string(args[1]), text); !problem.empty()) {
            return failure(problem);
        }
        const OwnerClient::Reply r = owner->applyEq(*eqId, text);
        return r.ok() ? 0 : failure(r.errorText);
    }
    ProcessorSession session(options);
    if (std::string problem = session.connect(); !problem.empty()) {
        return session.finish(problem);
    }
    const std::array<int, 1> target{*eqId};
    applyEqFilters(parsed, target, session.image(), session.sink());
    return session.finish({});
}

} // namespace

int runEq(Args args, const GlobalOptions& options) {
    if (args.empty()) {
        return usageError("eq needs export FILE EQID, import FILE EQID TEXT [OUT] or apply EQID "
                          "TEXT");
    }
    const std::string_view action = args[0];
    if (action == "export") {
        return exportEq(args.subspan(1));
    }
    if (action == "import") {
        return importEq(args.subspan(1));
    }
    if (action == "apply") {
        return applyEq(args.subspan(1), options);
    }
    return usageError("eq: unknown action '" + std::string(action) + "' (export, import or apply)");
}

} // namespace quilo::cli
