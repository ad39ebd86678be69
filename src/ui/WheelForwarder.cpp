#include "ui/WheelForwarder.h"

#include <QApplication>
#include <QWheelEvent>

namespace quilo {

WheelForwarder::WheelForwarder(QWidget& area) : QObject(&area), m_area(area) {
    qApp->installEventFilter(this);
}

WheelForwarder::~WheelForwarder() {
    qApp->removeEventFilter(this);
}

void WheelForwarder::addTarget(QWidget* target) {
    if (target != nullptr)
        m_targets.emplace_back(target);
}

bool WheelForwarder::isTarget(const QWidget* w) const {
    for (const QPointer<QWidget>& t : m_targets)
        if (t != nullptr && t == w)
            return true;
    return false;
}

bool WheelForwarder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return false;
    auto* receiver = qobject_cast<QWidget*>(watched);
    QWidget* focus = QApplication::focusWidget();
    if (receiver == nullptr || focus == nullptr || focus == receiver || !isTarget(focus) ||
        !(receiver == &m_area || m_area.isAncestorOf(receiver)) || !focus->isEnabled()) {
        return false;
    }
    const auto* wheel = static_cast<QWheelEvent*>(event);
    const QPointF at = focus->mapFromGlobal(wheel->globalPosition());
    QWheelEvent copy(at, wheel->globalPosition(), wheel->pixelDelta(), wheel->angleDelta(),
                     wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted(),
                     wheel->source());
    QApplication::sendEvent(focus, &copy);
    return true;
}

} // namespace quilo
