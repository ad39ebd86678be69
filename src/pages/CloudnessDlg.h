#pragma once

#include "pages/ContextToolWindow.h"

#include <QTimer>

#include <array>

namespace quilo {

// Features window: microphone boost, the music low-frequency path, the automatic subwoofer
// decay and the music compressor. Every control stores its field and sends it at once.
class CloudnessDlg : public ContextToolWindow {
    Q_OBJECT
public:
    static constexpr int kTemplate = 515;
    // Hidden text that shows the music level of the live status.
    static constexpr int kMusicLevelText = 1232;

    // A slider: where it sits, its range, the value the image holds in slider units, the
    // text of a value, and how a position is stored and sent.
    struct Knob {
        int group;
        int caption;
        int slider;
        int text;
        int minimum;
        int maximum;
        double (*stored)(PageContext& context);
        QString (*format)(double value);
        void (*store)(PageContext& context, int position);
    };
    // A check box: its group, the state the image holds, and how a state is stored.
    struct Switch {
        int group;
        int box;
        const char* name;
        bool (*stored)(PageContext& context);
        void (*store)(PageContext& context, bool on);
    };
    static const std::array<Knob, 10> kKnobs;
    static const std::array<Switch, 4> kSwitches;

    CloudnessDlg(PageContext& context, QWidget* parent = nullptr);

    void refreshFromImage() override;
    void applyLanguage(int /*language*/) override {}

private:
    void sliderMoved(int ctrlId, int position) override;
    void boxToggled(int ctrlId, bool checked) override;
    void showMusicLevel();

    QTimer m_levelTimer;
};

} // namespace quilo
