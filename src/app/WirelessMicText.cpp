#include "app/WirelessMicText.h"

#include <cstdio>

namespace quilo {

const char* barString(int bars) {
    static constexpr const char* kBars[] = {"_________", "■_______", "■■______",
                                            "■■■____",   "■■■■__",   "■■■■■"};
    return kBars[bars < 0 ? 0 : (bars > 5 ? 5 : bars)];
}

int rfBars(std::uint8_t rf) {
    int bars = 0;
    for (int limit : {150, 170, 190, 210, 230}) {
        bars += rf > limit ? 1 : 0;
    }
    return bars;
}

int afBars(std::uint8_t af) {
    int bars = 0;
    for (int least : {1, 4, 7, 10, 13}) {
        bars += af >= least ? 1 : 0;
    }
    return bars;
}

int batteryBars(std::uint8_t battery) {
    const int v = 8 * battery;
    int bars = 0;
    for (int limit : {1330, 1408, 1524, 1562, 1610}) {
        bars += v > limit ? 1 : 0;
    }
    return bars;
}

std::string frequencyText(std::uint8_t channel) {
    int k = 0;
    if (channel <= 12) {
        k = channel;
    } else if (channel <= 76) {
        k = channel + 1;
    } else if (channel <= 100) {
        k = channel + 2;
    } else if (channel <= 199) {
        k = channel + 5;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2fMHz", 665.25 + 0.5 * k);
    return text;
}

WirelessMicLines wirelessMicLines(const LiveStatusBytes& status, int mic, int language) {
    const std::size_t base = mic == 0 ? 8 : 12;
    WirelessMicLines lines;
    lines.rfAf = std::string("RF:") + barString(rfBars(status[base])) +
                 " AF:" + barString(afBars(status[base + 1]));
    const bool english = language == 1;
    lines.frequency = (english ? "Freq:" : "频率:") + frequencyText(status[base + 2]);
    lines.battery =
        std::string(english ? "Battary: " : "电   量:") + barString(batteryBars(status[base + 3]));
    return lines;
}

std::vector<std::string> everyWirelessMicLine(int language) {
    std::vector<std::string> lines;
    LiveStatusBytes status{};
    // One byte value for each bar count of RF and AF, paired every way.
    for (std::uint8_t rf : {0, 151, 171, 191, 211, 231}) {
        for (std::uint8_t af : {0, 1, 4, 7, 10, 13}) {
            status[8] = rf;
            status[9] = af;
            lines.push_back(wirelessMicLines(status, 0, language).rfAf);
        }
    }
    for (int v = 0; v < 256; ++v) {
        status[10] = status[11] = static_cast<std::uint8_t>(v);
        const WirelessMicLines l = wirelessMicLines(status, 0, language);
        lines.push_back(l.frequency);
        lines.push_back(l.battery);
    }
    return lines;
}

} // namespace quilo
