#pragma once

#include <QtHttpServer/QAbstractHttpServer>

#include <QHostAddress>
#include <QJsonObject>

class QHttpServerResponder;

namespace quilo {

class ProcessorService;
class WebEvents;
class WebRemote;

// The phone remote's HTTP server: the embedded page and the JSON API under
// /api/ (see README), with the WebSocket of /api/events handed to WebEvents.
// Every request is answered on this thread without waiting; the long operations
// (a stored mode, a scene, a plug) answer 202 as they start and tell their end on
// the WebSocket.
class WebServer : public QAbstractHttpServer {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxBody = 16 * 1024;

    WebServer(WebRemote& remote, ProcessorService& service, QObject* parent = nullptr);
    ~WebServer() override;

    bool listen(const QHostAddress& address, quint16 port, QString* problem);
    quint16 port() const { return m_port; }

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    struct Answer {
        int status = 200;
        QJsonObject body;
        QByteArray cookie; // a Set-Cookie value, with a pairing
    };
    Answer api(const QHttpServerRequest& request, const QString& path);
    Answer pair(const QByteArray& body);
    Answer setField(const QByteArray& body, const QString& phone);
    Answer recallMode(const QByteArray& body);
    Answer runScene(const QByteArray& body);
    Answer setPlug(const QByteArray& body);
    void answerPage(QHttpServerResponder& responder, const QString& path);

    WebRemote& m_remote;
    ProcessorService& m_service;
    WebEvents* m_events;
    quint16 m_port = 0;
};

} // namespace quilo
