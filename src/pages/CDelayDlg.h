#pragma once

#include "ui/Page.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace quilo {

class CDelayPanel;
class CXBmpSlider;
class OutputChannelRow;
class PageContext;
class SpinButtons;
class WheelForwarder;

// The delay page: for each of the eight output channels its delay switch, whole-channel or
// high-frequency delay with the split frequency, and the delay in an edit box with an
// up-down, beside a panel showing all eight delays as draggable markers. Every change is
// stored and sent at once for its own channel.
class CDelayDlg : public Page {
    Q_OBJECT

public:
    static constexpr int kChannels = 8;
    enum CtrlId {
        kFirstOnBox = 1293, // + k
        kFirstRadio = 1190, // High Freq 1190 + 2k, Channel 1191 + 2k
        kFirstEdit = 1038,  // + k
        kFirstSpin = 1242,  // + k
        kPanel = 1250,
    };
    static constexpr std::array<int, kChannels> kSliderIds{1014, 1015, 1016, 1017,
                                                           1018, 1019, 1022, 1023};
    static constexpr std::array<int, kChannels> kReadoutIds{1008, 1009, 1010, 1011,
                                                            1012, 1013, 1020, 1021};
    static constexpr std::array<int, kChannels> kLabelIds{1123, 1124, 1125, 1126,
                                                          1131, 1135, 1132, 1136};

    CDelayDlg(PageContext& context, QWidget* parent = nullptr);

    PageKind kind() const override { return PageKind::Delay; }
    int templateId() const override { return 333; }
    void refreshFromImage() override;
    void applyLanguage(int) override {}

    // Channel k's delay from any of its controls: held within 1.5-100 ms, shown in the
    // edit and on the panel, stored and sent when it differs from the stored one.
    void setDelay(int k, double ms);

    struct Row {
        QLabel* label = nullptr;
        QCheckBox* on = nullptr;
        QRadioButton* highFreq = nullptr;
        QRadioButton* channel = nullptr;
        QButtonGroup* mode = nullptr;
        CXBmpSlider* slider = nullptr;
        QLabel* readout = nullptr;
        QLineEdit* edit = nullptr;
        SpinButtons* spin = nullptr;
    };
    const Row& row(int k) const { return m_rows[static_cast<std::size_t>(k)]; }
    CDelayPanel& panel() { return *m_panel; }
    OutputChannelRow& channelRow() { return *m_row; }

private:
    QWidget* buildRows();
    void enableRow(int k);
    void onSwitch(int k, bool checked);
    void onMode(int k, int mode);
    void onSplit(int k, int index);
    void onEditEntered(int k);
    void onSpin(int k, int delta);
    void onLaneMoved(int k, float ms);

    PageContext& m_context;
    OutputChannelRow* m_row = nullptr;
    std::array<Row, kChannels> m_rows{};
    CDelayPanel* m_panel = nullptr;
    WheelForwarder* m_wheel = nullptr;
};

} // namespace quilo
