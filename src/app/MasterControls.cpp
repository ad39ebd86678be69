#include "app/MasterControls.h"

#include "app/CMyMFCRibbonBar.h"
#include "connection/RemoteFields.h"
#include "model/FieldSetters.h"
#include "ui/Language.h"
#include "ui/Prompter.h"
#include "ui/Texts.h"

#include <algorithm>

namespace quilo {

using namespace ribbon;

namespace {

std::int32_t DspParams::*fieldOf(Slider which) {
    switch (which) {
    case Slider::Mic:
        return &DspParams::micVolume;
    case Slider::Effect:
        return &DspParams::effectVolume;
    case Slider::Reverb:
        return &DspParams::reverbVolume;
    case Slider::Echo:
        return &DspParams::echoVolume;
    case Slider::Music:
        return &DspParams::musicVolume;
    case Slider::Gate:
        return &DspParams::musicGate;
    case Slider::Pitch:
        return &DspParams::musicPitch;
    }
    return &DspParams::micVolume;
}

std::int32_t DspParams::*muteFieldOf(Mute which) {
    switch (which) {
    case Mute::Mic:
        return &DspParams::micMute;
    case Mute::Reverb:
        return &DspParams::reverbMute;
    case Mute::Echo:
        return &DspParams::echoMute;
    case Mute::Music:
        return &DspParams::musicMute;
    }
    return &DspParams::micMute;
}

// The mute that silences a volume slider, if any.
const std::int32_t DspParams::*muteFor(Slider which) {
    switch (which) {
    case Slider::Mic:
        return &DspParams::micMute;
    case Slider::Reverb:
        return &DspParams::reverbMute;
    case Slider::Echo:
        return &DspParams::echoMute;
    case Slider::Music:
        return &DspParams::musicMute;
    default:
        return nullptr;
    }
}

const BiText* labelOf(Slider which) {
    switch (which) {
    case Slider::Mic:
        return &text::kMicVolLabel;
    case Slider::Effect:
        return &text::kEffectVolLabel;
    case Slider::Reverb:
        return &text::kReverbVolLabel;
    case Slider::Echo:
        return &text::kEchoVolLabel;
    case Slider::Music:
        return &text::kMusicVolLabel;
    case Slider::Gate:
        return &text::kGateLabel;
    default:
        return nullptr;
    }
}

} // namespace

MasterControls::MasterControls(DeviceImage& image, FieldSetters& setters, CMyMFCRibbonBar& ribbon,
                               Language& language, Prompter& prompter)
    : m_image(image), m_setters(setters), m_ribbon(ribbon), m_language(language),
      m_prompter(prompter) {}

int MasterControls::volumeLimit(Slider which) const {
    return masterVolumeLimit(m_image.machine, fieldOf(which));
}

QString MasterControls::volumeLabel(Slider which, int value) const {
    const int lang = m_language.index();
    if (which == Slider::Pitch) {
        return text::kPitchTitle.pick(lang) + QString::asprintf("%+-d", value);
    }
    const BiText* label = labelOf(which);
    const int width = which == Slider::Gate && lang == kEnglish ? 7 : 3;
    return label->pick(lang) + QString::asprintf("%*d", width, value);
}

void MasterControls::moveVolume(Slider which, int value) {
    const int lang = m_language.index();
    int d = value;
    if (which == Slider::Mic || which == Slider::Music) {
        const int limit = volumeLimit(which);
        if (d > limit) {
            m_prompter.notice(
                (which == Slider::Mic ? text::kMicOverMax : text::kMusicOverMax).pick(lang));
            d = limit;
        }
    }
    m_ribbon.setSliderPair(which, d);
    m_setters.set(fieldOf(which), d);
    if (which == Slider::Pitch) {
        m_ribbon.setPitchTitle(volumeLabel(which, d));
    } else {
        m_ribbon.setLabelPair(which, volumeLabel(which, d));
    }
    if (const auto mute = muteFor(which); mute != nullptr && m_image.params.*mute != 0) {
        m_prompter.notice(text::kVolIsMute.pick(lang));
    }
}

void MasterControls::toggleMute(Mute which) {
    DspParams& p = m_image.params;
    const auto field = muteFieldOf(which);
    const int muted = p.*field != 0 ? 0 : 1;
    m_setters.set(field, muted);
    m_ribbon.setMutePair(which, muted != 0);
}

void MasterControls::stepVolume(Slider which, bool up, bool leftCtrl) {
    const int from = m_image.params.*fieldOf(which);
    const int step = leftCtrl ? 1 : (from < 50 ? 5 : 2);
    moveVolume(which, std::clamp(from + (up ? step : -step), 0, 99));
}

void MasterControls::refresh() {
    const DspParams& p = m_image.params;
    m_ribbon.setSliderRange(Slider::Pitch, -5, 5);
    for (int s = 0; s < kSliderCount; ++s) {
        const auto which = static_cast<Slider>(s);
        const int v = p.*fieldOf(which);
        m_ribbon.setSliderPair(which, v);
        if (which == Slider::Pitch) {
            m_ribbon.setPitchTitle(volumeLabel(which, v));
        } else {
            m_ribbon.setLabelPair(which, volumeLabel(which, v));
        }
    }
    showMutes();
}

void MasterControls::showMutes() {
    for (int m = 0; m < kMuteCount; ++m) {
        const auto which = static_cast<Mute>(m);
        m_ribbon.setMutePair(which, m_image.params.*muteFieldOf(which) != 0);
    }
}

} // namespace quilo
