#pragma once

#include "pages/ContextToolWindow.h"

namespace quilo {

// A tool window of one automatic function: its "ON" box, a level slider with its caption
// and value text, and an explanation line. Caption, value text and slider are usable only
// while the function is on. Subclasses say which fields they stand for.
class SwitchedLevelWindow : public ContextToolWindow {
    Q_OBJECT
public:
    enum CtrlId {
        kLevelSlider = 1000,
        kExplanation = 1005,
        kOnBox = 1045,
        kCaption = 1123,
        kValueText = 1127
    };

    void refreshFromImage() override;
    void applyLanguage(int /*language*/) override {}

    QCheckBox& onBox() { return *m_on; }
    CXBmpSlider& levelSlider() { return *m_slider; }
    QLabel& valueText() { return *m_value; }
    QLabel& caption() { return *m_caption; }

protected:
    SwitchedLevelWindow(PageContext& context, int templateId, int minimum, int maximum,
                        QWidget* parent);

    // The function's switch, and storing and sending it.
    virtual bool isOn() const = 0;
    virtual void setOn(bool on) = 0;
    // The slider position the stored level gives, and the text that shows it.
    virtual int levelPosition() const = 0;
    virtual QString levelText() const = 0;
    // Stores and sends the level of a slider position.
    virtual void setLevel(int position) = 0;

private:
    void sliderMoved(int ctrlId, int position) override;
    void boxToggled(int ctrlId, bool checked) override;
    void enableLevel(bool on);

    QCheckBox* m_on;
    QLabel* m_caption;
    CXBmpSlider* m_slider;
    QLabel* m_value;
};

} // namespace quilo
