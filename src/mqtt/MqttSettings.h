#pragma once

#include <QString>

namespace quilo {

// How the owner reaches the home-automation broker, and the names it uses there.
struct MqttSettings {
    bool enabled = false;
    QString host = QStringLiteral("127.0.0.1");
    int port = 1883;
    QString user;
    QString password;
    bool tls = false;
    QString caFile; // with tls: the authority the broker's certificate must come from
    QString baseTopic = QStringLiteral("quilo");
    QString discoveryPrefix = QStringLiteral("homeassistant");
    // Empty: the processor's model name and shortId, fixed here once the model is known.
    QString deviceId;
    // Made once, so that two processors of one model get different ids.
    QString shortId;

    bool operator==(const MqttSettings&) const = default;

    // "mqtt://HOST:PORT" or "mqtts://HOST:PORT".
    QString brokerUrl() const;
    // Takes host, port and TLS from such a URL (port 1883 or 8883 when left out);
    // false, and nothing changed, for anything else.
    bool setBrokerUrl(const QString& url);
    // Empty when the settings can be used, otherwise why not (in English).
    QString problem() const;
};

// `text` with everything but letters, digits, '-' and '_' left out, lower case: a
// topic level and an id Home Assistant takes.
QString topicSafe(const QString& text);

// The settings file, readable by the user only: $XDG_CONFIG_HOME/quilo/mqtt.json.
class MqttSettingsStore {
public:
    explicit MqttSettingsStore(QString path = defaultPath());
    static QString defaultPath();
    const QString& path() const { return m_path; }

    // The stored settings; the defaults (with a new shortId) when there is no
    // usable file.
    MqttSettings load() const;
    // Replaces the file whole (never half written), mode 0600; false with the
    // reason in `problem` when it could not be written.
    bool save(const MqttSettings& settings, QString* problem = nullptr) const;

private:
    QString m_path;
};

} // namespace quilo
