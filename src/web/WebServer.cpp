#include "web/WebServer.h"

#include "bus/ProcessorService.h"
#include "web/BoundedTcpServer.h"
#include "web/WebEvents.h"
#include "web/WebPage.h"
#include "web/WebRemote.h"
#include "web/WebRequests.h"
#include "web/WebState.h"

#include <QtHttpServer/QHttpServerRequest>
#include <QtHttpServer/QHttpServerResponder>
#include <QtHttpServer/QHttpServerResponse>

#include <QJsonDocument>
#include <QPointer>

namespace quilo {

namespace {

using Method = QHttpServerRequest::Method;
using LongStart = ServiceBackend::LongStart;

constexpr int kCookieSeconds = 10 * 365 * 24 * 3600;

QJsonObject error(const QString& why) {
    return QJsonObject{{QStringLiteral("error"), why}};
}

// Headers every answer carries: nothing cached, nothing sniffed, nothing from elsewhere.
void addCommonHeaders(QHttpServerResponse& response) {
    response.addHeader("Cache-Control", "no-store");
    response.addHeader("X-Content-Type-Options", "nosniff");
    response.addHeader("Referrer-Policy", "no-referrer");
    response.addHeader("X-Frame-Options", "DENY");
}

void send(QHttpServerResponder& responder, QHttpServerResponse&& response) {
    addCommonHeaders(response);
    response.write(std::move(responder));
}

void sendJson(QHttpServerResponder& responder, int status, const QJsonObject& body,
              const QByteArray& cookie = {}) {
    QHttpServerResponse response(QByteArrayLiteral("application/json; charset=utf-8"),
                                 QJsonDocument(body).toJson(QJsonDocument::Compact),
                                 static_cast<QHttpServerResponder::StatusCode>(status));
    if (!cookie.isEmpty()) {
        response.addHeader("Set-Cookie", cookie);
    }
    send(responder, std::move(response));
}

// The answer to a long operation as it starts.
template <typename T> T startAnswer(LongStart start, const QString& problem = {}) {
    switch (start) {
    case LongStart::Started:
        return {202, QJsonObject{{QStringLiteral("started"), true}}, {}};
    case LongStart::Busy:
        return {
            409, error(QStringLiteral("busy: a read-back or another operation is running")), {}};
    case LongStart::Refused:
        return {400, error(problem.isEmpty() ? QStringLiteral("refused") : problem), {}};
    case LongStart::NotHere:
        break;
    }
    return {501, error(QStringLiteral("this owner cannot do that")), {}};
}

} // namespace

WebServer::WebServer(WebRemote& remote, ProcessorService& service, QObject* parent)
    : QAbstractHttpServer(parent), m_remote(remote), m_service(service),
      m_events(new WebEvents(remote, service, this)) {
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this, [this] {
        while (hasPendingWebSocketConnections()) {
            m_events->take(nextPendingWebSocketConnection());
        }
    });
}

WebServer::~WebServer() = default;

bool WebServer::listen(const QHostAddress& address, quint16 port, QString* problem) {
    auto* tcp = new BoundedTcpServer(this);
    if (!tcp->listen(address, port)) {
        *problem = tcp->errorString();
        delete tcp;
        return false;
    }
    bind(tcp);
    m_port = tcp->serverPort();
    return true;
}

bool WebServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    QHttpServerResponder responder = makeResponder(request, socket);
    const QString path = request.url().path();
    const bool wantsSocket =
        request.value(QByteArrayLiteral("upgrade")).compare("websocket", Qt::CaseInsensitive) == 0;
    if (path == QLatin1String("/api/events")) {
        if (!wantsSocket) {
            sendJson(responder, 400, error(QStringLiteral("a WebSocket upgrade is expected")));
            return true;
        }
        if (!originIsOwn(request.value("origin"), request.value("host"))) {
            sendJson(responder, 403, error(QStringLiteral("foreign origin")));
            return false; // answered: not upgraded
        }
        if (!m_events->roomForOne()) {
            sendJson(responder, 503, error(QStringLiteral("too many open pages")));
            return false;
        }
        BoundedTcpServer::release(socket);
        return true; // nothing written: the socket becomes a WebSocket
    }
    if (request.body().size() > kMaxBody) {
        sendJson(responder, 413, error(QStringLiteral("the body is over 16 KB")));
    } else if (path.startsWith(QLatin1String("/api/"))) {
        const Answer answer = api(request, path);
        sendJson(responder, answer.status, answer.body, answer.cookie);
    } else if (request.method() == Method::Get || request.method() == Method::Head) {
        answerPage(responder, path);
    } else {
        sendJson(responder, 405, error(QStringLiteral("method not allowed")));
    }
    return true;
}

void WebServer::missingHandler(const QHttpServerRequest&, QTcpSocket*) {
    // Only a refused upgrade gets here, answered already.
}

void WebServer::answerPage(QHttpServerResponder& responder, const QString& path) {
    const std::optional<EmbeddedFile> file = embeddedFile(path, m_remote.language());
    if (!file) {
        sendJson(responder, 404, error(QStringLiteral("not found")));
        return;
    }
    QHttpServerResponse response(file->mimeType, file->bytes);
    response.addHeader("Content-Security-Policy",
                       "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; "
                       "img-src data:; connect-src 'self'; base-uri 'none'; form-action 'none'; "
                       "frame-ancestors 'none'");
    send(responder, std::move(response));
}

WebServer::Answer WebServer::api(const QHttpServerRequest& request, const QString& path) {
    const bool post = request.method() == Method::Post;
    const bool get = request.method() == Method::Get;
    static const QStringList kPosts{QStringLiteral("/api/pair"), QStringLiteral("/api/field"),
                                    QStringLiteral("/api/mode"), QStringLiteral("/api/scene"),
                                    QStringLiteral("/api/plug")};
    const bool known = kPosts.contains(path) || path == QLatin1String("/api/state");
    if (!known) {
        return {404, error(QStringLiteral("not found")), {}};
    }
    if ((path == QLatin1String("/api/state") && !get) ||
        (path != QLatin1String("/api/state") && !post)) {
        return {405, error(QStringLiteral("method not allowed")), {}};
    }
    if (post && !originIsOwn(request.value("origin"), request.value("host"))) {
        return {403, error(QStringLiteral("foreign origin")), {}};
    }
    if (path == QLatin1String("/api/pair")) {
        return pair(request.body());
    }
    const std::optional<QString> phone =
        m_remote.phoneOf(requestToken(request.value("authorization"), request.value("cookie")));
    if (!phone) {
        return {401, error(QStringLiteral("not paired")), {}};
    }
    if (path == QLatin1String("/api/state")) {
        if (!m_service.backend().image().mainThreadOwns()) {
            return {503, error(QStringLiteral("busy: a read-back is running")), {}};
        }
        return {200,
                stateJson(m_service.backend(), m_service.properties().currentMode,
                          m_remote.runningScene(), m_remote.language()),
                {}};
    }
    if (path == QLatin1String("/api/field")) {
        return setField(request.body(), *phone);
    }
    if (path == QLatin1String("/api/mode")) {
        return recallMode(request.body());
    }
    if (path == QLatin1String("/api/scene")) {
        return runScene(request.body());
    }
    return setPlug(request.body());
}

WebServer::Answer WebServer::pair(const QByteArray& body) {
    const auto request = readPairRequest(body);
    if (const auto* bad = std::get_if<BadRequest>(&request)) {
        return {400, error(bad->why), {}};
    }
    const auto& asked = std::get<PairRequest>(request);
    const PairingStore::Outcome outcome = m_remote.pair(asked.code, asked.name);
    switch (outcome.result) {
    case PairingStore::Result::TooManyTries:
        return {429, error(QStringLiteral("too many wrong codes: wait a minute")), {}};
    case PairingStore::Result::WrongCode:
        return {403, error(QStringLiteral("wrong or expired code")), {}};
    case PairingStore::Result::Paired:
        break;
    }
    const QByteArray cookie = "quilo_token=" + outcome.token.toLatin1() +
                              "; Path=/; Max-Age=" + QByteArray::number(kCookieSeconds) +
                              "; HttpOnly; SameSite=Strict";
    return {200,
            QJsonObject{{QStringLiteral("token"), outcome.token},
                        {QStringLiteral("name"), outcome.name}},
            cookie};
}

WebServer::Answer WebServer::setField(const QByteArray& body, const QString& phone) {
    const auto request = readFieldRequest(body);
    if (const auto* bad = std::get_if<BadRequest>(&request)) {
        return {400, error(bad->why), {}};
    }
    const FieldRequest& asked = std::get<FieldRequest>(request);
    ServiceBackend& backend = m_service.backend();
    if (!backend.image().mainThreadOwns()) {
        return {409, error(QStringLiteral("busy: a read-back or write-out is running")), {}};
    }
    const int value = clampRemoteValue(backend.image(), *asked.field, asked.value);
    const std::string name(asked.field->name);
    if (const std::string problem = backend.setField(FieldRef{name, {}}, value, phone);
        !problem.empty()) {
        return {409, error(QString::fromStdString(problem)), {}};
    }
    m_service.poke();
    emit m_service.changedByClient(phone);
    return {200, QJsonObject{{QString::fromStdString(name), value}}, {}};
}

WebServer::Answer WebServer::recallMode(const QByteArray& body) {
    const auto request = readModeRequest(body);
    if (const auto* bad = std::get_if<BadRequest>(&request)) {
        return {400, error(bad->why), {}};
    }
    QPointer<WebEvents> events(m_events);
    const LongStart start = m_service.backend().recallMode(
        std::get<ModeRequest>(request).mode, [events](const std::string& problem) {
            if (events && !problem.empty()) {
                events->tellFailure(QStringLiteral("mode"), QString::fromStdString(problem));
            }
        });
    m_service.poke();
    return startAnswer<Answer>(start);
}

WebServer::Answer WebServer::runScene(const QByteArray& body) {
    const auto request = readSceneRequest(body);
    if (const auto* bad = std::get_if<BadRequest>(&request)) {
        return {400, error(bad->why), {}};
    }
    const int scene = std::get<SceneRequest>(request).scene;
    QPointer<WebEvents> events(m_events);
    QPointer<WebRemote> remote(&m_remote);
    const LongStart start =
        m_service.backend().runScene(scene, [events, remote](const std::string& problem) {
            if (remote) {
                remote->setRunningScene(-1);
            }
            if (events && !problem.empty()) {
                events->tellFailure(QStringLiteral("scene"), QString::fromStdString(problem));
            }
        });
    if (start == LongStart::Started) {
        m_remote.setRunningScene(scene);
    }
    return startAnswer<Answer>(start);
}

WebServer::Answer WebServer::setPlug(const QByteArray& body) {
    const auto request = readPlugRequest(body);
    if (const auto* bad = std::get_if<BadRequest>(&request)) {
        return {400, error(bad->why), {}};
    }
    const PlugRequest& asked = std::get<PlugRequest>(request);
    const PlugTable* plugs = m_service.backend().plugs();
    if (plugs == nullptr || !plugs->present(asked.id)) {
        return {404, error(QStringLiteral("no such plug")), {}};
    }
    QPointer<WebEvents> events(m_events);
    const LongStart start =
        m_service.backend().setPlug(asked.id, asked.value, [events](const std::string& problem) {
            if (events) {
                events->lookAtPlugs();
                if (!problem.empty()) {
                    events->tellFailure(QStringLiteral("plug"), QString::fromStdString(problem));
                }
            }
        });
    return startAnswer<Answer>(start);
}

} // namespace quilo
