#include "mqtt/MqttAdaptor.h"

#include "bus/BusNames.h"
#include "mqtt/MqttBridge.h"

#include <QDBusConnection>

namespace quilo {

MqttAdaptor::MqttAdaptor(QObject* service, MqttBridge& bridge)
    : QDBusAbstractAdaptor(service), m_bridge(bridge) {}

void MqttAdaptor::On(const QDBusMessage& message) {
    QString problem;
    answer(message, m_bridge.setEnabled(true, &problem), problem);
}

void MqttAdaptor::Off(const QDBusMessage& message) {
    QString problem;
    answer(message, m_bridge.setEnabled(false, &problem), problem);
}

QString MqttAdaptor::Status() {
    return m_bridge.statusText();
}

void MqttAdaptor::answer(const QDBusMessage& message, bool ok, const QString& problem) {
    if (ok) {
        return;
    }
    message.setDelayedReply(true);
    QDBusConnection::sessionBus().send(
        message.createErrorReply(QString::fromLatin1(bus::kFailed), problem));
}

} // namespace quilo
