#include "cli/ArgParse.h"
#include "cli/Commands.h"
#include "device/RecordingSink.h"
#include "device/ReportHex.h"
#include "model/DeviceImage.h"
#include "room/RoomEditor.h"

#include <array>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace quilo::cli {

namespace {

constexpr std::size_t kRoomArgs = 4 + 2 * kSpeakerCount;

// Argument names for the messages: W L LX LY X1 Y1 ... X8 Y8.
std::string argName(std::size_t i) {
    static constexpr std::array<const char*, 4> kFirst{"W", "L", "LX", "LY"};
    if (i < kFirst.size()) {
        return kFirst[i];
    }
    const std::size_t k = (i - kFirst.size()) / 2 + 1;
    return ((i - kFirst.size()) % 2 == 0 ? "X" : "Y") + std::to_string(k);
}

} // namespace

// room W L LX LY X1 Y1 ... X8 Y8: the layout block and each loudspeaker's distance
// and correction, entered as the room page's boxes take them.
int runRoom(Args args) {
    if (args.size() != kRoomArgs) {
        return usageError("room needs W L LX LY X1 Y1 ... X8 Y8 (room size in whole metres, then "
                          "the listener and eight loudspeaker positions in metres)");
    }
    std::array<long, 2> size{};
    for (std::size_t i = 0; i < size.size(); ++i) {
        const auto n = parseInteger(args[i]);
        if (!n) {
            return usageError("room: " + argName(i) + " must be a whole number of metres, got '" +
                              std::string(args[i]) + "'");
        }
        size[i] = *n;
    }
    std::array<double, 2 * RoomLayout::kEntries> position{};
    for (std::size_t i = 0; i < position.size(); ++i) {
        const auto n = parseNumber(args[i + 2]);
        if (!n) {
            return usageError("room: " + argName(i + 2) + " must be a number, got '" +
                              std::string(args[i + 2]) + "'");
        }
        position[i] = *n;
    }

    // The room first, so the positions are held within the room as entered.
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    RecordingSink sink;
    RoomEditor editor(*image, sink);
    editor.setRoomSize(size[0], size[1]);
    for (int entry = 0; entry < RoomLayout::kEntries; ++entry) {
        const auto at = static_cast<std::size_t>(2 * entry);
        editor.editPosition(entry, position[at], position[at + 1]);
    }

    std::cout << formatHexBytes(image->roomLayout) << '\n';
    for (int k = 0; k < kSpeakerCount; ++k) {
        const SpeakerCorrection c = speakerCorrection(editor.layout(), k);
        std::printf("%d %.9g %.9g\n", k, static_cast<double>(c.distanceM),
                    static_cast<double>(c.gainDb));
    }
    return 0;
}

} // namespace quilo::cli
