#pragma once

#include <QWidget>

class QLabel;
class QRadioButton;

namespace quilo {

class CPeakMeterCtrl;
class CXBmpSlider;
class DeviceImage;
class FieldSetters;

// One microphone input of the music page: its caption, the "CH A" / "CH B" choice of the mic
// channel it feeds, its noise gate and volume sliders with their values, and its level meter.
// Every change is stored and sent at once.
class MicInputStrip : public QWidget {
    Q_OBJECT

public:
    static constexpr int kInputs = 4;

    // Input 0-3; its controls carry the ids of the page's template.
    MicInputStrip(int input, DeviceImage& image, FieldSetters& setters, QWidget* parent = nullptr);

    int input() const { return m_input; }
    void refreshFromImage();

    // The user's choices, as the controls make them.
    void chooseChannel(bool channelA);
    void onSliderChanged(int ctrlId, int position);

    QRadioButton& channelRadio(bool channelA) { return channelA ? *m_toA : *m_toB; }
    CXBmpSlider& gateSlider() { return *m_gate; }
    CXBmpSlider& volumeSlider() { return *m_volume; }
    QLabel& gateText() { return *m_gateText; }
    QLabel& volumeText() { return *m_volumeText; }
    CPeakMeterCtrl& meter() { return *m_meter; }

private:
    int m_input;
    DeviceImage& m_image;
    FieldSetters& m_setters;
    QRadioButton* m_toA = nullptr;
    QRadioButton* m_toB = nullptr;
    CXBmpSlider* m_gate = nullptr;
    CXBmpSlider* m_volume = nullptr;
    QLabel* m_gateText = nullptr;
    QLabel* m_volumeText = nullptr;
    CPeakMeterCtrl* m_meter = nullptr;
};

// The look of the music page's six level meters: one band of 15 LEDs, horizontal, decaying
// every 35 ms.
void setUpSourceMeter(CPeakMeterCtrl& meter);

} // namespace quilo
