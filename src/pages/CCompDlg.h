#pragma once

#include "model/CompressorControls.h"
#include "ui/Page.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;

namespace quilo {

class CCompressPanelPlus;
class CompressorSliders;
class CXBmpSlider;
class OutputChannelRow;
class PageContext;
class WheelForwarder;

// The compressor page: one output channel's compressor switch, threshold, ratio, attack
// and release, with the transfer curve beside them. Every change is stored and sent at
// once for the selected channel alone.
class CCompDlg : public Page {
    Q_OBJECT

public:
    enum CtrlId {
        kChannelList = 1134,
        kCompOn = 1045,
        kThreshold = 1014,
        kRatio = 1015,
        kAttack = 1016,
        kRelease = 1017,
        kThresholdText = 1038, // ... 1041 for the four sliders
        kPanel = 1125,
        kGroup = 1220,
    };

    CCompDlg(PageContext& context, QWidget* parent = nullptr);

    PageKind kind() const override { return PageKind::Compressor; }
    int templateId() const override { return 346; }
    void refreshFromImage() override;
    void applyLanguage(int language) override;

    // Loads channel 0-7 into the controls without sending anything.
    void selectChannel(int channel);
    int channel() const { return m_channel; }

    QComboBox& channelList() { return *m_channels; }
    QCheckBox& compOn() { return *m_on; }
    CXBmpSlider& slider(int ctrlId);
    QLabel& readout(int sliderCtrlId);
    CCompressPanelPlus& panel() { return *m_panel; }
    OutputChannelRow& channelRow() { return *m_row; }

private:
    void onCompressorChanged(const CompressorSettings& settings);
    void onCompOn(bool checked);

    PageContext& m_context;
    int m_channel = 0;
    OutputChannelRow* m_row = nullptr;
    QComboBox* m_channels = nullptr;
    QCheckBox* m_on = nullptr;
    CompressorSliders* m_sliders = nullptr;
    CCompressPanelPlus* m_panel = nullptr;
    WheelForwarder* m_wheel = nullptr;
};

} // namespace quilo
