#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QTcpSocket>
#include <QWebSocket>

namespace quilo::test {

// One HTTP/1.1 request to 127.0.0.1, written as it is (no path clean-up), answered
// while the event loop runs here: the server may be in this very thread.
struct HttpAnswer {
    int status = 0; // 0: no answer
    QByteArray head;
    QByteArray body;
    QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
    QByteArray header(const QByteArray& name) const {
        for (const QByteArray& line : head.split('\n')) {
            const qsizetype colon = line.indexOf(':');
            if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower()) {
                return line.mid(colon + 1).trimmed();
            }
        }
        return {};
    }
};
using Headers = QList<QPair<QByteArray, QByteArray>>;

inline HttpAnswer httpCall(quint16 port, const QByteArray& method, const QByteArray& path,
                           const Headers& headers = {}, const QByteArray& body = {},
                           int ms = 5000) {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    QByteArray request = method + ' ' + path +
                         " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
                         "\r\nConnection: close\r\n";
    if (!body.isEmpty() || method == "POST") {
        request +=
            "Content-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size()) +
            "\r\n";
    }
    for (const auto& [name, value] : headers) {
        request += name + ": " + value + "\r\n";
    }
    request += "\r\n" + body;
    QByteArray in;
    bool written = false;
    QElapsedTimer clock;
    clock.start();
    HttpAnswer answer;
    while (clock.elapsed() < ms) {
        if (!written && socket.state() == QAbstractSocket::ConnectedState) {
            socket.write(request);
            written = true;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        in += socket.readAll();
        const qsizetype end = in.indexOf("\r\n\r\n");
        if (end > 0) {
            answer.head = in.left(end);
            answer.body = in.mid(end + 4);
            const QByteArray length = answer.header("Content-Length");
            if (!length.isEmpty() && answer.body.size() >= length.toLongLong()) {
                break;
            }
        }
        if (written && socket.state() == QAbstractSocket::UnconnectedState) {
            break;
        }
    }
    const QList<QByteArray> status = answer.head.left(answer.head.indexOf('\r')).split(' ');
    answer.status = status.size() > 1 ? status[1].toInt() : 0;
    return answer;
}

// A page's WebSocket to /api/events, keeping every message it was sent.
struct EventsClient {
    QWebSocket socket;
    QList<QJsonObject> messages;
    bool closed = false;

    EventsClient(quint16 port, const Headers& headers = {}) {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString& text) {
            messages.append(QJsonDocument::fromJson(text.toUtf8()).object());
        });
        QObject::connect(&socket, &QWebSocket::disconnected, [this] { closed = true; });
        QNetworkRequest request(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/events").arg(port)));
        for (const auto& [name, value] : headers) {
            request.setRawHeader(name, value);
        }
        socket.open(request);
    }
    bool open() const { return socket.state() == QAbstractSocket::ConnectedState; }
    // The last value of `field` the page was sent, -1 when none.
    int lastField(const QString& field) const {
        for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
            const QJsonObject fields = it->contains(QStringLiteral("state"))
                                           ? it->value(QStringLiteral("state"))
                                                 .toObject()
                                                 .value(QStringLiteral("fields"))
                                                 .toObject()
                                           : it->value(QStringLiteral("fields")).toObject();
            if (fields.contains(field)) {
                return fields.value(field).toInt();
            }
        }
        return -1;
    }
};

} // namespace quilo::test
