#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QSystemTrayIcon;

namespace quilo {

// The tray balloon of the view: the icon is added with an information balloon
// and removed when the balloon's time is up, when it is clicked or with the view.
class TrayNotifier : public QObject {
    Q_OBJECT
public:
    explicit TrayNotifier(QObject* parent = nullptr);
    ~TrayNotifier() override;

    void show(const QString& title, const QString& text, int ms);
    void remove();

    bool iconShown() const { return m_icon != nullptr; }
    QString lastTitle() const { return m_lastTitle; }
    QString lastText() const { return m_lastText; }
    int shownCount() const { return m_count; }

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
    QTimer m_life; // timer 990
    QString m_lastTitle;
    QString m_lastText;
    int m_count = 0;
};

} // namespace quilo
