#pragma once

#include "pages/ContextToolWindow.h"

#include <array>

class QButtonGroup;
class QRadioButton;

namespace quilo {

// Input source window: which music input the processor plays, and the gain of each input.
class CDialogMusicInput : public ContextToolWindow {
    Q_OBJECT
public:
    static constexpr int kTemplate = 512;

    // One music input: its radio, what choosing it selects, its gain slider, field and text.
    struct Input {
        int radio;
        const char* name;
        int musicSource;
        int hdmi; // 0-3 for the HDMI inputs, -1 for the others
        int slider;
        std::int32_t DspParams::*gain;
        int text;
        bool shown;
    };
    // In the window's order, top to bottom; the two AUX inputs stay hidden.
    static const std::array<Input, 8> kInputs;

    CDialogMusicInput(PageContext& context, QWidget* parent = nullptr);

    void refreshFromImage() override;
    void applyLanguage(int /*language*/) override {}

private:
    void sliderMoved(int ctrlId, int position) override;
    void choose(const Input& input);

    QButtonGroup* m_radios;
};

} // namespace quilo
