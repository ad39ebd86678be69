#pragma once

#include "pages/SwitchedLevelWindow.h"

namespace quilo {

// Music automatic level: the processor holds the music near a target level. The slider
// works in tenths of a dB of what the processor receives (-18.0…-6.0 dB); the user sees
// it 12 dB higher, as -6.0…+6.0 dB around the usual level.
class CAutoMusicVolDlg : public SwitchedLevelWindow {
    Q_OBJECT
public:
    static constexpr int kTemplate = 424;

    CAutoMusicVolDlg(PageContext& context, QWidget* parent = nullptr);

private:
    bool isOn() const override;
    void setOn(bool on) override;
    int levelPosition() const override;
    QString levelText() const override;
    void setLevel(int position) override;
};

} // namespace quilo
