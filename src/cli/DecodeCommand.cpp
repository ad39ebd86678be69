#include "cli/Commands.h"
#include "device/DeviceEvents.h"
#include "device/ReportHex.h"
#include "model/DeviceImage.h"
#include "model/ImageDiff.h"
#include "model/InboundDispatcher.h"

#include <iostream>
#include <memory>
#include <string>

namespace quilo::cli {

// decode HEX: one report from the processor applied to the factory image; prints
// every field it changed as name=value, sorted by name.
int runDecode(Args args) {
    if (args.empty()) {
        return usageError("decode needs a report as hex digits");
    }
    // The bytes may come as one argument or as several.
    std::string hex;
    for (std::string_view a : args) {
        hex += a;
        hex += ' ';
    }
    const auto report = parseReportHex(hex);
    if (!report) {
        return usageError(
            "decode: the report must be at most 61 bytes of hex digits, two per byte");
    }

    const auto before = std::make_unique<DeviceImage>();
    const auto after = std::make_unique<DeviceImage>();
    before->resetToDefaults();
    after->resetToDefaults();
    DeviceEvents nobody;
    InboundDispatcher(*after, nobody).handleReport(*report);
    for (const std::string& line : imageDifferences(*before, *after)) {
        std::cout << line << '\n';
    }
    return 0;
}

} // namespace quilo::cli
