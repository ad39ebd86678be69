#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;

namespace quilo {

struct DeviceInfo;

// The About box (template 100): icon, program name and build date; with a
// processor its firmware lines. The model line and the "Peak" box (the status
// poll switch) appear after Ctrl+Shift+F11 is released in the box.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 100;

    // `info` is read only while `connected`; `peak` shows and `setPeak` sets the switch.
    AboutBox(QWidget* parent, int language, const DeviceInfo* info, bool connected, bool peak,
             std::function<void(bool)> setPeak);

    QLabel* modelLine() const { return m_model; }
    QLabel* mcuLine() const { return m_mcu; }
    QLabel* dspLine() const { return m_dsp; }
    QCheckBox* peakBox() const { return m_peak; }

protected:
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QLabel* m_model;
    QLabel* m_mcu;
    QLabel* m_dsp;
    QCheckBox* m_peak;
};

} // namespace quilo
