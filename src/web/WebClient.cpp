#include "web/WebClient.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>

namespace quilo {

namespace {

constexpr const char* kService = "org.quilo.Quilo";
constexpr const char* kPath = "/org/quilo/Quilo";
constexpr const char* kInterface = "org.quilo.Web1";
constexpr const char* kInvalidArgs = "org.quilo.Error.InvalidArgs";

// Qt's bus connection wants an application object; quiloctl has none otherwise.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "quiloctl";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() != nullptr
                                       ? QCoreApplication::instance()
                                       : new QCoreApplication(argc, argv);
    (void)app;
}

} // namespace

WebReply callWebRemote(const std::string& method, const std::string& argument) {
    ensureApplication();
    WebReply reply;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        reply.error = "no session bus";
        return reply;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kService), QString::fromLatin1(kPath), QString::fromLatin1(kInterface),
        QString::fromStdString(method));
    if (method == "Revoke") {
        call << QString::fromStdString(argument);
    }
    const QDBusMessage answer = bus.call(call, QDBus::Block, 10000);
    if (answer.type() == QDBusMessage::ErrorMessage) {
        const QString name = answer.errorName();
        reply.reached =
            !name.startsWith(QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")) &&
            !name.startsWith(QLatin1String("org.freedesktop.DBus.Error.NoReply"));
        reply.error = answer.errorMessage().toStdString();
        reply.invalidArgs = name == QLatin1String(kInvalidArgs);
        if (name.endsWith(QLatin1String("UnknownInterface")) ||
            name.endsWith(QLatin1String("UnknownMethod"))) {
            reply.error = "the owner has no phone remote";
        }
        return reply;
    }
    reply.reached = true;
    for (const QVariant& v : answer.arguments()) {
        if (v.canConvert<QStringList>() && v.typeId() == QMetaType::QStringList) {
            for (const QString& line : v.toStringList()) {
                reply.lines.push_back(line.toStdString());
            }
        } else {
            reply.lines.push_back(v.toString().toStdString());
        }
    }
    return reply;
}

} // namespace quilo
