#pragma once

#include "ui/Page.h"

#include <QTimer>

#include <array>

class QLabel;

namespace quilo {

class CGdipButton;
class ChannelEqSection;
class CPeakMeterCtrl;
class CSmallEqPanel;
class CXBmpSlider;
class EffectParamList;
class MicInputStrip;
class PageContext;

// The page of the signal sources: the microphone inputs (mic channel, noise gate, volume,
// level), the music input's levels and stream format, the echo and reverb parameters of mic
// channel A or B with previews of their equalisers, and the full equaliser of mic channel A,
// mic channel B or music. Every change is stored in the image and sent at once.
class CDialogMusic : public Page {
    Q_OBJECT

public:
    static constexpr int kTemplate = 313;
    // Page channels.
    enum Channel { kMicA, kMicB, kMusic, kChannelCount };
    static constexpr int kMeterPeriodMs = 300;

    CDialogMusic(PageContext& context, QWidget* parent = nullptr);
    ~CDialogMusic() override;

    // --- Page
    PageKind kind() const override { return PageKind::MusicMic; }
    int templateId() const override { return kTemplate; }
    void refreshFromImage() override;
    void applyLanguage(int language) override;
    // The "Input" category chosen again: mic channel A.
    void reselect() override;
    bool hasEqualiser() const override { return true; }
    bool eqSwitch() const override;
    void toggleEqSwitch() override;
    void resetCurrentEq() override;
    void numberKey(int number) override;

    int pageChannel() const { return m_channel; }
    // Stores the channel where the page area remembers it and shows it.
    void selectPageChannel(int channel);
    int selectedRow() const { return m_row; }
    // A click on a row of the parameter list.
    void selectRow(int row);
    // The parameter slider moved (by the user, or by a wheel step over the list).
    void onParamSliderChanged(int position);
    void onWheelStep(int step);
    // A click on a preview: the effects equaliser page for the shown set.
    void openPreview(bool reverb);
    // One tick of the 300 ms timer: the six meters and the stream format from the status.
    void meterTick();

    // Controls, for tests.
    ChannelEqSection& eqSection() { return *m_section; }
    MicInputStrip& input(int k) { return *m_inputs[static_cast<std::size_t>(k)]; }
    EffectParamList& paramList() { return *m_paramList; }
    CXBmpSlider& paramSlider() { return *m_paramSlider; }
    QLabel& paramCaption() { return *m_paramCaption; }
    QLabel& paramValue() { return *m_paramValue; }
    CSmallEqPanel& preview(bool reverb) { return reverb ? *m_reverbPreview : *m_echoPreview; }
    CGdipButton& channelButton(int channel) {
        return *m_channelButtons[static_cast<std::size_t>(channel)];
    }
    CPeakMeterCtrl& musicMeter(int side) { return *m_musicMeters[static_cast<std::size_t>(side)]; }
    QLabel& streamFormat() { return *m_streamFormat; }
    const QTimer& meterTimer() const { return m_meterTimer; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildInputs();
    QWidget* buildMusicGroup();
    QWidget* buildParameters();
    QWidget* buildPreviews();
    QWidget* buildChannelButtons();
    int eqId() const;
    // Set A for mic channel A, set B otherwise.
    int paramSet() const { return m_channel == kMicA ? 0 : 1; }
    void showChannel();
    void showParamValues();
    void showSelectedRow();
    void loadPreviews();
    void storeParam(int row, int value);

    PageContext& m_context;
    int m_channel = kMicA;
    int m_row = 0;
    int m_language = 0;

    ChannelEqSection* m_section = nullptr;
    std::array<MicInputStrip*, 4> m_inputs{};
    std::array<CPeakMeterCtrl*, 2> m_musicMeters{};
    QLabel* m_streamFormat = nullptr;
    EffectParamList* m_paramList = nullptr;
    CXBmpSlider* m_paramSlider = nullptr;
    QLabel* m_paramCaption = nullptr;
    QLabel* m_paramValue = nullptr;
    CSmallEqPanel* m_reverbPreview = nullptr;
    CSmallEqPanel* m_echoPreview = nullptr;
    std::array<CGdipButton*, kChannelCount> m_channelButtons{};
    QTimer m_meterTimer;
};

} // namespace quilo
