#pragma once

#include <array>

namespace quilo {

// Command and control ids of the ribbon, the application menu and the status
// bar. Every ribbon control exists in both categories: [0] "Input", [1] "Output".
namespace ribbon {

enum class Slider { Mic, Effect, Reverb, Echo, Music, Gate, Pitch };
constexpr int kSliderCount = 7;
enum class Mute { Mic, Reverb, Echo, Music };
constexpr int kMuteCount = 4;
// Labels of the five volumes and of the noise gate, in Slider order.
constexpr int kLabelCount = 6;

constexpr int kInput = 0;
constexpr int kOutput = 1;

using Pair = std::array<int, 2>;

constexpr std::array<Pair, kSliderCount> kSliderIds{{
    {32829, 32858}, // mic volume
    {32830, 32861}, // effect volume
    {32918, 32919}, // reverb volume
    {32806, 32864}, // echo volume
    {32831, 32867}, // music volume
    {32846, 32879}, // music noise gate
    {32841, 32880}, // music pitch
}};
constexpr std::array<Pair, kLabelCount> kLabelIds{{
    {32832, 32857},
    {32833, 32860},
    {32920, 32921},
    {32837, 32863},
    {32834, 32866},
    {32842, 32878},
}};
constexpr std::array<Pair, kMuteCount> kMuteIds{{
    {32847, 32859},
    {32848, 32862},
    {32849, 32865},
    {32850, 32868},
}};
constexpr Pair kLoadModeIds{32815, 32900};
constexpr Pair kLoadFileIds{32827, 32881};
constexpr Pair kSaveModeIds{32819, 32904};
constexpr Pair kSaveFileIds{32828, 32882};
// Status lines of wireless microphone [mic][line] per category.
constexpr std::array<std::array<std::array<int, 3>, 2>, 2> kStatusLineIds{{
    {{{32926, 32927, 32928}, {32929, 32930, 32931}}},
    {{{32932, 32933, 32934}, {32935, 32936, 32937}}},
}};

constexpr int kLoadMode1 = 32910; // .. 32913
constexpr int kSaveMode1 = 32914; // .. 32917

// Tab-row buttons.
constexpr int kFeatures = 32887;
constexpr int kMachineReset = 32811;
constexpr int kSmartPlug = 32771;
constexpr int kRemote = 32812;
constexpr int kPhoneRemote = 32940;
constexpr int kInputSource = 32922;
constexpr int kLanguage = 32805;
constexpr int kAbout = 57664;

// Tool windows opened from elsewhere.
constexpr int kSubDecay = 32883;
constexpr int kMusicAgc = 32908;

// Application menu.
constexpr int kOpen = 57601;
constexpr int kSave = 57603;
constexpr int kExit = 57665;
constexpr int kCompareFile = 32938;
constexpr int kRecordTrace = 32939;
constexpr int kHomeAutomation = 32941;

// Taking the last edit back and doing it again (tab-row buttons, Ctrl+Z, Ctrl+Shift+Z).
constexpr int kUndo = 57643;
constexpr int kRedo = 57644;

// Speaker presets.
constexpr int kPreset1 = 32000; // .. 32014
constexpr int kPresetCount = 15;

// Status bar.
constexpr int kPaneConnection = 120;
constexpr int kPaneMode = 121;
constexpr int kEqBypass = 1121;
constexpr int kEqReset = 1122;

} // namespace ribbon
} // namespace quilo
