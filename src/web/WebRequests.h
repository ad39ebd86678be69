#pragma once

#include "connection/RemoteFields.h"

#include <QByteArray>
#include <QString>

#include <variant>

namespace quilo {

// The bodies of the phone remote's POST requests, read and checked; a refusal
// says why in a short English text (answered as 400 with {"error": text}).
struct PairRequest {
    QString code;
    QString name;
};
struct FieldRequest {
    const RemoteField* field = nullptr;
    double value = 0;
};
struct ModeRequest {
    int mode = 0; // 0-3: M1-M4
};
struct SceneRequest {
    int scene = 0; // 0-5
};
struct PlugRequest {
    int id = 0;
    int value = 0;
};
struct BadRequest {
    QString why;
};

std::variant<PairRequest, BadRequest> readPairRequest(const QByteArray& body);
std::variant<FieldRequest, BadRequest> readFieldRequest(const QByteArray& body);
std::variant<ModeRequest, BadRequest> readModeRequest(const QByteArray& body);
std::variant<SceneRequest, BadRequest> readSceneRequest(const QByteArray& body);
// Values a phone may send a plug: 0 off, 1-98 a dimmer level, 99 on, 255 a
// switch's on, 128-190 an infrared key (learning stays in the window).
std::variant<PlugRequest, BadRequest> readPlugRequest(const QByteArray& body);

// The token a request carries: "Authorization: Bearer T", else the cookie quilo_token.
QString requestToken(const QByteArray& authorization, const QByteArray& cookies);
// True when there is no Origin (not a browser's cross-site request) or it is
// the page's own, http:// and the Host the request was sent to.
bool originIsOwn(const QByteArray& origin, const QByteArray& host);

} // namespace quilo
