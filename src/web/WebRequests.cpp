#include "web/WebRequests.h"

#include "smarthome/PlugRecord.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>
#include <optional>

namespace quilo {

namespace {

std::optional<QJsonObject> objectOf(const QByteArray& body, QString* why) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (!doc.isObject()) {
        *why = QStringLiteral("the body is not a JSON object");
        return std::nullopt;
    }
    return doc.object();
}

// A whole number in [low, high] under `key`.
std::optional<int> wholeIn(const QJsonObject& o, const char* key, int low, int high, QString* why) {
    const QJsonValue v = o.value(QLatin1String(key));
    const double d = v.toDouble(NAN);
    if (!v.isDouble() || !std::isfinite(d) || d != std::floor(d) || d < low || d > high) {
        *why = QStringLiteral("\"%1\" must be a whole number from %2 to %3")
                   .arg(QLatin1String(key))
                   .arg(low)
                   .arg(high);
        return std::nullopt;
    }
    return static_cast<int>(d);
}

bool plugValueAllowed(int value) {
    return value <= kPlugOn || value == kPlugOnSwitch ||
           (value >= kEmitKeyValue && value < kEmitKeyValue + kInfraredKeyCount);
}

} // namespace

std::variant<PairRequest, BadRequest> readPairRequest(const QByteArray& body) {
    QString why;
    const auto o = objectOf(body, &why);
    if (!o) {
        return BadRequest{why};
    }
    const QJsonValue code = o->value(QStringLiteral("code"));
    const QJsonValue name = o->value(QStringLiteral("name"));
    if (!code.isString() || (!name.isUndefined() && !name.isString())) {
        return BadRequest{QStringLiteral("\"code\" and \"name\" must be texts")};
    }
    return PairRequest{code.toString(), name.toString()};
}

std::variant<FieldRequest, BadRequest> readFieldRequest(const QByteArray& body) {
    QString why;
    const auto o = objectOf(body, &why);
    if (!o) {
        return BadRequest{why};
    }
    const QJsonValue name = o->value(QStringLiteral("name"));
    const RemoteField* field =
        name.isString() ? findRemoteField(name.toString().toStdString()) : nullptr;
    if (field == nullptr) {
        return BadRequest{QStringLiteral("\"name\" is not a field the remote may change")};
    }
    const QJsonValue value = o->value(QStringLiteral("value"));
    double v = NAN;
    if (value.isBool()) {
        v = value.toBool() ? 1 : 0;
    } else if (value.isDouble()) {
        v = value.toDouble();
    }
    if (!std::isfinite(v)) {
        return BadRequest{QStringLiteral("\"value\" must be a number")};
    }
    return FieldRequest{field, v};
}

std::variant<ModeRequest, BadRequest> readModeRequest(const QByteArray& body) {
    QString why;
    const auto o = objectOf(body, &why);
    if (!o) {
        return BadRequest{why};
    }
    const auto mode = wholeIn(*o, "recall", 0, 3, &why);
    return mode ? std::variant<ModeRequest, BadRequest>(ModeRequest{*mode}) : BadRequest{why};
}

std::variant<SceneRequest, BadRequest> readSceneRequest(const QByteArray& body) {
    QString why;
    const auto o = objectOf(body, &why);
    if (!o) {
        return BadRequest{why};
    }
    const auto scene = wholeIn(*o, "run", 0, kSceneCount - 1, &why);
    return scene ? std::variant<SceneRequest, BadRequest>(SceneRequest{*scene}) : BadRequest{why};
}

std::variant<PlugRequest, BadRequest> readPlugRequest(const QByteArray& body) {
    QString why;
    const auto o = objectOf(body, &why);
    if (!o) {
        return BadRequest{why};
    }
    const auto id = wholeIn(*o, "id", kFirstPlugId, kLastPlugId, &why);
    if (!id) {
        return BadRequest{why};
    }
    const auto value = wholeIn(*o, "value", 0, 255, &why);
    if (!value || !plugValueAllowed(*value)) {
        return BadRequest{QStringLiteral("\"value\" must be 0-99, 255 or an infrared key 128-190")};
    }
    return PlugRequest{*id, *value};
}

QString requestToken(const QByteArray& authorization, const QByteArray& cookies) {
    static const QByteArray kBearer = QByteArrayLiteral("bearer ");
    const QByteArray auth = authorization.trimmed();
    if (auth.size() > kBearer.size() && auth.left(kBearer.size()).toLower() == kBearer) {
        return QString::fromLatin1(auth.mid(kBearer.size()).trimmed());
    }
    for (const QByteArray& part : cookies.split(';')) {
        const QByteArray pair = part.trimmed();
        if (pair.startsWith("quilo_token=")) {
            return QString::fromLatin1(pair.mid(12));
        }
    }
    return {};
}

bool originIsOwn(const QByteArray& origin, const QByteArray& host) {
    if (origin.isEmpty()) {
        return true;
    }
    return !host.isEmpty() && origin.toLower() == "http://" + host.toLower();
}

} // namespace quilo
