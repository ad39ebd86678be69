#include "smarthome/gui/PlugOperation.h"

#include "smarthome/PlugFrames.h"
#include "smarthome/SmartHome.h"
#include "smarthome/gui/SmartHomeTexts.h"
#include "ui/PageContext.h"
#include "ui/Texts.h"

namespace quilo {

namespace {

constexpr int kCallbackPlain = 0x43;    // end of a plain plug command
constexpr int kCallbackInfrared = 0x44; // end of an infrared learn or emit command

} // namespace

PlugOperation::PlugOperation(PageContext& context, SmartHome& home, QWidget* window)
    : m_context(context), m_home(home), m_window(window) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &PlugOperation::openWait);
}

PlugOperation::~PlugOperation() {
    delete m_wait.data();
}

CWaitDlg* PlugOperation::waitDialog() const {
    return m_wait && m_wait->isVisible() ? m_wait.data() : nullptr;
}

QString PlugOperation::pick(const BiText& text) const {
    return text.pick(m_context.language());
}

void PlugOperation::start(const QString& text, int op, int delayMs, int node, int value) {
    m_text = text;
    m_op = op;
    switch (op) {
    case kPlugCommand:
        m_home.runStep(node, value);
        break;
    case kInclusion:
        m_home.commands().sendFrame(buildAddNodeStart());
        break;
    case kExclusion:
        m_home.commands().sendFrame(buildRemoveNodeStart());
        break;
    default:
        return;
    }
    m_timer.start(delayMs);
}

void PlugOperation::openWait() {
    m_timer.stop();
    CWaitDlg* open = waitDialog();
    if (open != nullptr && !open->ending()) {
        open->rearm();
        return;
    }
    m_wait = new CWaitDlg(m_window, m_text, m_timings);
    m_context.applyTable(m_wait, CWaitDlg::kTemplateId);
    connect(m_wait, &CWaitDlg::stopRequested, this, &PlugOperation::sendStop);
    connect(m_wait, &CWaitDlg::timedOut, this, [this] {
        sendStop();
        m_context.notice(QString::fromUtf8(hometext::kOperationTimedOut));
    });
    m_wait->show();
}

void PlugOperation::sendStop() {
    PlugCommands& commands = m_home.commands();
    switch (m_op) {
    case kInclusion:
        commands.sendFrame(buildAddNodeStop());
        break;
    case kExclusion:
        commands.sendFrame(buildRemoveNodeStop(RemoveStop::Cancelled));
        break;
    case kPlugCommand:
        commands.sendFrame(buildSendAbort());
        break;
    default:
        break;
    }
}

void PlugOperation::closeWaitNow() {
    m_timer.stop();
    if (CWaitDlg* wait = waitDialog()) {
        wait->closeAfter(0);
    }
}

void PlugOperation::failed(const QString& text) {
    if (CWaitDlg* wait = waitDialog()) {
        wait->setTextColour(hometext::kFailure);
        wait->setText(text);
        wait->closeAfter(kResultShownMs);
    }
}

// On the dialog when it is open; otherwise the text the dialog will open with.
void PlugOperation::showOnWait(const QString& text, const QColor* colour) {
    CWaitDlg* wait = waitDialog();
    if (wait == nullptr) {
        m_text = text;
        return;
    }
    if (colour != nullptr) {
        wait->setTextColour(*colour);
    }
    wait->setText(text);
}

void PlugOperation::handleEvent(const ZwaveEvent& event) {
    const int h = event.high();
    const int l = event.low();
    const bool adding = m_home.table().addAfterRemove();
    switch (event.function) {
    case kInclusion:
        if (l == 1) {
            showOnWait(pick(adding ? hometext::kPressSecond : hometext::kPressToAdd),
                       &hometext::kAttention);
        } else if (l == 2) {
            showOnWait(pick(hometext::kConfirmed), &hometext::kSuccess);
        } else if (l == 5) {
            m_home.commands().writePlugRecord(h);
            closeWaitNow();
            emit plugsChanged();
        } else if (l == 7) {
            failed(pick(hometext::kAddFailed));
        }
        break;
    case kExclusion:
        if (l == 6) {
            m_home.finishExclusion();
            m_home.keys().deleteKeyFile(h);
            if (adding) {
                if (waitDialog() != nullptr) {
                    // The inclusion phase: a stop from now on must end the inclusion.
                    m_op = kInclusion;
                    m_home.commands().sendFrame(buildAddNodeStart());
                }
            } else {
                closeWaitNow();
                emit plugsChanged();
            }
        } else if (l == 7) {
            m_timer.stop();
            failed(pick(hometext::kRemoveFailed));
        } else {
            showOnWait(pick(adding ? hometext::kPressFirst : hometext::kPressToRemove), nullptr);
        }
        break;
    case kPlugCommand:
        if (h == kCallbackPlain) {
            if (l == 1) {
                m_context.notice(pick(hometext::kSetTimeout));
            }
            closeWaitNow();
        } else if (h == kCallbackInfrared && l == 1) {
            closeWaitNow();
            m_context.notice(pick(hometext::kSetTimeout));
        }
        break;
    default:
        break;
    }
}

} // namespace quilo
