#include "app/TrayNotifier.h"

#include "app/AppIcons.h"

#include <QSystemTrayIcon>

namespace quilo {

TrayNotifier::TrayNotifier(QObject* parent) : QObject(parent) {
    m_life.setSingleShot(true);
    connect(&m_life, &QTimer::timeout, this, &TrayNotifier::remove);
}

TrayNotifier::~TrayNotifier() {
    remove();
}

void TrayNotifier::show(const QString& title, const QString& text, int ms) {
    m_lastTitle = title;
    m_lastText = text;
    ++m_count;
    if (!m_icon) {
        m_icon = std::make_unique<QSystemTrayIcon>(appIcon(AppIcon::Application));
        m_icon->setToolTip(QStringLiteral("QUILO"));
        // Any click on the icon or its balloon takes it away.
        connect(m_icon.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason) {
                    QTimer::singleShot(0, this, &TrayNotifier::remove);
                });
        connect(m_icon.get(), &QSystemTrayIcon::messageClicked, this,
                [this] { QTimer::singleShot(0, this, &TrayNotifier::remove); });
    }
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_icon->show();
        m_icon->showMessage(title, text, QSystemTrayIcon::Information, ms);
    }
    m_life.start(ms);
}

void TrayNotifier::remove() {
    m_life.stop();
    if (m_icon) {
        m_icon->hide();
        m_icon.reset();
    }
}

} // namespace quilo
