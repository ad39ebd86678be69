#include "app/SingleInstance.h"

#include "app/ActivationMessage.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#include <memory>

namespace quilo {

namespace {
constexpr int kConnectWaitMs = 1000;
constexpr char kRaise[] = "RAISE\n";
} // namespace

SingleInstance::SingleInstance(QString directory, QObject* parent)
    : QObject(parent), m_directory(std::move(directory)) {
    if (m_directory.isEmpty()) {
        m_directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (m_directory.isEmpty()) {
            m_directory = QDir::tempPath();
        }
    }
}

SingleInstance::~SingleInstance() {
    if (m_server) {
        m_server->close();
    }
}

QString SingleInstance::lockPath() const {
    return QDir(m_directory).filePath(QString::fromLatin1(kName) + QStringLiteral(".lock"));
}

QString SingleInstance::serverName() const {
    return QDir(m_directory).filePath(QString::fromLatin1(kName));
}

SingleInstance::Outcome SingleInstance::acquire(const QString& file) {
    QDir().mkpath(m_directory);
    m_lock = std::make_unique<QLockFile>(lockPath());
    m_lock->setStaleLockTime(0); // a lock is stale only when its process is gone
    if (m_lock->tryLock(0)) {
        m_server = std::make_unique<QLocalServer>();
        QLocalServer::removeServer(serverName()); // left behind by a crashed copy
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        m_server->listen(serverName());
        connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::onConnection);
        return Outcome::Primary;
    }
    if (m_lock->error() != QLockFile::LockFailedError) {
        return Outcome::LockFailed;
    }

    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(kConnectWaitMs)) {
        return Outcome::NoWindow;
    }
    QByteArray message(kRaise);
    message += file.toUtf8() + '\n';
    socket.write(message);
    socket.waitForBytesWritten(kConnectWaitMs);
    socket.disconnectFromServer();
    return Outcome::HandedOver;
}

void SingleInstance::onConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        auto buffer = std::make_shared<QByteArray>();
        auto done = std::make_shared<bool>(false);
        // One message (ActivationMessage.h); a sender of anything else, or of
        // more than a path can be, is cut off rather than buffered.
        auto handle = [this, socket, buffer, done] {
            if (*done) {
                return;
            }
            *buffer += socket->read(qint64(kMaxActivationMessage) + 1 - buffer->size());
            const Activation a = readActivationMessage(
                std::string_view(buffer->constData(), std::size_t(buffer->size())));
            if (a.state == Activation::State::Incomplete) {
                return;
            }
            *done = true;
            buffer->clear();
            if (a.state == Activation::State::Complete) {
                emit activationRequested(
                    QString::fromUtf8(a.file.data(), qsizetype(a.file.size())));
            }
            socket->abort();
        };
        connect(socket, &QLocalSocket::readyRead, this, handle);
        connect(socket, &QLocalSocket::disconnected, this, [socket, handle] {
            handle();
            socket->deleteLater();
        });
        handle();
    }
}

} // namespace quilo
