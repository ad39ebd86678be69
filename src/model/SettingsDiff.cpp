#include "model/SettingsDiff.h"

#include "model/DecimalText.h"
#include "model/ImageDiff.h"

#include <array>

namespace quilo {

namespace {

struct PageRule {
    std::string_view name;
    bool wholeName; // otherwise a prefix
    SettingsPage page;
};

// First match wins; whatever matches none belongs to the music and microphone
// page. Band records go by their module instead.
constexpr std::array<PageRule, 27> kPageRules{{
    {"outLevel", true, SettingsPage::Room},
    {"out", false, SettingsPage::Output},
    {"roomGain", true, SettingsPage::Room},
    {"roomLayout", true, SettingsPage::Room},
    {"micBoost", false, SettingsPage::Features},
    {"boostLpf", false, SettingsPage::Features},
    {"subDecay", false, SettingsPage::Features},
    {"musicAgc", false, SettingsPage::Features},
    {"musicComp", false, SettingsPage::Features},
    {"musicGainExtra", true, SettingsPage::None},
    {"musicGain", false, SettingsPage::InputSource},
    {"musicSource", true, SettingsPage::InputSource},
    {"hdmiSelect", true, SettingsPage::InputSource},
    {"reserved", false, SettingsPage::None},
    {"echoEqSwitch", false, SettingsPage::Effects},
    {"reverbEqSwitch", false, SettingsPage::Effects},
    {"micVolume", true, SettingsPage::MainControls},
    {"effectVolume", true, SettingsPage::MainControls},
    {"echoVolume", true, SettingsPage::MainControls},
    {"reverbVolume", true, SettingsPage::MainControls},
    {"musicVolume", true, SettingsPage::MainControls},
    {"micMute", true, SettingsPage::MainControls},
    {"echoMute", true, SettingsPage::MainControls},
    {"reverbMute", true, SettingsPage::MainControls},
    {"musicMute", true, SettingsPage::MainControls},
    {"musicPitch", true, SettingsPage::MainControls},
    {"musicGate", true, SettingsPage::MainControls},
}};

SettingsPage pageOfBandModule(long module) {
    switch (module) {
    case 1: // mic channels A and B
    case 4: // music
        return SettingsPage::MusicAndMicrophone;
    case 2: // echo
    case 3: // reverb
        return SettingsPage::Effects;
    case 15: // music low-pass boost
        return SettingsPage::Features;
    default:
        return module >= 5 && module <= 12 ? SettingsPage::Output : SettingsPage::None;
    }
}

} // namespace

SettingsPage settingsPageOf(std::string_view fieldName) {
    const std::size_t open = fieldName.find('[');
    const std::string_view base = fieldName.substr(0, open);
    if (base == "band") {
        const std::string_view index =
            open == std::string_view::npos ? std::string_view{} : fieldName.substr(open + 1);
        const auto module = parseWholeNumber(index.substr(0, index.find(',')));
        return pageOfBandModule(module.value_or(0));
    }
    for (const PageRule& rule : kPageRules) {
        if (rule.wholeName ? base == rule.name : base.starts_with(rule.name)) {
            return rule.page;
        }
    }
    return SettingsPage::MusicAndMicrophone;
}

std::vector<FieldDifference> settingsDifferences(const DeviceImage& first,
                                                 const DeviceImage& second) {
    const std::vector<FieldValue> a = modeFieldValues(first);
    const std::vector<FieldValue> b = modeFieldValues(second);
    std::vector<FieldDifference> out;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i].stored != b[i].stored) {
            out.push_back({a[i].name, a[i].value, b[i].value, settingsPageOf(a[i].name)});
        }
    }
    return out;
}

std::string differenceLine(const FieldDifference& d) {
    return d.name + ": " + d.before + " -> " + d.after;
}

std::string_view englishPageName(SettingsPage page) {
    switch (page) {
    case SettingsPage::MainControls:
        return "Main controls";
    case SettingsPage::MusicAndMicrophone:
        return "Music and microphone";
    case SettingsPage::Effects:
        return "Effects";
    case SettingsPage::Output:
        return "Output";
    case SettingsPage::InputSource:
        return "Input source";
    case SettingsPage::Features:
        return "Features";
    case SettingsPage::Room:
        return "Room";
    case SettingsPage::None:
        return "Not on a page";
    }
    return {};
}

} // namespace quilo
