#include "app/SpeakerPresets.h"

#include "model/Presets.h"

namespace quilo {

QStringList speakerPresetNames(int language) {
    QStringList names;
    for (int i = 0; i < presetCount(); ++i) {
        names << QString::fromStdString(presetName(i, language));
    }
    return names;
}

std::vector<std::uint8_t> speakerPresetFile(int entry) {
    if (entry >= 0 && entry < presetCount()) {
        const auto bytes = presetModeFile(entry);
        return {bytes.begin(), bytes.end()};
    }
    return {};
}

} // namespace quilo
