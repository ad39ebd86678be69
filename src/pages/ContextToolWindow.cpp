#include "pages/ContextToolWindow.h"

#include "ui/DialogLook.h"
#include "ui/WheelForwarder.h"
#include "widgets/CXBmpSlider.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QShowEvent>

namespace quilo {

ContextToolWindow::ContextToolWindow(PageContext& context, int templateId, QWidget* parent)
    : ToolWindow(parent), m_context(context), m_templateId(templateId),
      m_wheel(new WheelForwarder(*this)) {
    applyDialogLook(this);
    setFont(cjkFont(12));
    setModal(false);
}

ContextToolWindow::~ContextToolWindow() = default;

void ContextToolWindow::accept() {
    close();
}

void ContextToolWindow::reject() {
    close();
}

void ContextToolWindow::closeEvent(QCloseEvent* event) {
    // QDialog would call reject() here, which closes again.
    QWidget::closeEvent(event);
}

void ContextToolWindow::showEvent(QShowEvent* event) {
    ToolWindow::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    adjustSize();
    const QWidget* over = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    if (over != nullptr && over->isVisible()) {
        move(over->geometry().center() - rect().center());
    }
}

CXBmpSlider* ContextToolWindow::makeSlider(QWidget* parent, int ctrlId, int minimum, int maximum) {
    auto* slider = new CXBmpSlider(parent);
    slider->usePageStyle();
    slider->setRange(maximum, minimum);
    slider->setMinimumWidth(160);
    tagControl(slider, ctrlId);
    connect(slider, &CXBmpSlider::sliderChanged, this,
            [this](int id, int position) { sliderMoved(id, position); });
    m_wheel->addTarget(slider);
    return slider;
}

QLabel* ContextToolWindow::makeText(QWidget* parent, int ctrlId, const QString& text) {
    auto* label = new QLabel(text, parent);
    tagControl(label, ctrlId);
    return label;
}

QCheckBox* ContextToolWindow::makeCheck(QWidget* parent, int ctrlId, const QString& text) {
    auto* box = new QCheckBox(text, parent);
    tagControl(box, ctrlId);
    connect(box, &QCheckBox::clicked, this, [this, ctrlId](bool on) { boxToggled(ctrlId, on); });
    return box;
}

} // namespace quilo
