#pragma once

#include "model/DeviceImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quilo {

// The three status lines of one wireless microphone, from its four live-status
// bytes (RF level, AF level, frequency channel, battery). Texts are UTF-8.
struct WirelessMicLines {
    std::string rfAf;      // "RF:<bars> AF:<bars>"
    std::string frequency; // "频率:665.25MHz" / "Freq:665.25MHz"
    std::string battery;   // "电   量:<bars>" / "Battary: <bars>"
};

// Bar string of 0-5 bars.
const char* barString(int bars);

int rfBars(std::uint8_t rf);
int afBars(std::uint8_t af);
// Battery v = 8 * byte: above 1610 five bars, 1562 four, 1524 three, 1408 two,
// 1330 one, otherwise none.
int batteryBars(std::uint8_t battery);
// Channel 0-199 to MHz, e.g. "672.25MHz"; any higher channel shows the first.
std::string frequencyText(std::uint8_t channel);

// Microphone 0 uses status bytes 8-11, microphone 1 bytes 12-15.
WirelessMicLines wirelessMicLines(const LiveStatusBytes& status, int mic, int language);

// Every line the status can show in `language`, to size the panels once for all of them.
std::vector<std::string> everyWirelessMicLine(int language);

} // namespace quilo
