#pragma once

#include <QObject>

class QSocketNotifier;

namespace quilo {

// SIGTERM, SIGINT and SIGHUP as a request to close, told on the thread that
// made the object (the handler only writes to a socket). A second signal of the
// same kind ends the process as usual, so a stuck close can still be stopped.
// One object per process.
class ExitSignals : public QObject {
    Q_OBJECT
public:
    explicit ExitSignals(QObject* parent = nullptr);
    ~ExitSignals() override;

signals:
    void closeRequested(int signal);

private:
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace quilo
