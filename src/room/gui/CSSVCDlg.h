#pragma once

#include "room/RoomEditor.h"
#include "ui/Page.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quilo {

class CSSVolumePanel;
class CXBmpSlider;
class OutputChannelRow;
class PageContext;
class SpinButtons;
class WheelForwarder;

// The room layout page: room size, listener and loudspeaker positions on a floor plan and
// in edit boxes, the level correction each loudspeaker's distance earns for the output
// driving it, the time alignment of the loudspeakers, the eight output levels and the
// Locate switches. Every change goes through the room editor or the field setters.
class CSSVCDlg : public Page {
    Q_OBJECT

public:
    enum CtrlId {
        kWidthEdit = 1038,
        kLengthEdit = 1039,
        kWidthSpin = 1242,
        kLengthSpin = 1243,
        kModify = 1239,
        kCenter = 1238,
        kReset = 1216,
        kListenerX = 1230,
        kListenerY = 1049,
        kListenerXSpin = 1244,
        kListenerYSpin = 1245,
        kFirstSpeakerX = 1050, // X 1050 + 2k, Y 1051 + 2k
        kFirstSpeakerXSpin = 1246,
        kFirstLevel = 1041,      // + channel
        kFirstLevelLabel = 1123, // + channel
        kFirstLevelText = 1131,  // + channel
    };
    static constexpr std::array<int, 8> kSpeakerLabelIds{1011, 1012, 1013, 1022,
                                                         1023, 1017, 1018, 1019};
    static constexpr std::array<int, 8> kLocateIds{1231, 1232, 1233, 1234, 1235, 1236, 1240, 1241};

    CSSVCDlg(PageContext& context, QWidget* parent = nullptr);

    PageKind kind() const override { return PageKind::RoomLayout; }
    int templateId() const override { return 334; }
    void refreshFromImage() override;
    void applyLanguage(int language) override;

    // Entry 0 is the listener, k + 1 loudspeaker k.
    QLineEdit& xEdit(int entry) { return *m_entries[static_cast<std::size_t>(entry)].x; }
    QLineEdit& yEdit(int entry) { return *m_entries[static_cast<std::size_t>(entry)].y; }
    SpinButtons& xSpin(int entry) { return *m_entries[static_cast<std::size_t>(entry)].xSpin; }
    SpinButtons& ySpin(int entry) { return *m_entries[static_cast<std::size_t>(entry)].ySpin; }
    QLabel& distanceText(int speaker) { return *m_distance[static_cast<std::size_t>(speaker)]; }
    QLabel& arrivalText(int speaker) { return *m_arrival[static_cast<std::size_t>(speaker)]; }
    QLineEdit& widthEdit() { return *m_width; }
    QLineEdit& lengthEdit() { return *m_length; }
    SpinButtons& widthSpin() { return *m_widthSpin; }
    SpinButtons& lengthSpin() { return *m_lengthSpin; }
    CXBmpSlider& levelSlider(int channel) { return *m_levels[static_cast<std::size_t>(channel)]; }
    QLabel& levelLabel(int channel) { return *m_levelLabels[static_cast<std::size_t>(channel)]; }
    QCheckBox& locateBox(int channel) { return *m_locate[static_cast<std::size_t>(channel)]; }
    QPushButton& alignButton() { return *m_align; }
    CSSVolumePanel& plan() { return *m_plan; }
    const RoomEditor& editor() const { return m_editor; }
    OutputChannelRow& channelRow() { return *m_row; }

    // The actions of the buttons, for the view's commands and tests.
    void applyRoomSize();
    void center();
    void reset();
    void alignDelays();

private:
    struct EntryControls {
        QLineEdit* x = nullptr;
        QLineEdit* y = nullptr;
        SpinButtons* xSpin = nullptr;
        SpinButtons* ySpin = nullptr;
    };

    QWidget* buildPositions();
    QWidget* buildLevels();
    // The entry's boxes read, taken into the room and applied; after Enter the spins
    // follow too.
    void editPosition(int entry, bool setSpins);
    void stepPosition(int entry, bool xAxis, int delta);
    void stepRoomSize(bool widthAxis, int delta);
    // The plan picked or moved an entry.
    void placedOnPlan(int entry, RoomPoint metres);
    void showPosition(int entry, RoomPoint metres, bool setSpins);
    void showRoomSize();
    void showArrivals();
    void showLevelLabels();
    void onLevel(int channel, int position);
    void onLocate(int channel, bool ticked);

    PageContext& m_context;
    RoomEditor m_editor;
    int m_language = 0;
    OutputChannelRow* m_row = nullptr;
    std::array<EntryControls, RoomLayout::kEntries> m_entries{};
    std::array<QLabel*, 8> m_distance{};
    std::array<QLabel*, 8> m_arrival{};
    QLabel* m_distanceHeader = nullptr;
    QLabel* m_arrivalHeader = nullptr;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_length = nullptr;
    SpinButtons* m_widthSpin = nullptr;
    SpinButtons* m_lengthSpin = nullptr;
    QPushButton* m_align = nullptr;
    std::array<CXBmpSlider*, 8> m_levels{};
    std::array<QLabel*, 8> m_levelNames{};
    std::array<QLabel*, 8> m_levelLabels{};
    std::array<QLabel*, 8> m_levelTexts{};
    std::array<QCheckBox*, 8> m_locate{};
    CSSVolumePanel* m_plan = nullptr;
    WheelForwarder* m_wheel = nullptr;
};

} // namespace quilo
