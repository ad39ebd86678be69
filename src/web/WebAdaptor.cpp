#include "web/WebAdaptor.h"

#include "bus/BusNames.h"
#include "bus/ProcessorService.h"
#include "web/WebRemote.h"

#include <QDBusConnection>

namespace quilo {

namespace {

void refuse(const QDBusMessage& message, const char* error, const QString& text) {
    message.setDelayedReply(true);
    QDBusConnection::sessionBus().send(message.createErrorReply(QString::fromLatin1(error), text));
}

} // namespace

WebAdaptor::WebAdaptor(ProcessorService& service, WebRemote& remote)
    : QDBusAbstractAdaptor(&service), m_remote(remote) {}

QString WebAdaptor::On(const QDBusMessage& message) {
    if (const QString problem = m_remote.switchOn(); !problem.isEmpty()) {
        refuse(message, bus::kFailed, problem);
        return {};
    }
    return m_remote.url();
}

void WebAdaptor::Off() {
    m_remote.switchOff();
}

QString WebAdaptor::Pair(const QDBusMessage& message) {
    if (!m_remote.isOn()) {
        refuse(message, bus::kFailed, QStringLiteral("the phone remote is off"));
        return {};
    }
    return m_remote.newCode();
}

QStringList WebAdaptor::List() {
    QStringList out;
    for (const PairedPhone& phone : m_remote.phones()) {
        out.append(phone.name + QLatin1Char('\t') + phone.lastUse.toString(Qt::ISODate));
    }
    return out;
}

void WebAdaptor::Revoke(const QString& name, const QDBusMessage& message) {
    if (!m_remote.revoke(name)) {
        refuse(message, bus::kInvalidArgs, QStringLiteral("no phone is paired as '%1'").arg(name));
    }
}

} // namespace quilo
