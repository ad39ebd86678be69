#include "web/BoundedTcpServer.h"

#include <QTcpSocket>

namespace quilo {

namespace {

constexpr const char* kReceived = "quiloReceived";
constexpr const char* kGuard = "quiloRequestGuard";

const QByteArray kTooLarge = QByteArrayLiteral(
    "HTTP/1.1 413 Payload Too Large\r\nContent-Type: application/json; charset=utf-8\r\n"
    "Content-Length: 33\r\nConnection: close\r\n\r\n{\"error\":\"the request is too big\"}");

} // namespace

void BoundedTcpServer::incomingConnection(qintptr descriptor) {
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    auto* guard = new QObject(socket);
    guard->setObjectName(QLatin1String(kGuard));
    // Connected before the HTTP server's own reader, so this one sees the data first.
    connect(socket, &QTcpSocket::readyRead, guard, [socket] {
        const qint64 received = socket->property(kReceived).toLongLong() + socket->bytesAvailable();
        socket->setProperty(kReceived, received);
        if (received > kMaxRequestBytes) {
            socket->readAll();
            socket->write(kTooLarge);
            socket->disconnectFromHost();
        }
    });
    // An answer was written: the next request has its own allowance.
    connect(socket, &QTcpSocket::bytesWritten, guard,
            [socket] { socket->setProperty(kReceived, qint64(0)); });
    addPendingConnection(socket);
}

void BoundedTcpServer::release(QTcpSocket* socket) {
    delete socket->findChild<QObject*>(QLatin1String(kGuard), Qt::FindDirectChildrenOnly);
}

} // namespace quilo
