#include "app/CMFCMyRibbonStatusBar.h"

#include "app/CommandActions.h"
#include "app/RibbonIds.h"
#include "device/PermissionProblem.h"
#include "ui/DialogLook.h"
#include "ui/Texts.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace quilo {

CMFCMyRibbonStatusBar::CMFCMyRibbonStatusBar(CommandActions& commands, QWidget* parent)
    : QStatusBar(parent) {
    setSizeGripEnabled(true);
    setFont(cjkFont(12));
    m_connection = new QLabel(QStringLiteral("USB:未连接"), this);
    m_connection->setProperty("ctrlId", ribbon::kPaneConnection);
    m_connection->setMinimumWidth(190);
    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    m_mode = new QLabel(QStringLiteral("当前模式：模式一"), this);
    m_mode->setProperty("ctrlId", ribbon::kPaneMode);
    m_mode->setMinimumWidth(240);
    m_hint = new QLabel(this);
    m_hint->setMinimumWidth(0);
    m_hint->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(m_connection);
    addWidget(separator);
    addWidget(m_mode);
    addWidget(m_hint, 1);

    m_bypass = new QCheckBox(this);
    m_bypass->setProperty("ctrlId", ribbon::kEqBypass);
    m_bypass->setFocusPolicy(Qt::NoFocus);
    m_resetEq = new QPushButton(this);
    m_resetEq->setProperty("ctrlId", ribbon::kEqReset);
    m_resetEq->setFocusPolicy(Qt::NoFocus);
    m_resetEq->setAutoDefault(false);
    addPermanentWidget(m_bypass);
    addPermanentWidget(m_resetEq);
    connect(m_bypass, &QCheckBox::clicked, commands.action(UserCommand::EqSwitch),
            &QAction::trigger);
    connect(m_resetEq, &QPushButton::clicked, commands.action(UserCommand::EqReset),
            &QAction::trigger);
    setEqControls(false, false);
    relabel(kChinese);
}

void CMFCMyRibbonStatusBar::setConnection(Link link, bool emulated, int language) {
    const bool connected = link == Link::Connected;
    QString text;
    if (link == Link::NoPermission) {
        const std::string_view s = permissionStatusText(language);
        text = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    } else {
        text = (connected ? text::kUsbConnected : text::kUsbDisconnected).pick(language);
    }
    if (connected && emulated) {
        text += text::kEmulatedSuffix.pick(language);
    }
    const QColor colour = connected ? QColor(0, 150, 0) : QColor(220, 0, 0);
    if (m_connection->text() != text) {
        m_connection->setText(text);
    }
    QPalette pal = m_connection->palette();
    if (pal.color(QPalette::WindowText) != colour) {
        pal.setColor(QPalette::WindowText, colour);
        m_connection->setPalette(pal);
    }
}

void CMFCMyRibbonStatusBar::setModeText(const QString& text) {
    if (m_mode->text() != text) {
        m_mode->setText(text);
    }
}

void CMFCMyRibbonStatusBar::setEqControls(bool enabled, bool bypassChecked) {
    m_bypass->setEnabled(enabled);
    m_bypass->setChecked(bypassChecked);
    m_resetEq->setEnabled(enabled);
}

void CMFCMyRibbonStatusBar::showHint(const QString& text) {
    m_hint->setToolTip(text);
    m_hint->setText(
        m_hint->fontMetrics().elidedText(text, Qt::ElideMiddle, std::max(0, m_hint->width())));
}

void CMFCMyRibbonStatusBar::relabel(int language) {
    m_bypass->setText(text::kBypass.pick(language));
    m_resetEq->setText(text::kResetEq.pick(language));
}

} // namespace quilo
