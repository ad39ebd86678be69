#include "mqtt/MqttOwnerClient.h"

#include "bus/BusNames.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace quilo {

MqttCallReply callMqttBridge(const std::string& method) {
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(bus::kService), QString::fromLatin1(bus::kPath),
        QStringLiteral("org.quilo.Mqtt1"), QString::fromStdString(method));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call);
    MqttCallReply r;
    if (reply.type() == QDBusMessage::ErrorMessage) {
        r.errorText = reply.errorMessage().toStdString();
        if (r.errorText.empty()) {
            r.errorText = reply.errorName().toStdString();
        }
    } else if (!reply.arguments().isEmpty()) {
        r.value = reply.arguments().first().toString().toStdString();
    }
    return r;
}

} // namespace quilo
