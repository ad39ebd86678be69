#pragma once

#include "bus/MainThreadPoster.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

namespace quilo {

// One connection to an MQTT broker on libmosquitto, kept up by a network thread of
// its own: it connects, reconnects after a loss or a refusal with a growing pause
// (1 s, doubled up to 60 s, back to 1 s once connected) and ends by itself when
// stopped. Nothing here waits on the network: publish and subscribe queue for that
// thread, and what it has to tell is posted onto this object's thread.
class MqttClient : public QObject {
    Q_OBJECT
public:
    struct Options {
        QString host;
        int port = 1883;
        QString user; // none when empty
        QString password;
        bool tls = false;
        QString caFile; // with tls; the system's authorities when empty
        QString clientId;
        // The broker's last will for this connection, retained.
        QString willTopic;
        QByteArray willPayload;
    };
    enum class State { Off, Connecting, Connected, Refused, Lost };

    explicit MqttClient(QObject* parent = nullptr);
    // Stops, and waits a moment for the last messages to leave.
    ~MqttClient() override;

    // Starts the network thread; false, with the reason, when the options cannot be
    // used (the CA file does not read).
    bool start(const Options& options, QString* problem = nullptr);
    // What is queued is sent, the connection closed cleanly (no last will), and the
    // network thread ends by itself.
    void stop();
    // Queued for the network thread; false while there is no connection.
    bool publish(const QString& topic, const QByteArray& payload, bool retain = true);
    bool subscribe(const QString& pattern);

    State state() const { return m_state; }
    // Why the last attempt failed or the connection ended; empty while connected.
    const QString& problem() const { return m_problem; }

signals:
    // Connected, the first time or again: everything is to be published anew.
    void connected();
    void stateChanged();
    // A message on a subscribed topic; a payload longer than `kMaxCommandBytes` comes
    // cut one byte past that.
    void received(const QString& topic, const QByteArray& payload);

private:
    struct Link;
    void setState(State state, const QString& problem);

    MainThreadPoster m_poster;
    std::shared_ptr<Link> m_link;
    State m_state = State::Off;
    QString m_problem;
};

} // namespace quilo
