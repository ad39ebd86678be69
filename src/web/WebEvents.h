#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

class QWebSocket;

namespace quilo {

class ProcessorService;
class WebRemote;

// The pages' WebSockets (/api/events): at most kMaxSockets, each silent until it
// is authenticated (its request's cookie or Authorization, or a first message
// {"token":"…"}) and closed when no valid token came within 5 s. Authenticated
// pages are sent the whole state once, then every change as it is seen:
// {"fields":{…}}, {"connected":…,"mode":…}, {"scene":{"running":…}},
// {"plugs":[…]} and {"failed":{"what":…,"problem":…}}.
class WebEvents : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxSockets = 16;
    static constexpr int kAuthMs = 5000;

    WebEvents(WebRemote& remote, ProcessorService& service, QObject* parent = nullptr);
    ~WebEvents() override;

    bool roomForOne() const { return static_cast<int>(m_clients.size()) < kMaxSockets; }
    void take(std::unique_ptr<QWebSocket> socket);
    int authenticatedCount() const;

    void tellFailure(const QString& what, const QString& problem);
    // Sends the plugs when they differ from what the pages were last sent.
    void lookAtPlugs();

private:
    struct Client {
        QWebSocket* socket = nullptr;
        QString phone; // empty until authenticated
        QTimer* deadline = nullptr;
    };
    Client* find(QWebSocket* socket);
    void authenticate(Client& client, const QString& token);
    void firstMessage(QWebSocket* socket, const QString& text);
    void drop(QWebSocket* socket);
    void dropPhone(const QString& phone);
    void broadcast(const QJsonObject& message);
    void fieldsChanged(const QStringList& names);
    void propertiesChanged();

    WebRemote& m_remote;
    ProcessorService& m_service;
    std::vector<Client> m_clients;
    QJsonArray m_plugsSent;
    QTimer m_plugLook;
};

} // namespace quilo
