#include "app/ShortcutController.h"

#include "app/CommandActions.h"
#include "app/MasterControls.h"
#include "app/ModeFileController.h"
#include "app/PageHost.h"
#include "model/DeviceImage.h"
#include "ui/DeviceAccess.h"
#include "ui/Language.h"
#include "ui/Prompter.h"
#include "ui/Texts.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
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

ShortcutController::ShortcutController(const DeviceImage& image, DeviceAccess& device,
                                       ModeFileController& modes, MasterControls& master,
                                       PageHost& pages, CommandActions& commands,
                                       Prompter& prompter, Language& language,
                                       std::function<bool()> blocked)
    : m_image(image), m_device(device), m_modes(modes), m_master(master), m_pages(pages),
      m_commands(commands), m_prompter(prompter), m_language(language),
      m_blocked(std::move(blocked)) {
    qApp->installEventFilter(this);
}

ShortcutController::~ShortcutController() {
    qApp->removeEventFilter(this);
}

bool ShortcutController::eventFilter(QObject* watched, QEvent* event) {
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
            return handle(key);
        }
    }
    return QObject::eventFilter(watched, event);
}

bool ShortcutController::handle(QKeyEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    const int key = event->key();
    const bool leftCtrl = (event->modifiers() & Qt::ControlModifier) && !m_rightCtrlDown;
    const bool blocked = m_blocked();

    if (key >= Qt::Key_F1 && key <= Qt::Key_F4) {
        if (press && !event->isAutoRepeat() && !blocked && m_device.linkOpen() &&
            !m_modes.modeKeysBlocked()) {
            m_commands.trigger(leftCtrl ? UserCommand::KeySaveMode : UserCommand::LoadMode,
                               key - Qt::Key_F1);
        }
        return true;
    }
    if (key == Qt::Key_F7) {
        if (!press && !event->isAutoRepeat() && !blocked) {
            m_commands.trigger(UserCommand::MachineSettings);
        }
        return true;
    }
    if (press && undoKey(event, blocked)) {
        return true;
    }
    if (!press || blocked || (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier))) {
        return false;
    }

    if (leftCtrl && key >= Qt::Key_0 && key <= Qt::Key_9) {
        m_pages.numberKey(key == Qt::Key_0 ? 9 : key - Qt::Key_1);
        return false;
    }
    if (typingIntoText(QApplication::focusWidget())) {
        return false;
    }

    const int lang = m_language.index();
    const DspParams& p = m_image.params;
    auto muteKey = [&](Mute which, const std::int32_t& field, const BiText& muted) {
        m_commands.trigger(UserCommand::Mute, static_cast<int>(which));
        if (field != 0) {
            m_prompter.notice(muted.pick(lang));
        }
    };
    switch (key) {
    case Qt::Key_Q:
    case Qt::Key_A:
        m_master.stepVolume(Slider::Music, key == Qt::Key_Q, leftCtrl);
        break;
    case Qt::Key_W:
    case Qt::Key_S:
        m_master.stepVolume(Slider::Mic, key == Qt::Key_W, leftCtrl);
        break;
    case Qt::Key_E:
    case Qt::Key_D:
        m_master.stepVolume(Slider::Echo, key == Qt::Key_E, leftCtrl);
        break;
    case Qt::Key_R:
    case Qt::Key_F:
        m_master.stepVolume(Slider::Reverb, key == Qt::Key_R, leftCtrl);
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
        m_commands.trigger(UserCommand::EqSwitch);
        break;
    default:
        break;
    }
    // The key still goes on to the window that has the focus.
    return false;
}

bool ShortcutController::undoKey(QKeyEvent* event, bool blocked) {
    if (event->key() != Qt::Key_Z || !(event->modifiers() & Qt::ControlModifier) ||
        (event->modifiers() & Qt::AltModifier)) {
        return false;
    }
    const bool again = event->modifiers() & Qt::ShiftModifier;
    // A text box being typed in takes back its own typing first.
    if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        if (again ? edit->isRedoAvailable() : edit->isUndoAvailable()) {
            return false;
        }
    }
    if (!blocked) {
        m_commands.trigger(again ? UserCommand::Redo : UserCommand::Undo);
    }
    return true;
}

} // namespace quilo
