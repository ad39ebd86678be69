#include "web/WebEvents.h"

#include "bus/ProcessorService.h"
#include "web/WebRemote.h"
#include "web/WebRequests.h"
#include "web/WebServer.h"
#include "web/WebState.h"

#include <QJsonDocument>
#include <QPointer>
#include <QWebSocket>

#include <algorithm>

namespace quilo {

namespace {

constexpr int kPlugLookMs = 100;

QString messageText(const QJsonObject& message) {
    return QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact));
}

} // namespace

WebEvents::WebEvents(WebRemote& remote, ProcessorService& service, QObject* parent)
    : QObject(parent), m_remote(remote), m_service(service) {
    connect(&service, &ProcessorService::fieldsChanged, this, &WebEvents::fieldsChanged);
    connect(&service, &ProcessorService::propertiesChanged, this, &WebEvents::propertiesChanged);
    connect(&remote, &WebRemote::revoked, this, &WebEvents::dropPhone);
    connect(&remote, &WebRemote::runningSceneChanged, this, [this](int scene) {
        broadcast(QJsonObject{
            {QStringLiteral("scene"),
             QJsonObject{{QStringLiteral("running"),
                          scene < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(scene)}}}});
    });
    // The plug table changes on the read thread and tells no one: look while pages are open.
    m_plugLook.setInterval(kPlugLookMs);
    connect(&m_plugLook, &QTimer::timeout, this, &WebEvents::lookAtPlugs);
}

WebEvents::~WebEvents() {
    for (Client& client : m_clients) {
        client.socket->disconnect(this);
        client.socket->abort();
        delete client.socket;
    }
}

void WebEvents::take(std::unique_ptr<QWebSocket> owned) {
    QWebSocket* socket = owned.release();
    socket->setParent(this);
    if (!roomForOne()) {
        socket->close(QWebSocketProtocol::CloseCodeTooMuchData, QStringLiteral("too many pages"));
        socket->deleteLater();
        return;
    }
    socket->setMaxAllowedIncomingMessageSize(WebServer::kMaxBody);
    socket->setMaxAllowedIncomingFrameSize(WebServer::kMaxBody);
    auto* deadline = new QTimer(socket);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, socket, [socket] {
        socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("no token"));
    });
    connect(socket, &QWebSocket::disconnected, this, [this, socket] { drop(socket); });
    connect(socket, &QWebSocket::textMessageReceived, this,
            [this, socket](const QString& text) { firstMessage(socket, text); });
    m_clients.push_back(Client{socket, {}, deadline});
    const QNetworkRequest& request = socket->request();
    const QString token =
        requestToken(request.rawHeader("Authorization"), request.rawHeader("Cookie"));
    if (!token.isEmpty()) {
        authenticate(m_clients.back(), token);
    }
    if (find(socket) != nullptr && find(socket)->phone.isEmpty()) {
        deadline->start(kAuthMs);
    }
}

int WebEvents::authenticatedCount() const {
    return static_cast<int>(std::count_if(m_clients.begin(), m_clients.end(),
                                          [](const Client& c) { return !c.phone.isEmpty(); }));
}

WebEvents::Client* WebEvents::find(QWebSocket* socket) {
    const auto it = std::find_if(m_clients.begin(), m_clients.end(),
                                 [socket](const Client& c) { return c.socket == socket; });
    return it == m_clients.end() ? nullptr : &*it;
}

void WebEvents::authenticate(Client& client, const QString& token) {
    const std::optional<QString> phone = m_remote.phoneOf(token);
    if (!phone) {
        client.socket->close(QWebSocketProtocol::CloseCodePolicyViolated,
                             QStringLiteral("not paired"));
        return;
    }
    client.phone = *phone;
    client.deadline->stop();
    m_plugsSent = plugsJson(m_service.backend().plugs());
    if (!m_plugLook.isActive()) {
        m_plugLook.start();
    }
    if (m_service.backend().image().mainThreadOwns()) {
        const QJsonObject state = stateJson(m_service.backend(), m_service.properties().currentMode,
                                            m_remote.runningScene(), m_remote.language());
        client.socket->sendTextMessage(messageText(QJsonObject{{QStringLiteral("state"), state}}));
    }
}

void WebEvents::firstMessage(QWebSocket* socket, const QString& text) {
    Client* client = find(socket);
    if (client == nullptr || !client->phone.isEmpty()) {
        return; // pages have nothing to say once they are in
    }
    const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
    authenticate(*client, o.value(QStringLiteral("token")).toString());
}

void WebEvents::drop(QWebSocket* socket) {
    std::erase_if(m_clients, [socket](const Client& c) { return c.socket == socket; });
    socket->deleteLater();
    if (authenticatedCount() == 0) {
        m_plugLook.stop();
    }
}

void WebEvents::dropPhone(const QString& phone) {
    std::vector<QWebSocket*> closing;
    for (Client& client : m_clients) {
        if (client.phone == phone) {
            client.phone.clear(); // hears nothing more, even before the close is done
            closing.push_back(client.socket);
        }
    }
    // A close may drop its client at once: not while the list is walked.
    for (QWebSocket* socket : closing) {
        socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("revoked"));
    }
}

void WebEvents::broadcast(const QJsonObject& message) {
    if (authenticatedCount() == 0) {
        return;
    }
    const QString text = messageText(message);
    // Should a send drop its client at once, the list is not being walked then.
    std::vector<QPointer<QWebSocket>> pages;
    for (const Client& client : m_clients) {
        if (!client.phone.isEmpty()) {
            pages.emplace_back(client.socket);
        }
    }
    for (const QPointer<QWebSocket>& page : pages) {
        if (page) {
            page->sendTextMessage(text);
        }
    }
}

void WebEvents::fieldsChanged(const QStringList& names) {
    const QJsonObject fields = remoteFieldsJson(m_service.backend().image(), &names);
    if (!fields.isEmpty()) {
        broadcast(QJsonObject{{QStringLiteral("fields"), fields}});
    }
}

void WebEvents::propertiesChanged() {
    broadcast(QJsonObject{{QStringLiteral("connected"), m_service.properties().connected},
                          {QStringLiteral("mode"), m_service.properties().currentMode}});
}

void WebEvents::tellFailure(const QString& what, const QString& problem) {
    broadcast(
        QJsonObject{{QStringLiteral("failed"), QJsonObject{{QStringLiteral("what"), what},
                                                           {QStringLiteral("problem"), problem}}}});
}

void WebEvents::lookAtPlugs() {
    if (authenticatedCount() == 0) {
        return;
    }
    QJsonArray now = plugsJson(m_service.backend().plugs());
    if (now != m_plugsSent) {
        m_plugsSent = now;
        broadcast(QJsonObject{{QStringLiteral("plugs"), now}});
    }
}

} // namespace quilo
