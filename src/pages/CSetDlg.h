#pragma once

#include "pages/ContextToolWindow.h"

#include <array>

class QComboBox;
class QPushButton;
class QRadioButton;

namespace quilo {

// Machine settings (F7): the volumes the processor starts with and their limits, whether
// volumes are kept per power cycle or per stored mode, the stored mode it starts in, and
// the resets of a stored mode and of the smart-plug data. The controls edit the image's
// edit copy of the settings, loaded from the applied copy; "Apply" sends it, Cancel and
// the close box drop it.
class CSetDlg : public ContextToolWindow {
    Q_OBJECT
public:
    static constexpr int kTemplate = 335;

    enum CtrlId {
        kMicStartSlider = 1014,
        kMusicStartSlider = 1015,
        kMicMaxSlider = 1016,
        kMusicMaxSlider = 1019,
        kMicStartCaption = 1005,
        kMusicStartCaption = 1002,
        kMicEnable = 1039,
        kMusicEnable = 1040,
        kMicStartText = 1145,
        kMusicStartText = 1146,
        kMicMaxText = 1147,
        kMusicMaxText = 1150,
        kByPower = 1190,
        kByMode = 1191,
        kPowerOnCombo = 1134,
        kLockPanel = 1046,
        kLockVolume = 1047,
        kLockMode = 1048,
        kClearPlugs = 1070,
        kApply = 1073,
        kCancel = 2,
        kResetMode1 = 32823, // .. 32826
    };

    CSetDlg(PageContext& context, QWidget* parent = nullptr);

    // Drops unsent edits and loads the controls from the applied copy.
    void refreshFromImage() override;
    void applyLanguage(int /*language*/) override;
    // F7 again brings the window forward with its unsent edits.
    void reopened() override {}

    // Copies the edits over the applied copy and sends them; without a processor nothing
    // is sent and the edits stay.
    void apply();
    // Returns stored mode `mode` (0-3) to its factory setting and reads everything back.
    void resetMode(int mode);
    // Clears the smart-plug data through the smart home's reset worker.
    void clearPlugData();

    QComboBox& powerOnCombo() { return *m_powerOn; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The start volume and its limit of the microphones or the music.
    struct Volume {
        std::size_t startByte;
        std::size_t maxByte;
        std::int32_t DspParams::*master;
        int startSlider;
        int startText;
        int startCaption;
        int enable;
        int maxSlider;
        int maxText;
    };
    static const std::array<Volume, 2> kVolumes;

    void sliderMoved(int ctrlId, int position) override;
    void boxToggled(int ctrlId, bool checked) override;
    void setStartVolume(const Volume& v, int position);
    void setMaxVolume(const Volume& v, int maximum);
    void setStartEnabled(const Volume& v, bool enabled);
    void showStart(const Volume& v);
    void showLocks();
    void showModeButtons();
    CXBmpSlider& slider(int ctrlId) const;
    QLabel& text(int ctrlId) const;
    QCheckBox& check(int ctrlId) const;

    QComboBox* m_powerOn = nullptr;
    int m_language = 0;
};

} // namespace quilo
