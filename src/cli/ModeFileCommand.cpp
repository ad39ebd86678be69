#include "cli/CommandFiles.h"
#include "cli/Commands.h"
#include "cli/FileProblem.h"
#include "cli/JsonText.h"
#include "model/ImageDiff.h"
#include "model/ModeFile.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace quilo::cli {

namespace {

// One JSON value of a printed field: a number, a string, or for a band record
// the array of its four parts.
std::string jsonValue(std::string_view text) {
    const auto scalar = [](std::string_view part) {
        return isJsonNumber(part) ? std::string(part) : jsonString(part);
    };
    if (text.find(',') == std::string_view::npos) {
        return scalar(text);
    }
    std::string out = "[";
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        out += scalar(text.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            break;
        }
        out += ',';
        start = comma + 1;
    }
    return out + ']';
}

void printJson(std::uint32_t version, const std::vector<std::string>& lines) {
    std::cout << "{\"version\":" << version;
    for (const std::string& line : lines) {
        const std::size_t eq = line.find('=');
        const std::string_view view(line);
        std::cout << ",\n"
                  << jsonString(view.substr(0, eq)) << ':' << jsonValue(view.substr(eq + 1));
    }
    std::cout << "}\n";
}

// modefile dump FILE [--json]
int dump(Args args) {
    bool json = false;
    std::optional<std::string_view> file;
    for (std::string_view a : args) {
        if (a == "--json") {
            json = true;
        } else if (!file) {
            file = a;
        } else {
            return usageError("modefile dump takes one FILE");
        }
    }
    if (!file) {
        return usageError("modefile dump needs FILE [--json]");
    }
    const auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    const ModeFileResult r = readModeInput(std::string(*file), *image);
    if (!r.ok()) {
        return failure(modeFileProblem(r, std::string(*file)));
    }
    const std::vector<std::string> lines = modeFieldLines(*image);
    if (json) {
        printJson(r.version, lines);
        return 0;
    }
    std::cout << "version=" << r.version << '\n';
    for (const std::string& line : lines) {
        std::cout << line << '\n';
    }
    return 0;
}

// modefile convert IN OUT
int convert(Args args) {
    if (args.size() != 2) {
        return usageError("modefile convert needs IN OUT");
    }
    const std::string in(args[0]);
    const std::string out(args[1]);
    // What an older version lacks comes from the factory setting.
    const auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    ModeFileResult r = readModeInput(in, *image);
    if (!r.ok()) {
        return failure(modeFileProblem(r, in));
    }
    r = writeModeOutput(out, *image);
    if (!r.ok()) {
        return failure(modeFileProblem(r, out));
    }
    return 0;
}

} // namespace

int runModeFile(Args args) {
    if (args.empty()) {
        return usageError("modefile needs dump FILE [--json] or convert IN OUT");
    }
    if (args[0] == "dump") {
        return dump(args.subspan(1));
    }
    if (args[0] == "convert") {
        return convert(args.subspan(1));
    }
    return usageError("modefile: unknown action '" + std::string(args[0]) + "' (dump or convert)");
}

} // namespace quilo::cli
