#pragma once

#include <QColor>
#include <QDialog>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace quilo {

// The wait dialog of a plug operation (template 486): a text, a moving bar and
// "强行中止". Modal over the program while the Z-Wave module works, without a
// nested event loop. Its time-out and the stop button ask the operation to send
// its stop frame (stopRequested, timedOut); the operation's events change its
// text and colour and close it.
class CWaitDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 486;
    enum CtrlId { kStopButton = 3, kProgress = 1217, kText = 1218 };
    struct Timings {
        int progressMs = 150;
        int timeoutMs = 30000;
        int rearmedTimeoutMs = 20000;
    };

    CWaitDlg(QWidget* parent, const QString& text, Timings timings);

    void setText(const QString& text);
    QString text() const;
    void setTextColour(const QColor& colour);
    QColor textColour() const { return m_colour; }
    int progress() const;
    bool timeoutRunning() const { return m_timeout.isActive(); }
    // closeAfter or the time-out has begun to end it.
    bool ending() const { return m_finishing; }

    // Stops the bar and the time-out; 0 closes at once, otherwise the bar shows
    // 100 and the dialog closes after `ms`.
    void closeAfter(int ms);
    // Another operation timer fired while the dialog is open: progress again, and
    // the shorter time-out.
    void rearm();
    // The stop button, Escape and the window's close: stop the operation.
    void reject() override;

signals:
    // The user stopped the operation (button or Escape or the window's close).
    void stopRequested();
    // Nothing ended the operation in time.
    void timedOut();

private:
    void finish();

    Timings m_timings;
    QLabel* m_text;
    QProgressBar* m_bar;
    QPushButton* m_stop;
    QColor m_colour;
    QTimer m_progress;
    QTimer m_timeout;
    QTimer m_closeTimer;
    bool m_finishing = false;
};

} // namespace quilo
