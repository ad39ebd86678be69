#include "mqtt/MqttSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace quilo {

namespace {

constexpr int kPlainPort = 1883;
constexpr int kTlsPort = 8883;
// A settings file is a few hundred bytes; anything far larger is not ours.
constexpr qint64 kMaxFileBytes = 64 * 1024;

QString newShortId() {
    return QString::number(QRandomGenerator::global()->generate() & 0xffffff, 16)
        .rightJustified(6, QLatin1Char('0'));
}

} // namespace

QString MqttSettings::brokerUrl() const {
    return QStringLiteral("%1://%2:%3")
        .arg(tls ? QStringLiteral("mqtts") : QStringLiteral("mqtt"), host)
        .arg(port);
}

bool MqttSettings::setBrokerUrl(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("mqtt") && scheme != QLatin1String("mqtts")) ||
        !url.userInfo().isEmpty() || (!url.path().isEmpty() && url.path() != QLatin1String("/")) ||
        url.hasQuery() || url.hasFragment()) {
        return false;
    }
    const bool secure = scheme == QLatin1String("mqtts");
    const int givenPort = url.port(secure ? kTlsPort : kPlainPort);
    if (givenPort < 1 || givenPort > 65535) {
        return false;
    }
    host = url.host();
    port = givenPort;
    tls = secure;
    return true;
}

QString MqttSettings::problem() const {
    if (host.trimmed().isEmpty()) {
        return QStringLiteral("no broker host");
    }
    if (port < 1 || port > 65535) {
        return QStringLiteral("the port must be 1-65535");
    }
    if (baseTopic.isEmpty() || baseTopic.contains(QLatin1Char('+')) ||
        baseTopic.contains(QLatin1Char('#'))) {
        return QStringLiteral("the base topic must be a topic without + or #");
    }
    if (discoveryPrefix.isEmpty() || discoveryPrefix.contains(QLatin1Char('+')) ||
        discoveryPrefix.contains(QLatin1Char('#'))) {
        return QStringLiteral("the discovery prefix must be a topic without + or #");
    }
    if (!deviceId.isEmpty() && topicSafe(deviceId) != deviceId) {
        return QStringLiteral("the device id may hold only a-z, 0-9, - and _");
    }
    if (tls && !caFile.isEmpty() && !QFileInfo(caFile).isReadable()) {
        return QStringLiteral("the CA file %1 cannot be read").arg(caFile);
    }
    return {};
}

QString topicSafe(const QString& text) {
    QString out;
    for (const QChar c : text.toLower()) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
            (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') ||
            c == QLatin1Char('_')) {
            out.append(c);
        }
    }
    return out;
}

MqttSettingsStore::MqttSettingsStore(QString path) : m_path(std::move(path)) {}

QString MqttSettingsStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/quilo/mqtt.json");
}

MqttSettings MqttSettingsStore::load() const {
    MqttSettings s;
    QFile file(m_path);
    QJsonObject o;
    if (file.open(QIODevice::ReadOnly) && file.size() <= kMaxFileBytes) {
        o = QJsonDocument::fromJson(file.read(kMaxFileBytes)).object();
    }
    const auto text = [&](const char* key, QString& into) {
        if (const QJsonValue v = o.value(QLatin1String(key)); v.isString()) {
            into = v.toString();
        }
    };
    const auto flag = [&](const char* key, bool& into) {
        if (const QJsonValue v = o.value(QLatin1String(key)); v.isBool()) {
            into = v.toBool();
        }
    };
    flag("enabled", s.enabled);
    text("host", s.host);
    if (const int port = o.value(QLatin1String("port")).toInt(0); port > 0 && port <= 65535) {
        s.port = port;
    }
    text("user", s.user);
    text("password", s.password);
    flag("tls", s.tls);
    text("caFile", s.caFile);
    text("baseTopic", s.baseTopic);
    text("discoveryPrefix", s.discoveryPrefix);
    text("deviceId", s.deviceId);
    text("shortId", s.shortId);
    if (topicSafe(s.shortId) != s.shortId || s.shortId.isEmpty()) {
        s.shortId = newShortId();
    }
    return s;
}

bool MqttSettingsStore::save(const MqttSettings& s, QString* problem) const {
    QJsonObject o;
    o.insert(QLatin1String("enabled"), s.enabled);
    o.insert(QLatin1String("host"), s.host);
    o.insert(QLatin1String("port"), s.port);
    o.insert(QLatin1String("user"), s.user);
    o.insert(QLatin1String("password"), s.password);
    o.insert(QLatin1String("tls"), s.tls);
    o.insert(QLatin1String("caFile"), s.caFile);
    o.insert(QLatin1String("baseTopic"), s.baseTopic);
    o.insert(QLatin1String("discoveryPrefix"), s.discoveryPrefix);
    o.insert(QLatin1String("deviceId"), s.deviceId);
    o.insert(QLatin1String("shortId"), s.shortId);
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    // The password is in it: only the user may read it, from its first byte on.
    const bool ok = file.open(QIODevice::WriteOnly) &&
                    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
                    file.write(QJsonDocument(o).toJson()) >= 0 && file.commit();
    if (!ok && problem) {
        *problem = file.errorString();
    }
    return ok;
}

} // namespace quilo
