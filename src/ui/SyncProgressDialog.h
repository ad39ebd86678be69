#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;
class QProgressBar;

namespace quilo {

// The synchronisation progress dialog (template 347): modal over the whole
// program while a read-back or write-out runs, with a moving bar and a text.
// After its time-out (none when it is 0) it closes itself and says so through
// timedOut(); the synchronisation itself goes on.
class SyncProgressDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 347;
    static constexpr int kTimeoutMs = 30000;

    SyncProgressDialog(QWidget* parent, int language, const QString& text,
                       int timeoutMs = kTimeoutMs);

    // Stops the time-out and closes, without the time-out message.
    void finish();
    QString text() const;
    bool timeoutRunning() const { return m_timeout.isActive(); }

signals:
    void timedOut();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_text;
    QProgressBar* m_bar;
    QTimer m_timeout;
};

} // namespace quilo
