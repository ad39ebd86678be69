#include "app/SpeakerPresets.h"

#if __has_include("model/Presets.h")
#include "model/Presets.h"
#define QUILO_HAVE_PRESETS 1
#endif

namespace quilo {

QStringList speakerPresetNames(int language) {
    QStringList names;
#ifdef QUILO_HAVE_PRESETS
    for (int i = 0; i < presetCount(); ++i) {
        names << QString::fromStdString(presetName(i, language));
    }
#else
    (void)language;
#endif
    return names;
}

std::vector<std::uint8_t> speakerPresetFile(int entry) {
#ifdef QUILO_HAVE_PRESETS
    if (entry >= 0 && entry < presetCount()) {
        const auto bytes = presetModeFile(entry);
        return {bytes.begin(), bytes.end()};
    }
#else
    (void)entry;
#endif
    return {};
}

} // namespace quilo
