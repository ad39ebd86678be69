#include "pages/SwitchedLevelWindow.h"

#include "widgets/CXBmpSlider.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace quilo {

SwitchedLevelWindow::SwitchedLevelWindow(PageContext& context, int templateId, int minimum,
                                         int maximum, QWidget* parent)
    : ContextToolWindow(context, templateId, parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 12, 14, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    auto* explanation = makeText(this, kExplanation);
    explanation->setWordWrap(true);
    explanation->setMinimumWidth(300);
    m_on = makeCheck(this, kOnBox, QStringLiteral("ON"));
    m_caption = makeText(this, kCaption);
    m_slider = makeSlider(this, kLevelSlider, minimum, maximum);
    m_value = makeText(this, kValueText);
    m_value->setMinimumWidth(m_value->fontMetrics().horizontalAdvance(QStringLiteral("-18.0dB")));
    grid->addWidget(explanation, 0, 0, 1, 3);
    grid->addWidget(m_on, 1, 0, 1, 3);
    grid->addWidget(m_caption, 2, 0);
    grid->addWidget(m_slider, 2, 1);
    grid->addWidget(m_value, 2, 2);
    grid->setColumnStretch(1, 1);
}

void SwitchedLevelWindow::refreshFromImage() {
    m_slider->setPosition(levelPosition());
    m_value->setText(levelText());
    m_on->setChecked(isOn());
    enableLevel(isOn());
}

void SwitchedLevelWindow::sliderMoved(int, int position) {
    setLevel(position);
    m_value->setText(levelText());
}

void SwitchedLevelWindow::boxToggled(int, bool checked) {
    setOn(checked);
    enableLevel(checked);
}

void SwitchedLevelWindow::enableLevel(bool on) {
    m_caption->setEnabled(on);
    m_value->setEnabled(on);
    m_slider->setEnabled(on);
}

} // namespace quilo
