#include "smarthome/StepText.h"

#include "smarthome/PlugKeyFile.h"
#include "smarthome/PlugRecord.h"

#include <array>
#include <cstdio>

namespace quilo {

namespace {

struct Names {
    const char* zh;
    const char* en;
    const char* pick(int language) const { return language == 1 ? en : zh; }
};

constexpr std::array<Names, kSceneCount> kSceneNames{{
    {"电视", "TV"},
    {"电影", "Movie"},
    {"K歌", "Karaoke"},
    {"音乐", "Music"},
    {"开机", "PowerON"},
    {"关机", "PowerOFF"},
}};

constexpr Names kSeconds{"秒", "s"};
constexpr Names kOff{"关", "OFF"};
constexpr Names kOn{"开", "ON"};
constexpr const char* kRemoteKey = "遥控键:"; // the same in both languages

std::string format(const char* pattern, auto... args) {
    char text[32];
    std::snprintf(text, sizeof text, pattern, args...);
    return text;
}

} // namespace

std::string stepText(int node, int value, int language, const PlugKeyFile& keys) {
    if (node == kDelayStep) {
        return format("%d%s", value, kSeconds.pick(language));
    }
    if (value == kPlugOff) {
        return kOff.pick(language);
    }
    if (value == kPlugOn) {
        return kOn.pick(language);
    }
    if (value >= kEmitKeyValue && value < kLearnKeyValue) {
        return kRemoteKey + keys.keyName(node, value - kEmitKeyValue);
    }
    if (value >= 1 && value <= 98) {
        // Single precision, as the level has always been shown.
        const float percent = static_cast<float>(value) / 99.0f * 100.0f;
        return format("%.0f", static_cast<double>(percent));
    }
    return format("%d", value);
}

std::string sceneName(int scene, int language) {
    if (scene < 0 || scene >= kSceneCount) {
        return {};
    }
    return kSceneNames[static_cast<std::size_t>(scene)].pick(language);
}

} // namespace quilo
