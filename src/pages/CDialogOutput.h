#pragma once

#include "pages/OutputChannelEdits.h"
#include "ui/Page.h"

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

namespace quilo {

class ChannelEqSection;
class ChannelPicture;
class CompressorSliders;
class CXBmpSlider;
class OutputChannelRow;
class PageContext;
class WheelForwarder;

// The output page: one output channel at a time with its mix levels, equaliser and
// crossover, delay and compressor, and for all eight channels their mute, phase, position
// and link. Edits that follow the link go to the current channel and every linked one, in
// channel order; linking CH 1, CH 3 or CH 7 to its partner first offers to make the pair
// equal.
class CDialogOutput : public Page {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 385;

    // Control ids.
    static constexpr std::array<int, 4> kLevelSliderIds = {1041, 1042, 1043, 1044};
    static constexpr std::array<int, 4> kLevelValueIds = {1127, 1128, 1129, 1130};
    static constexpr std::array<int, 4> kLevelNameIds = {1123, 1124, 1125, 1126};
    static constexpr std::array<int, 8> kMuteIds = {1045, 1047, 1048, 1049, 1050, 1051, 1052, 1053};
    static constexpr int kFirstPhaseId = 1054;    // ... 1061
    static constexpr int kFirstPositionId = 1217; // ... 1224
    static constexpr std::array<int, 8> kLinkedIds = {1062, 1063, 1064, 1065,
                                                      1066, 1067, 1068, 1080};
    static constexpr int kPositionTipId = 1132; // the table's text for the position boxes
    static constexpr int kDelaySwitchId = 1293;
    static constexpr int kHfDelayRadioId = 1190;
    static constexpr int kChannelDelayRadioId = 1191;
    static constexpr int kHfBandSliderId = 1014;
    static constexpr int kHfBandLabelId = 1008;
    static constexpr int kDelaySliderId = 1019;
    static constexpr int kDelayLabelId = 1038;
    static constexpr int kCompSwitchId = 1081;
    // Threshold, ratio, attack, release.
    static constexpr std::array<int, 4> kCompSliderIds = {1015, 1016, 1017, 1018};
    static constexpr std::array<int, 4> kCompValueIds = {1225, 1226, 1227, 1228};
    static constexpr std::array<int, 4> kCompNameIds = {1005, 1007, 1006, 1002};

    // The page for channel `channel` (0-7).
    CDialogOutput(PageContext& context, int channel, QWidget* parent = nullptr);
    ~CDialogOutput() override;

    // --- Page
    PageKind kind() const override { return PageKind::Output; }
    int templateId() const override { return kTemplateId; }
    void refreshFromImage() override;
    void applyLanguage(int language) override;
    void reselect() override;
    bool hasEqualiser() const override { return true; }
    bool eqSwitch() const override;
    void toggleEqSwitch() override;
    void resetCurrentEq() override;
    void numberKey(int number) override;

    int currentChannel() const { return m_channel; }
    // Edits the channel from now on, and tells the page area it is the one to come back to.
    void selectChannel(int channel);
    // The current channel and every linked one, in channel order.
    std::vector<int> linkedSet() const;

    // Handlers of the controls, run by their notifications.
    void onSliderChanged(int ctrlId, int position);
    void onLinkedToggled(int channel, bool checked);

    // Controls, for tests.
    OutputChannelRow& channelRow() { return *m_row; }
    ChannelEqSection& eqSection() { return *m_eq; }
    ChannelPicture& picture() { return *m_picture; }
    CXBmpSlider& slider(int ctrlId);
    QLabel& label(int ctrlId);
    QCheckBox& muteBox(int channel) { return *m_mute.at(channel); }
    QCheckBox& phaseBox(int channel) { return *m_phase.at(channel); }
    QComboBox& positionBox(int channel) { return *m_position.at(channel); }
    QCheckBox& linkedBox(int channel) { return *m_linked.at(channel); }
    QCheckBox& delaySwitch() { return *m_delaySwitch; }
    QRadioButton& hfDelayRadio() { return *m_hfRadio; }
    QRadioButton& channelDelayRadio() { return *m_channelRadio; }
    QCheckBox& compressorSwitch() { return *m_compSwitch; }

private:
    QWidget* buildLevels();
    QWidget* buildChannelColumns();
    QWidget* buildDelayGroup();
    QWidget* buildCompressorGroup();
    CXBmpSlider* makeSlider(int ctrlId, int minimum, int maximum, QWidget* parent);
    QLabel* makeLabel(int ctrlId, const QString& text, QWidget* parent);
    // A read-out right of its slider.
    QLabel* makeValueLabel(int ctrlId, const QString& text, QWidget* parent);

    void fillPositionBoxes();
    void refreshLevels();
    void refreshColumns();
    void refreshCompressor();
    void refreshDelay();
    void applyDelayEnabling();

    void onLevelMoved(int index, int position);
    void onDelayMode(int mode);

    PageContext& m_context;
    OutputChannelEdits m_edits;
    int m_channel = 0;
    int m_language = 0;

    OutputChannelRow* m_row = nullptr;
    ChannelPicture* m_picture = nullptr;
    std::array<CXBmpSlider*, 4> m_levelSliders{};
    std::array<QLabel*, 4> m_levelValues{};
    std::array<QCheckBox*, 8> m_mute{};
    std::array<QCheckBox*, 8> m_phase{};
    std::array<QComboBox*, 8> m_position{};
    std::array<QCheckBox*, 8> m_linked{};
    QCheckBox* m_delaySwitch = nullptr;
    QRadioButton* m_hfRadio = nullptr;
    QRadioButton* m_channelRadio = nullptr;
    CXBmpSlider* m_hfBand = nullptr;
    QLabel* m_hfBandLabel = nullptr;
    CXBmpSlider* m_delay = nullptr;
    QLabel* m_delayLabel = nullptr;
    QCheckBox* m_compSwitch = nullptr;
    CompressorSliders* m_comp = nullptr;
    ChannelEqSection* m_eq = nullptr;
    WheelForwarder* m_wheel = nullptr;
};

} // namespace quilo
