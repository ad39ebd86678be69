#include "widgets/SpinButtons.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace quilo {

SpinButtons::SpinButtons(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    const auto make = [this, column](Qt::ArrowType arrow, int delta) {
        auto* b = new QToolButton(this);
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        b->setFixedWidth(16);
        connect(b, &QToolButton::clicked, this, [this, delta] { emit stepped(delta); });
        column->addWidget(b);
        return b;
    };
    m_up = make(Qt::UpArrow, 1);
    m_down = make(Qt::DownArrow, -1);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void SpinButtons::setRange(int minimum, int maximum) {
    m_min = std::min(minimum, maximum);
    m_max = std::max(minimum, maximum);
    m_pos = std::clamp(m_pos, m_min, m_max);
}

void SpinButtons::setPosition(int position) {
    m_pos = std::clamp(position, m_min, m_max);
}

void SpinButtons::setBuddy(QWidget* edit) {
    edit->installEventFilter(this);
}

bool SpinButtons::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && watched != this) {
        stepByWheel(*static_cast<QWheelEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SpinButtons::wheelEvent(QWheelEvent* event) {
    stepByWheel(*event);
}

void SpinButtons::stepByWheel(const QWheelEvent& event) {
    const int delta = event.angleDelta().y();
    if (delta != 0 && isEnabled()) {
        emit stepped(delta > 0 ? 1 : -1);
    }
}

} // namespace quilo
