// Keyboard shortcuts, examined before any window handles the key.
#include "app/Application.h"
#include "app/MainView.h"
#include "app/Texts.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace quilo {

using namespace ribbon;

namespace {

// X11 key code of the right Ctrl key; only the left one drives the shortcuts.
constexpr quint32 kRightControlScanCode = 105;

// Typing into a text field must not change volumes or mutes.
bool typingIntoText(QWidget* focus) {
    if (focus == nullptr) {
        return false;
    }
    if (auto* combo = qobject_cast<QComboBox*>(focus)) {
        return combo->isEditable();
    }
    return qobject_cast<QLineEdit*>(focus) != nullptr ||
           qobject_cast<QTextEdit*>(focus) != nullptr ||
           qobject_cast<QPlainTextEdit*>(focus) != nullptr ||
           qobject_cast<QAbstractSpinBox*>(focus) != nullptr;
}

} // namespace

bool CVORNEXv13View::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        watched->isWidgetType()) {
        // A key event passes through this filter once per widget on its way from
        // the focus widget up to its window; act on its first stop only.
        QWidget* focus = QApplication::focusWidget();
        auto* w = static_cast<QWidget*>(watched);
        if (focus != nullptr ? w == focus : w->isWindow()) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Control && key->nativeScanCode() == kRightControlScanCode) {
                m_rightCtrlDown = event->type() == QEvent::KeyPress;
            }
            return handleShortcut(key);
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool CVORNEXv13View::handleShortcut(QKeyEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    const int key = event->key();
    const bool leftCtrl = (event->modifiers() & Qt::ControlModifier) && !m_rightCtrlDown;
    const bool blocked = keyboardBlocked();

    if (key >= Qt::Key_F1 && key <= Qt::Key_F4) {
        if (press && !event->isAutoRepeat() && !blocked && m_app.connected() &&
            QDateTime::currentMSecsSinceEpoch() >= m_modeKeysBlockedUntil) {
            const int mode = key - Qt::Key_F1;
            if (leftCtrl) {
                saveStoredMode(mode, true);
            } else {
                loadStoredMode(mode);
            }
        }
        return true;
    }
    if (key == Qt::Key_F7) {
        if (!press && !event->isAutoRepeat() && !blocked) {
            m_app.openToolWindow(ToolWindowId::MachineSettings);
        }
        return true;
    }
    if (!press || blocked || (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier))) {
        return false;
    }

    if (leftCtrl && key >= Qt::Key_0 && key <= Qt::Key_9) {
        if (m_page != nullptr) {
            m_page->numberKey(key == Qt::Key_0 ? 9 : key - Qt::Key_1);
        }
        return false;
    }
    if (typingIntoText(QApplication::focusWidget())) {
        return false;
    }

    const int lang = m_app.language();
    const DspParams& p = m_app.image().params;
    auto muteKey = [&](Mute which, const std::int32_t& field, const BiText& muted) {
        toggleMute(which);
        if (field != 0) {
            m_app.showNotice(muted.pick(lang));
        }
    };
    switch (key) {
    case Qt::Key_Q:
    case Qt::Key_A:
        stepVolume(Slider::Music, key == Qt::Key_Q, leftCtrl);
        break;
    case Qt::Key_W:
    case Qt::Key_S:
        stepVolume(Slider::Mic, key == Qt::Key_W, leftCtrl);
        break;
    case Qt::Key_E:
    case Qt::Key_D:
        stepVolume(Slider::Echo, key == Qt::Key_E, leftCtrl);
        break;
    case Qt::Key_R:
    case Qt::Key_F:
        stepVolume(Slider::Reverb, key == Qt::Key_R, leftCtrl);
        break;
    case Qt::Key_Z:
        muteKey(Mute::Music, p.musicMute, text::kMusicMuted);
        break;
    case Qt::Key_X:
        muteKey(Mute::Mic, p.micMute, text::kMicMuted);
        break;
    case Qt::Key_V:
        muteKey(Mute::Reverb, p.reverbMute, text::kReverbMuted);
        break;
    case Qt::Key_C:
        muteKey(Mute::Echo, p.echoMute, text::kEchoMuted);
        break;
    case Qt::Key_P:
        toggleEqSwitch();
        break;
    default:
        break;
    }
    // The key still goes on to the window that has the focus.
    return false;
}

} // namespace quilo
