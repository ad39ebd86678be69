#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QStringList>

namespace quilo {

class ProcessorService;
class WebRemote;

// The phone remote on the owner's bus object (/org/quilo/Quilo), interface
// org.quilo.Web1, for `quiloctl web`: switch it on or off, a fresh pairing code,
// the paired phones and a revocation. Made a child of the service before or
// after the service is on the bus.
class WebAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quilo.Web1")
public:
    WebAdaptor(ProcessorService& service, WebRemote& remote);

public slots:
    // The page's address once it listens.
    QString On(const QDBusMessage& message);
    void Off();
    // A fresh code, valid five minutes.
    QString Pair(const QDBusMessage& message);
    // One "name<TAB>last use (ISO 8601, UTC)" per paired phone.
    QStringList List();
    void Revoke(const QString& name, const QDBusMessage& message);

private:
    WebRemote& m_remote;
};

} // namespace quilo
