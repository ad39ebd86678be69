#pragma once

#include "bus/PlugEntry.h"
#include "bus/ServiceBackend.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QHash>
#include <QStringList>

#include <functional>

namespace quilo {

// What the processor's owner shows on the session bus: the interface
// org.quilo.Processor1. Its properties are the service's last look at the image
// (see ProcessorService), so that reading them never touches an image a
// synchronisation run holds.
class ProcessorAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quilo.Processor1")
    Q_PROPERTY(bool Connected READ connected)
    Q_PROPERTY(QString Model READ model)
    Q_PROPERTY(uint ProtocolVersion READ protocolVersion)
    Q_PROPERTY(int CurrentMode READ currentMode)
    Q_PROPERTY(QString Owner READ owner)
public:
    struct Properties {
        bool connected = false;
        QString model;
        uint protocolVersion = 0;
        int currentMode = 0;
        bool operator==(const Properties&) const = default;
    };

    ProcessorAdaptor(QObject* parent, ServiceBackend& backend);

    bool connected() const { return current().connected; }
    QString model() const { return current().model; }
    uint protocolVersion() const { return current().protocolVersion; }
    int currentMode() const { return current().currentMode; }
    QString owner() const { return m_backend.ownerName(); }

    // The properties as the image has them now, or as they were last seen while
    // a synchronisation run holds it.
    Properties current() const;
    // As the last PropertiesChanged told them.
    const Properties& told() const { return m_properties; }
    void setTold(const Properties& properties) { m_properties = properties; }

    // Told of every field a client changed, with the client's name.
    void setClientChangeCallback(std::function<void(const QString&)> callback) {
        m_clientChanged = std::move(callback);
    }

public slots:
    QString GetField(const QString& name, const QDBusMessage& message);
    void SetField(const QString& name, const QString& value, const QDBusMessage& message);
    // A filter text into the user bands of equaliser 0-14.
    void ApplyEq(int eqId, const QString& text, const QDBusMessage& message);
    // Reply once the read-back or write-out is done.
    void Pull(const QString& path, const QDBusMessage& message);
    void Push(const QString& path, const QDBusMessage& message);
    void RecallMode(int mode, const QDBusMessage& message);
    void StoreMode(int mode, const QDBusMessage& message);
    void RunScene(int scene, const QDBusMessage& message);
    void SetPlug(uchar id, uchar value, const QDBusMessage& message);
    // type "switch", "dimmer" or "ir"; the reply carries the plug's id.
    uchar IncludePlug(const QString& type, const QString& name, const QDBusMessage& message);
    uchar ExcludePlug(const QDBusMessage& message);
    // The reply carries the learned code.
    uchar LearnRemoteKey(uchar key, uint timeoutS, const QDBusMessage& message);
    void PushRemote(const QString& path, const QDBusMessage& message);
    void PullRemote(const QString& path, const QDBusMessage& message);
    // The plugs in the network, as the owner last synchronised them.
    QList<PlugEntry> GetPlugs();

signals:
    void FieldsChanged(const QStringList& names);

private:
    // Refuses the call with `error`; nothing changed.
    void refuse(const QDBusMessage& message, const char* error, const std::string& text);
    // False, refused as busy, while a synchronisation run holds the image.
    bool imageFree(const QDBusMessage& message);
    // Refuses a long operation that did not start.
    void refuseStart(const QDBusMessage& message, ServiceBackend::LongStart start,
                     const std::string& problem);
    // The program name of the client that sent `message` ("quiloctl"), looked up once.
    QString clientName(const QDBusMessage& message);

    ServiceBackend& m_backend;
    Properties m_properties;
    QHash<QString, QString> m_clients;
    std::function<void(const QString&)> m_clientChanged;
};

} // namespace quilo
