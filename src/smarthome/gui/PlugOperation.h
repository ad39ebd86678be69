#pragma once

#include "smarthome/SmartHomeEvents.h"
#include "smarthome/gui/CWaitDlg.h"
#include "ui/BiText.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QWidget;

namespace quilo {

class PageContext;
class SmartHome;

// The plug operation that waits for the Z-Wave module (one at a time): a plug
// command, an inclusion or an exclusion. It starts the operation, arms the
// operation timer, opens the wait dialog when the timer fires before the
// operation has ended, and ends it on the module's events (0x13, 0x4A, 0x4B),
// the user's stop or the dialog's time-out. A plug command that ends within its
// delay never shows the dialog.
class PlugOperation : public QObject {
    Q_OBJECT
public:
    enum Op { kPlugCommand = 0x13, kInclusion = 0x4A, kExclusion = 0x4B };
    // A plug command answered within this long shows no wait dialog.
    static constexpr int kQuickAnswerMs = 100;
    // A result stays on the wait dialog this long before it closes.
    static constexpr int kResultShownMs = 1000;

    PlugOperation(PageContext& context, SmartHome& home, QWidget* window);
    ~PlugOperation() override;

    void setWaitTimings(CWaitDlg::Timings timings) { m_timings = timings; }

    // `node` and `value` are the plug command's (op 0x13).
    void start(const QString& text, int op, int delayMs, int node = 0, int value = 0);

    // The wait dialog on screen, or null.
    CWaitDlg* waitDialog() const;
    void stopTimer() { m_timer.stop(); }
    bool timerActive() const { return m_timer.isActive(); }
    QString pendingText() const { return m_text; }
    int pendingOp() const { return m_op; }

    // A Z-Wave event of the operation's kinds; others are left alone.
    void handleEvent(const ZwaveEvent& event);

signals:
    // A plug joined or left the network: the pages list the plugs again.
    void plugsChanged();

private:
    void openWait();
    void closeWaitNow();
    void failed(const QString& text);
    void showOnWait(const QString& text, const QColor* colour);
    void sendStop();
    QString pick(const BiText& text) const;

    PageContext& m_context;
    SmartHome& m_home;
    QPointer<QWidget> m_window;
    CWaitDlg::Timings m_timings;
    QTimer m_timer;
    QPointer<CWaitDlg> m_wait;
    QString m_text;
    int m_op = 0;
};

} // namespace quilo
