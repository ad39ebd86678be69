#pragma once

#include <QTcpServer>

namespace quilo {

// The phone remote's listening socket. Qt's HTTP server keeps a request's whole
// body in memory before anyone may look at it; here each connection may send at
// most kMaxRequestBytes before the server's next answer to it. More is refused
// with 413 and the connection closed, the data dropped unread.
class BoundedTcpServer : public QTcpServer {
    Q_OBJECT
public:
    static constexpr qint64 kMaxRequestBytes = 64 * 1024;

    using QTcpServer::QTcpServer;

    // The socket became a WebSocket: its frames are the WebSocket's to bound.
    static void release(QTcpSocket* socket);

protected:
    void incomingConnection(qintptr descriptor) override;
};

} // namespace quilo
