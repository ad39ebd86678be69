#pragma once

#include "ui/ControlTag.h"
#include "ui/PageContext.h"
#include "ui/ToolWindow.h"

class QCheckBox;
class QLabel;

namespace quilo {

class CXBmpSlider;
class WheelForwarder;

// What the small tool windows of the pages share: the context they work from, the dialog
// look, Enter and Esc closing the window (which destroys it), centring when it is shown,
// and the controls they are built of, each tagged with its "ctrlId" so the window's
// language table labels it. A wheel over the window goes to the focused slider.
class ContextToolWindow : public ToolWindow {
    Q_OBJECT
public:
    ContextToolWindow(PageContext& context, int templateId, QWidget* parent);
    ~ContextToolWindow() override;

    int templateId() const override { return m_templateId; }

    // A control of the window by its id; it must exist.
    template <typename T> T& control(int ctrlId) const {
        return *findChild<T*>(QStringLiteral("ctrl%1").arg(ctrlId));
    }

    // Both close the window: it is a modeless tool, not a question.
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    // Closing is final (the window is destroyed), not a dialog's rejection.
    void closeEvent(QCloseEvent* event) override;

    // A page-style slider over `minimum`…`maximum`, reported through sliderMoved.
    CXBmpSlider* makeSlider(QWidget* parent, int ctrlId, int minimum, int maximum);
    QLabel* makeText(QWidget* parent, int ctrlId, const QString& text = {});
    // A check box reported through boxToggled.
    QCheckBox* makeCheck(QWidget* parent, int ctrlId, const QString& text);

    // A slider moved by the user, a check box clicked by the user.
    virtual void sliderMoved(int /*ctrlId*/, int /*position*/) {}
    virtual void boxToggled(int /*ctrlId*/, bool /*checked*/) {}

    PageContext& m_context;

private:
    int m_templateId;
    WheelForwarder* m_wheel;
};

} // namespace quilo
