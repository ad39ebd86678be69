#include "bus/ProcessorService.h"

#include "bus/BusNames.h"
#include "model/ImageDiff.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace quilo {

namespace {

constexpr int kLookMs = 50;

} // namespace

ProcessorService::ProcessorService(ServiceBackend& backend, QObject* parent)
    : QObject(parent), m_backend(backend), m_adaptor(new ProcessorAdaptor(this, backend)) {
    m_tick.setInterval(kLookMs);
    connect(&m_tick, &QTimer::timeout, this, &ProcessorService::look);
    m_soon.setSingleShot(true);
    connect(&m_soon, &QTimer::timeout, this, &ProcessorService::look);
    m_sinceTold.start();
    m_tick.start();
    m_adaptor->setClientChangeCallback([this](const QString& client) {
        poke();
        emit changedByClient(client);
    });
}

ProcessorService::~ProcessorService() {
    if (m_registered) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(QString::fromLatin1(bus::kPath));
        bus.unregisterService(QString::fromLatin1(bus::kService));
    }
}

bool ProcessorService::start(QString* problem) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        if (problem) {
            *problem = QStringLiteral("no session bus");
        }
        return false;
    }
    if (!bus.registerObject(QString::fromLatin1(bus::kPath), this,
                            QDBusConnection::ExportAdaptors)) {
        if (problem) {
            *problem = bus.lastError().message();
        }
        return false;
    }
    const auto reply = bus.interface()->registerService(
        QString::fromLatin1(bus::kService), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(QString::fromLatin1(bus::kPath));
        if (problem) {
            *problem =
                QStringLiteral("the name %1 is taken").arg(QString::fromLatin1(bus::kService));
        }
        return false;
    }
    m_registered = true;
    look();
    return true;
}

void ProcessorService::poke() {
    if (m_soon.isActive()) {
        return;
    }
    const qint64 since = m_sinceTold.elapsed();
    m_soon.start(since >= kLookMs ? 0 : static_cast<int>(kLookMs - since));
}

void ProcessorService::look() {
    const DeviceImage& image = m_backend.image();
    if (!image.mainThreadOwns()) {
        return; // a run holds it; its changes are seen once it is back
    }
    m_soon.stop();
    const ProcessorAdaptor::Properties before = m_adaptor->told();
    const ProcessorAdaptor::Properties now = m_adaptor->current();
    m_adaptor->setTold(now);
    const std::vector<std::string> changed = m_snapshot.update(image);
    if (!(now == before)) {
        if (m_registered) {
            emitPropertiesChanged(before);
        }
        emit propertiesChanged();
    }
    if (!changed.empty()) {
        QStringList names;
        names.reserve(static_cast<qsizetype>(changed.size()));
        for (const std::string& name : changed) {
            names.append(QString::fromStdString(name));
        }
        m_sinceTold.restart();
        if (m_registered) {
            emit m_adaptor->FieldsChanged(names);
        }
        emit fieldsChanged(names);
    }
}

void ProcessorService::emitPropertiesChanged(const ProcessorAdaptor::Properties& before) {
    const ProcessorAdaptor::Properties& now = m_adaptor->told();
    QVariantMap changed;
    if (now.connected != before.connected) {
        changed.insert(QStringLiteral("Connected"), now.connected);
    }
    if (now.model != before.model) {
        changed.insert(QStringLiteral("Model"), now.model);
    }
    if (now.protocolVersion != before.protocolVersion) {
        changed.insert(QStringLiteral("ProtocolVersion"), now.protocolVersion);
    }
    if (now.currentMode != before.currentMode) {
        changed.insert(QStringLiteral("CurrentMode"), now.currentMode);
    }
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(bus::kPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(bus::kInterface) << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

} // namespace quilo
