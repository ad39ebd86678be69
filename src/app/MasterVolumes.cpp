// The master volumes, pitch and noise gate on the ribbon, and the mutes.
#include "app/Application.h"
#include "app/MainView.h"
#include "app/RibbonBar.h"
#include "app/Texts.h"

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

void CVORNEXv13View::onSliderChanged(int id, int) {
    for (int s = 0; s < kSliderCount; ++s) {
        if (id == kSliderIds[s][0] || id == kSliderIds[s][1]) {
            volumeChanged(static_cast<Slider>(s));
            return;
        }
    }
}

int CVORNEXv13View::volumeLimit(Slider which) const {
    const auto& applied = m_app.image().machine.applied;
    int limit = 99;
    if (which == Slider::Mic) {
        limit = applied[machine::kMaxMicVolume];
    } else if (which == Slider::Music) {
        limit = applied[machine::kMaxMusicVolume];
    }
    // 0 is no maximum the processor would use (its range is 1-99): the settings
    // have not been read, so nothing is limited.
    return limit <= 0 || limit > 99 ? 99 : limit;
}

QString CVORNEXv13View::volumeLabel(Slider which, int value) const {
    const int lang = m_app.language();
    if (which == Slider::Pitch) {
        return text::kPitchTitle.pick(lang) + QString::asprintf("%+-d", value);
    }
    const BiText* label = labelOf(which);
    const int width = which == Slider::Gate && lang == kEnglish ? 7 : 3;
    return label->pick(lang) + QString::asprintf("%*d", width, value);
}

void CVORNEXv13View::volumeChanged(Slider which) {
    const int lang = m_app.language();
    int d = m_ribbon.sliderValue(which, m_ribbon.activeCategory());
    if (which == Slider::Mic || which == Slider::Music) {
        const int limit = volumeLimit(which);
        if (d > limit) {
            m_app.showNotice(
                (which == Slider::Mic ? text::kMicOverMax : text::kMusicOverMax).pick(lang));
            d = limit;
        }
    }
    m_ribbon.setSliderPair(which, d);
    m_app.setters().set(fieldOf(which), d);
    if (which == Slider::Pitch) {
        m_ribbon.setPitchTitle(volumeLabel(which, d));
    } else {
        m_ribbon.setLabelPair(which, volumeLabel(which, d));
    }
    if (const auto mute = muteFor(which); mute != nullptr && m_app.image().params.*mute != 0) {
        m_app.showNotice(text::kVolIsMute.pick(lang));
    }
}

void CVORNEXv13View::toggleMute(Mute which) {
    DspParams& p = m_app.image().params;
    const auto field = muteFieldOf(which);
    const int muted = p.*field != 0 ? 0 : 1;
    m_app.setters().set(field, muted);
    m_ribbon.setMutePair(which, muted != 0);
}

void CVORNEXv13View::stepVolume(Slider which, bool up, bool leftCtrl) {
    const int field = m_app.image().params.*fieldOf(which);
    const int step = leftCtrl ? 1 : (field < 50 ? 5 : 2);
    const int category = m_ribbon.activeCategory();
    const int from = m_ribbon.sliderValue(which, category);
    const int to = std::clamp(from + (up ? step : -step), 0, 99);
    m_ribbon.setSliderPair(which, to);
    volumeChanged(which);
}

void CVORNEXv13View::refreshMasterControls() {
    const DspParams& p = m_app.image().params;
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
    m_ribbon.setMutePair(Mute::Mic, p.micMute != 0);
    m_ribbon.setMutePair(Mute::Reverb, p.reverbMute != 0);
    m_ribbon.setMutePair(Mute::Echo, p.echoMute != 0);
    m_ribbon.setMutePair(Mute::Music, p.musicMute != 0);
}

} // namespace quilo
