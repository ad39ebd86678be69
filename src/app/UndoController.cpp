#include "app/UndoController.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace quilo {

UndoController::UndoController(DeviceImage& image, ReportSink& sink, std::size_t limit)
    : m_image(image), m_sink(sink), m_history(image, limit) {
    qApp->installEventFilter(this);
}

UndoController::~UndoController() {
    if (qApp) {
        qApp->removeEventFilter(this);
    }
}

bool UndoController::undo() {
    if (!m_image.mainThreadOwns() || !m_history.undo(m_sink)) {
        return false;
    }
    emit restored();
    return true;
}

bool UndoController::redo() {
    if (!m_image.mainThreadOwns() || !m_history.redo(m_sink)) {
        return false;
    }
    emit restored();
    return true;
}

bool UndoController::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        // A mouse event the widget under it leaves goes on to its parents, after the widget
        // may have changed something: only its first arrival starts a new action.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const MouseMark mark{event->type(), mouse->timestamp(), mouse->globalPosition()};
        if (mark != m_lastMouse) {
            m_lastMouse = mark;
            m_history.closeStep();
        }
        break;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat()) {
            break; // a held arrow key is one action
        }
        m_history.closeStep();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quilo
