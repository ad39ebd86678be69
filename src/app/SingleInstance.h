#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace quilo {

// At most one running copy per user ("PARVO V1.0"): the first start holds a
// lock file and listens on a local socket; a later start hands its command-line
// file to the first over the socket and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kName = "PARVO V1.0";

    enum class Outcome {
        Primary,    // this is the running copy now
        HandedOver, // another copy runs and was told to come forward
        NoWindow,   // another copy holds the lock but does not answer
        LockFailed, // the lock could not be created at all
    };

    // `directory` holds the lock and the socket: the user's runtime folder
    // unless a test gives its own.
    explicit SingleInstance(QString directory = {}, QObject* parent = nullptr);
    ~SingleInstance() override;

    // `file` (may be empty) is what the running copy should open.
    Outcome acquire(const QString& file);

    QString lockPath() const;
    QString serverName() const;

signals:
    // A later start asked the running copy to come forward and open `file`.
    void activationRequested(const QString& file);

private:
    void onConnection();

    QString m_directory;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace quilo
