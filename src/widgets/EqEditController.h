#pragma once

#include "dsp/EqBandSet.h"

namespace quilo {

// What the curve editor tells its host. Band notices carry the band index; the band
// itself is read from the EqBandSet.
class EqEditListener {
public:
    virtual ~EqEditListener() = default;
    virtual void onBandChanged(int band) = 0;
    virtual void onBackgroundClicked() = 0;
    // command 0 = copy, 1 = paste.
    virtual void onCopyPasteRequest(int command, int panelId) = 0;
    virtual void onBandPicked(int band) = 0;
};

// Menu the editor has to show after a right-button release.
enum class EqMenu { None, BandType, CopyPaste };

// Keys the editor reacts to, independent of any toolkit's key codes.
enum class EqKey {
    PageUp,
    PageDown,
    End,
    Home,
    Left,
    Right,
    Up,
    Down,
    QUp,
    QDown,
    Comma,
    Period,
    Digit,
    Other,
};

// Menu commands.
constexpr int kEqCmdCopy = 3025;
constexpr int kEqCmdPaste = 3026;
constexpr int kEqCmdTypeBase = 2024; // + type 1-5

// Mouse, wheel and key rules of the curve editor, in plot coordinates (pixels from the
// plot's top-left corner). The toolkit widget translates its events and shows the menus.
class EqEditController {
public:
    EqEditController(EqBandSet& bands, EqEditListener& listener)
        : m_bands(bands), m_listener(listener) {}

    int selectedBand() const { return m_selected; }
    // Host selection; anything that is not a slot means none.
    void setSelectedBand(int b) { m_selected = EqBandSet::isSlot(b) ? b : -1; }
    int hoverBand() const { return m_hover; }
    void clearHover() { m_hover = -1; }

    bool inputLocked() const { return m_inputLocked; }
    void setInputLocked(bool locked) { m_inputLocked = locked; }

    bool leftDragging() const { return m_leftDrag; }
    bool rightDragging() const { return m_rightDrag; }
    bool moved() const { return m_moved; }

    // Each returns false when the press is ignored (input locked, other button held).
    bool leftPress(double x, double y, bool rightHeld);
    bool rightPress(double x, double y, bool leftHeld);
    void move(double x, double y);
    void leftRelease();
    EqMenu rightRelease();
    // Returns whether the wheel step was used (a selected gain-bearing band).
    bool wheel(int delta);
    // Every key is consumed; digit is the number of a Digit key.
    void key(EqKey key, int digit = 0, bool fine = false);
    void menuCommand(int command);

    static constexpr double kLeftHitRadius = 10.0;
    static constexpr double kRightHitRadius = 16.0;

private:
    int findBand(double x, double y, double radius, bool includeOff, bool last) const;
    bool hasSelection() const { return EqBandSet::isSlot(m_selected); }
    void dragLeft(double x, double y);
    void dragRight(double x);
    void finishKey();

    EqBandSet& m_bands;
    EqEditListener& m_listener;
    bool m_inputLocked = false;
    int m_selected = -1;
    bool m_leftDrag = false;
    bool m_rightDrag = false;
    int m_hover = -1;
    double m_grabX = 0.0;
    double m_grabY = 0.0;
    double m_pressX = 0.0;
    double m_pressY = 0.0;
    double m_lastX = 0.0;
    bool m_moved = false;
};

} // namespace quilo
