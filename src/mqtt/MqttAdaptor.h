#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>

namespace quilo {

class MqttBridge;

// The bridge on the session bus, beside the processor's interface on the owner's
// object: org.quilo.Mqtt1 with On, Off and Status (what `quiloctl mqtt` calls).
class MqttAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quilo.Mqtt1")
public:
    MqttAdaptor(QObject* service, MqttBridge& bridge);

public slots:
    // Switch the bridge on or off (and store that); a refusal says why.
    void On(const QDBusMessage& message);
    void Off(const QDBusMessage& message);
    // "key: value" lines: state, broker, topics, problem, last refused command.
    QString Status();

private:
    void answer(const QDBusMessage& message, bool ok, const QString& problem);

    MqttBridge& m_bridge;
};

} // namespace quilo
