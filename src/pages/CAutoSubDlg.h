#pragma once

#include "pages/SwitchedLevelWindow.h"

namespace quilo {

// Automatic subwoofer decay: while a microphone is heard the subwoofer drops to the
// chosen share of its level.
class CAutoSubDlg : public SwitchedLevelWindow {
    Q_OBJECT
public:
    static constexpr int kTemplate = 410;

    CAutoSubDlg(PageContext& context, QWidget* parent = nullptr);

private:
    bool isOn() const override;
    void setOn(bool on) override;
    int levelPosition() const override;
    QString levelText() const override;
    void setLevel(int position) override;
};

} // namespace quilo
