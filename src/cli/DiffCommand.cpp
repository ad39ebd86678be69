#include "cli/CommandFiles.h"
#include "cli/Commands.h"
#include "cli/FileProblem.h"
#include "cli/OwnerRoute.h"
#include "cli/ProcessorSession.h"
#include "model/ModeFile.h"
#include "model/SettingsDiff.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>

namespace quilo::cli {

namespace {

// diff's own status for "could not compare", apart from 1 for "they differ".
constexpr int kDiffTrouble = 3;

int trouble(const std::string& problem) {
    failure(problem);
    return kDiffTrouble;
}

// A read-back by the owner into a file in a private folder of ours, read into `image`.
std::string pullThroughOwner(OwnerClient& owner, DeviceImage& image) {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/quiloctl-diff-XXXXXX";
    if (mkdtemp(folder.data()) == nullptr) {
        return "cannot make a temporary folder: " + std::string(std::strerror(errno));
    }
    const std::filesystem::path file = std::filesystem::path(folder) / "processor.quilo";
    std::string problem;
    if (const OwnerClient::Reply r = owner.pull(std::filesystem::absolute(file).string());
        !r.ok()) {
        problem = r.errorText;
    } else if (const ModeFileResult read = readModeFile(file, image); !read.ok()) {
        problem = modeFileProblem(read, file);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return problem;
}

} // namespace

// diff A [B]: every field that differs between two mode files, or between the
// processor and A, as "name: first -> second".
int runDiff(Args args, const GlobalOptions& options) {
    if (args.empty() || args.size() > 2) {
        return usageError("diff needs A [B]");
    }
    const std::string fileA(args[0]);
    // Both sides over the factory setting, as `modefile dump` reads a file.
    const auto a = std::make_unique<DeviceImage>();
    a->resetToDefaults();
    if (const ModeFileResult r = readModeInput(fileA, *a); !r.ok()) {
        return trouble(modeFileProblem(r, fileA));
    }
    std::vector<FieldDifference> differences;
    if (args.size() == 2) {
        const std::string fileB(args[1]);
        const auto b = std::make_unique<DeviceImage>();
        b->resetToDefaults();
        if (const ModeFileResult r = readModeInput(fileB, *b); !r.ok()) {
            return trouble(modeFileProblem(r, fileB));
        }
        differences = settingsDifferences(*a, *b);
    } else if (auto owner = ownerOfProcessor(options)) {
        // The owner reads the processor back into a file of ours.
        const auto held = std::make_unique<DeviceImage>();
        held->resetToDefaults();
        if (std::string problem = pullThroughOwner(*owner, *held); !problem.empty()) {
            return trouble(problem);
        }
        differences = settingsDifferences(*held, *a);
    } else {
        // What pushing A would change: the processor's values on the left.
        ProcessorSession session(options);
        if (std::string problem = session.readBack(); !problem.empty()) {
            return trouble(problem);
        }
        differences = settingsDifferences(session.image(), *a);
    }
    for (const FieldDifference& d : differences) {
        std::cout << differenceLine(d) << '\n';
    }
    return differences.empty() ? 0 : 1;
}

} // namespace quilo::cli
