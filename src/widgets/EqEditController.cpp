#include "widgets/EqEditController.h"

#include "dsp/EqPlotGeometry.h"

#include <algorithm>
#include <cmath>

namespace quilo {

namespace {

bool carriesGain(int type) {
    return type == Peaking || type == LowShelf || type == HighShelf;
}

bool isPlainPassOrShelf(int type) {
    return type >= LowPass && type <= HighShelf;
}

// Frequency step of the arrow keys, finer towards the bottom of the range.
float frequencyKeyStep(float freqHz, bool fine) {
    float step = 2.0f;
    if (freqHz > 10000.0f)
        step = 100.0f;
    else if (freqHz > 1000.0f)
        step = 10.0f;
    else if (freqHz > 100.0f)
        step = 5.0f;
    return fine ? step + 1.0f : step;
}

} // namespace

int EqEditController::findBand(double x, double y, double radius, bool includeOff,
                               bool last) const {
    int found = -1;
    for (int b = 0; b < m_bands.reachableCount(); ++b) {
        const EqBandState& s = m_bands.band(b);
        if (!includeOff && s.filterType == Off)
            continue;
        if (std::fabs(x - s.handleX) < radius && std::fabs(y - s.handleY) < radius) {
            found = b;
            if (!last)
                break;
        }
    }
    return found;
}

bool EqEditController::leftPress(double x, double y, bool rightHeld) {
    if (m_inputLocked || rightHeld || m_rightDrag)
        return false;
    m_pressX = x;
    m_pressY = y;
    m_leftDrag = true;
    m_moved = false;
    m_selected = -1;
    m_bands.updateHandles();
    const int hit = findBand(x, y, kLeftHitRadius, false, false);
    if (hit >= 0) {
        m_selected = hit;
        m_grabX = x - m_bands.band(hit).handleX;
        m_grabY = y - m_bands.band(hit).handleY;
        m_listener.onBandChanged(hit);
    }
    return true;
}

bool EqEditController::rightPress(double x, double y, bool leftHeld) {
    if (m_inputLocked || leftHeld || m_leftDrag)
        return false;
    m_pressX = x;
    m_pressY = y;
    m_lastX = x;
    m_rightDrag = true;
    m_moved = false;
    m_selected = -1;
    m_bands.updateHandles();
    // Bands that are switched off are found too, so the type menu can switch them on.
    const int hit = findBand(x, y, kRightHitRadius, true, false);
    if (hit >= 0) {
        m_selected = hit;
        m_listener.onBandChanged(hit);
    }
    return true;
}

void EqEditController::move(double x, double y) {
    const bool held = m_leftDrag || m_rightDrag;
    if (!held) {
        m_bands.updateHandles();
        m_hover = findBand(x, y, kRightHitRadius, false, true);
        return;
    }
    if (!hasSelection())
        return;
    if (!m_moved)
        m_moved = std::fabs(x - m_pressX) > 1.0 || std::fabs(y - m_pressY) > 1.0;
    if (!m_moved)
        return;
    if (m_leftDrag)
        dragLeft(x, y);
    else
        dragRight(x);
}

void EqEditController::dragLeft(double x, double y) {
    EqBandState& s = m_bands.band(m_selected);
    const EqPlotGeometry geometry{static_cast<double>(m_bands.plotWidth()),
                                  static_cast<double>(m_bands.plotHeight())};
    // The frequency follows the pointer itself; only the gain keeps the grab offset.
    const double freq = geometry.frequencyAtX(x);
    const double gain = carriesGain(s.filterType) ? geometry.gainAtY(y - m_grabY) : 0.0;
    s.gain = std::clamp(static_cast<float>(gain), s.gainMin, s.gainMax);
    s.frequency = std::clamp(wholeHertz(static_cast<float>(freq)), s.freqMin, s.freqMax);
    m_bands.computeBandCurve(m_selected);
    m_listener.onBandChanged(m_selected);
}

void EqEditController::dragRight(double x) {
    EqBandState& s = m_bands.band(m_selected);
    const bool coarse = isPlainPassOrShelf(s.filterType);
    const double divisor = coarse ? 80.0 : 12.0;
    const float upper = coarse ? 2.0f : 30.0f;
    const float q = s.q + static_cast<float>((x - m_lastX) / divisor);
    m_lastX = x;
    s.q = std::clamp(q, 0.1f, upper);
    m_bands.computeBandCurve(m_selected);
    m_listener.onBandChanged(m_selected);
}

void EqEditController::leftRelease() {
    if (!m_leftDrag)
        return;
    m_leftDrag = false;
    if (!hasSelection())
        m_listener.onBackgroundClicked();
    else if (m_moved)
        m_listener.onBandChanged(m_selected);
}

EqMenu EqEditController::rightRelease() {
    if (!m_rightDrag)
        return EqMenu::None;
    m_rightDrag = false;
    if (!hasSelection())
        return EqMenu::CopyPaste;
    m_listener.onBandChanged(m_selected);
    return m_moved ? EqMenu::None : EqMenu::BandType;
}

bool EqEditController::wheel(int delta) {
    if (!hasSelection() || delta == 0)
        return false;
    EqBandState& s = m_bands.band(m_selected);
    if (!carriesGain(s.filterType))
        return false;
    const float g = s.gain + (delta > 0 ? 0.1f : -0.1f);
    s.gain = std::clamp(g, s.gainMin, s.gainMax);
    m_bands.computeBandCurve(m_selected);
    m_listener.onBandChanged(m_selected);
    return true;
}

void EqEditController::key(EqKey key, int digit, bool fine) {
    if (!hasSelection() || key == EqKey::Other)
        return;
    const int reachable = m_bands.reachableCount();
    if (key == EqKey::Digit) {
        const int b = digit == 0 ? EqBandSet::kCrossoverSlot : digit - 1;
        if (digit >= 0 && digit <= 9 && m_bands.isReachable(b)) {
            m_selected = b;
            m_listener.onBandPicked(b);
        }
        return;
    }
    if (reachable == 0)
        return;
    EqBandState* s = &m_bands.band(m_selected);
    const int type = s->filterType;
    switch (key) {
    case EqKey::PageUp:
        m_selected = std::clamp(m_selected - 1, 0, reachable - 1);
        break;
    case EqKey::PageDown:
        m_selected = std::min(reachable - 1, m_selected + 1);
        break;
    case EqKey::End:
        m_selected = reachable - 1;
        break;
    case EqKey::Home:
        m_selected = 0;
        break;
    case EqKey::Left:
        s->frequency -= frequencyKeyStep(s->frequency, fine);
        break;
    case EqKey::Right:
        s->frequency += frequencyKeyStep(s->frequency, fine);
        break;
    case EqKey::Up:
    case EqKey::Down:
        if (carriesGain(type)) {
            const float step = fine ? 0.1f : 0.2f;
            s->gain += key == EqKey::Up ? step : -step;
        }
        break;
    case EqKey::QUp:
        s->q += fine ? 0.01f : 0.1f;
        break;
    case EqKey::QDown:
        s->q -= fine ? 0.01f : 0.1f;
        break;
    case EqKey::Comma:
        if (!m_bands.isCrossoverSlot(m_selected) && type >= LowPass && type <= HighShelf)
            m_bands.setBandType(m_selected, type - 1);
        break;
    case EqKey::Period:
        if (!m_bands.isCrossoverSlot(m_selected) && type >= Peaking && type <= LowShelf)
            m_bands.setBandType(m_selected, type + 1);
        break;
    default:
        break;
    }
    finishKey();
}

void EqEditController::finishKey() {
    EqBandState& s = m_bands.band(m_selected);
    s.gain = std::clamp(s.gain, s.gainMin, s.gainMax);
    s.q = std::clamp(s.q, 0.1f, isPlainPassOrShelf(s.filterType) ? 2.0f : 30.0f);
    s.frequency = std::clamp(s.frequency, s.freqMin, s.freqMax);
    m_bands.computeBandCurve(m_selected);
    m_listener.onBandChanged(m_selected);
}

void EqEditController::menuCommand(int command) {
    if (command == kEqCmdCopy || command == kEqCmdPaste) {
        m_listener.onCopyPasteRequest(command == kEqCmdCopy ? 0 : 1, m_bands.panelId());
        return;
    }
    const int type = command - kEqCmdTypeBase;
    if (type < Peaking || type > HighShelf || !hasSelection())
        return;
    m_bands.applyMenuType(m_selected, type);
    m_listener.onBandChanged(m_selected);
}

} // namespace quilo
