#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace quilo {

class Language;
class Prompter;
class SyncProgressDialog;

// The synchronisation progress dialog, at most one at a time: modal over the
// program while a read-back or write-out runs. When it gives up waiting it says
// so; the run itself goes on.
class SyncProgress : public QObject {
    Q_OBJECT
public:
    SyncProgress(Language& language, Prompter& prompter, int timeoutMs);
    ~SyncProgress() override;

    void setWindow(QWidget* window);
    // Shows the dialog (an empty text: its usual one); when one is shown it is only raised.
    // An untimed dialog stays until close(): a scene may run longer than the time-out.
    void show(const QString& text = {}, bool timed = true);
    // Closes it without the time-out message.
    void close();
    SyncProgressDialog* dialog() const;

signals:
    // The dialog closed itself after its time-out (and said so).
    void timedOut();

private:
    Language& m_language;
    Prompter& m_prompter;
    int m_timeoutMs;
    QPointer<QWidget> m_window;
    QPointer<SyncProgressDialog> m_dialog;
};

} // namespace quilo
