#include "mqtt/MqttBridge.h"

#include "model/Synchroniser.h"
#include "mqtt/CommandTopics.h"
#include "mqtt/DiscoveryConfigs.h"
#include "mqtt/MqttAdaptor.h"

#include <QDebug>
#include <QPointer>

namespace quilo {

namespace {

// Plugs join and leave through the smart-home workers, which tell no one: looked at
// this often, well within the 100 ms a change may take to be published.
constexpr int kPlugWatchMs = 50;

// The processor's identity once it is read back (before, the image holds the factory's).
DeviceFacts identity(ServiceBackend& backend) {
    const DeviceImage& image = backend.image();
    if (!backend.connected() || !image.mainThreadOwns() ||
        checkIdentity(image) != IdentityVerdict::Ok) {
        return {};
    }
    QStringList dates;
    for (const std::u16string* d : {&image.info.firmwareDateA, &image.info.firmwareDateB}) {
        if (!d->empty()) {
            dates.append(QString::fromStdU16String(*d));
        }
    }
    return {QString::fromStdU16String(image.info.modelName), dates.join(QStringLiteral(" / "))};
}

} // namespace

MqttBridge::MqttBridge(ProcessorService& service, MqttSettingsStore store, QObject* parent)
    : QObject(parent), m_service(service), m_store(std::move(store)), m_settings(m_store.load()),
      m_adaptor(new MqttAdaptor(&service, *this)) {
    connect(&m_service, &ProcessorService::fieldsChanged, this, &MqttBridge::refresh);
    connect(&m_service, &ProcessorService::propertiesChanged, this, [this] {
        if (m_waitingForModel) {
            start();
        } else {
            refresh();
        }
    });
    connect(&m_client, &MqttClient::connected, this, &MqttBridge::connected);
    connect(&m_client, &MqttClient::stateChanged, this, &MqttBridge::statusChanged);
    connect(&m_client, &MqttClient::received, this, &MqttBridge::take);
    m_plugWatch.setInterval(kPlugWatchMs);
    connect(&m_plugWatch, &QTimer::timeout, this, &MqttBridge::refresh);
}

MqttBridge::~MqttBridge() {
    stop(false);
    delete m_adaptor;
}

bool MqttBridge::startWith(const QString& url, QString* problem) {
    if (url.isEmpty()) {
        if (m_settings.enabled) {
            start();
        }
        return true;
    }
    MqttSettings s = m_settings;
    s.enabled = true;
    if (!s.setBrokerUrl(url)) {
        if (problem) {
            *problem = QStringLiteral("not a broker: %1").arg(url);
        }
        return false;
    }
    return apply(s, problem);
}

bool MqttBridge::apply(const MqttSettings& settings, QString* problem) {
    QString why = settings.enabled ? settings.problem() : QString();
    if (why.isEmpty() && !m_store.save(settings, &why)) {
        why = QStringLiteral("the settings could not be stored in %1: %2").arg(m_store.path(), why);
    }
    if (!why.isEmpty()) {
        if (problem) {
            *problem = why;
        }
        return false;
    }
    const bool wasOn = m_settings.enabled;
    m_settings = settings;
    // Off clears what Home Assistant was told; a restart under new names clears the old.
    stop(true);
    if (m_settings.enabled) {
        start();
    }
    if (!wasOn && !m_settings.enabled) {
        emit statusChanged();
    }
    return true;
}

bool MqttBridge::setEnabled(bool on, QString* problem) {
    MqttSettings s = m_settings;
    s.enabled = on;
    return apply(s, problem);
}

bool MqttBridge::resolveNames() {
    m_names.base = m_settings.baseTopic;
    m_names.prefix = m_settings.discoveryPrefix;
    m_names.id = m_settings.deviceId;
    if (!m_names.id.isEmpty()) {
        return true;
    }
    const QString model = topicSafe(identity(m_service.backend()).model);
    if (model.isEmpty()) {
        return false;
    }
    // Kept, so that the topics stay where they are whatever the processor says later.
    m_names.id = model + QLatin1Char('_') + m_settings.shortId;
    m_settings.deviceId = m_names.id;
    m_store.save(m_settings);
    return true;
}

void MqttBridge::start() {
    m_waitingForModel = false;
    if (!resolveNames()) {
        m_names.id.clear();
        m_waitingForModel = true;
        emit statusChanged();
        return;
    }
    MqttClient::Options o;
    o.host = m_settings.host;
    o.port = m_settings.port;
    o.user = m_settings.user;
    o.password = m_settings.password;
    o.tls = m_settings.tls;
    o.caFile = m_settings.caFile;
    o.clientId = QStringLiteral("quilo-") + m_names.id;
    o.willTopic = m_names.availability();
    o.willPayload = "offline";
    m_logged.clear();
    m_lastRefusal.clear();
    m_client.start(o);
    m_plugWatch.start();
    emit statusChanged();
}

void MqttBridge::stop(bool clearConfigs) {
    m_waitingForModel = false;
    m_plugWatch.stop();
    if (m_client.state() == MqttClient::State::Connected) {
        if (clearConfigs) {
            for (const auto& [topic, payload] : m_configsSent) {
                m_client.publish(topic, {});
            }
        }
        m_client.publish(m_names.availability(), "offline");
    }
    m_client.stop();
    m_stateSent.clear();
    m_configsSent.clear();
    m_names.id.clear();
}

void MqttBridge::connected() {
    // The broker may have lost everything (a restart): all of it again.
    m_stateSent.clear();
    m_configsSent.clear();
    m_client.publish(m_names.availability(), "online");
    m_client.subscribe(m_names.topic(QStringLiteral("+/set")));
    m_client.subscribe(m_names.topic(QStringLiteral("plug/+/set")));
    refresh();
}

void MqttBridge::refresh() {
    const DeviceImage& image = m_service.backend().image();
    // While a run holds the image its changes are told once it is back.
    if (m_client.state() != MqttClient::State::Connected || !image.mainThreadOwns()) {
        return;
    }
    const std::vector<BridgePlug> plugs = bridgePlugs(m_service.backend().plugs());
    publishChanges(m_stateSent,
                   stateMessages(m_names, image, m_service.backend().connected(), plugs));
    // Kept while the processor is away, so the configs do not change with its absence.
    if (DeviceFacts now = identity(m_service.backend()); !now.model.isEmpty()) {
        m_device = std::move(now);
    }
    publishChanges(m_configsSent, discoveryMessages(m_names, m_device, image, plugs));
}

void MqttBridge::publishChanges(Messages& sent, Messages now) {
    // A plug that left: its retained topics are emptied, which removes them. First,
    // so that a plug that changed its kind never has two entities at once.
    for (const auto& [topic, payload] : sent) {
        if (now.find(topic) == now.end()) {
            m_client.publish(topic, {});
        }
    }
    for (const auto& [topic, payload] : now) {
        const auto it = sent.find(topic);
        if (it == sent.end() || it->second != payload) {
            m_client.publish(topic, payload);
        }
    }
    sent = std::move(now);
}

void MqttBridge::take(const QString& topic, const QByteArray& payload) {
    const DeviceImage& image = m_service.backend().image();
    if (!image.mainThreadOwns()) {
        refuse(topic, QStringLiteral("busy: a read-back or write-out is running"));
        return;
    }
    const ParsedCommand parsed =
        parseCommand(m_names, topic, payload, image, bridgePlugs(m_service.backend().plugs()));
    if (!parsed.command) {
        refuse(topic, parsed.refusal);
        return;
    }
    run(topic, *parsed.command);
}

void MqttBridge::run(const QString& topic, const BridgeCommand& command) {
    ServiceBackend& backend = m_service.backend();
    const QString client = QString::fromLatin1(kClientName);
    if (command.kind == BridgeCommand::Kind::Field) {
        const std::string problem =
            backend.setField(FieldRef{std::string(command.field->name), {}}, command.value, client);
        if (!problem.empty()) {
            refuse(topic, QString::fromStdString(problem));
        }
        m_service.poke();
        return;
    }
    QPointer<MqttBridge> self(this);
    const auto done = [self, topic](const std::string& problem) {
        if (self && !problem.empty()) {
            self->refuse(topic, QString::fromStdString(problem));
        }
        if (self) {
            self->m_service.poke();
        }
    };
    ServiceBackend::LongStart start = ServiceBackend::LongStart::NotHere;
    switch (command.kind) {
    case BridgeCommand::Kind::Mode:
        start = backend.recallMode(command.value, done);
        break;
    case BridgeCommand::Kind::Scene:
        start = backend.runScene(command.value, done);
        break;
    case BridgeCommand::Kind::Plug:
        start = backend.setPlug(command.plug, command.value, done);
        break;
    case BridgeCommand::Kind::Field:
        break;
    }
    if (start == ServiceBackend::LongStart::Busy) {
        refuse(topic, QStringLiteral("busy: another operation is running"));
    } else if (start != ServiceBackend::LongStart::Started) {
        refuse(topic, QStringLiteral("%1 cannot do this").arg(backend.ownerName()));
    }
}

void MqttBridge::refuse(const QString& topic, const QString& why) {
    m_lastRefusal = topic + QStringLiteral(": ") + why;
    // Once a topic: a client that repeats a bad message must not fill the log.
    if (!m_logged.contains(topic)) {
        m_logged.insert(topic);
        qWarning().noquote() << QStringLiteral("mqtt: refused %1").arg(m_lastRefusal);
    }
    emit statusChanged();
}

MqttBridge::Phase MqttBridge::phase() const {
    if (m_waitingForModel) {
        return Phase::WaitingForModel;
    }
    switch (m_client.state()) {
    case MqttClient::State::Off:
        return Phase::Off;
    case MqttClient::State::Connecting:
        return Phase::Connecting;
    case MqttClient::State::Connected:
        return Phase::Connected;
    case MqttClient::State::Refused:
        return Phase::Refused;
    case MqttClient::State::Lost:
        return Phase::Lost;
    }
    return Phase::Off;
}

QString MqttBridge::problem() const {
    return m_client.problem();
}

QString MqttBridge::statusText() const {
    static const char* const kPhases[] = {
        "off", "waiting for the processor", "connecting", "connected", "refused", "lost"};
    QString text = QStringLiteral("state: %1\n").arg(QLatin1String(kPhases[int(phase())]));
    text += QStringLiteral("enabled: %1\n")
                .arg(m_settings.enabled ? QStringLiteral("yes") : QStringLiteral("no"));
    text += QStringLiteral("broker: %1\n").arg(m_settings.brokerUrl());
    if (!m_names.id.isEmpty()) {
        text += QStringLiteral("topics: %1\n").arg(m_names.topic(QStringLiteral("#")));
    }
    if (!problem().isEmpty()) {
        text += QStringLiteral("problem: %1\n").arg(problem());
    }
    if (!m_lastRefusal.isEmpty()) {
        text += QStringLiteral("last refused: %1\n").arg(m_lastRefusal);
    }
    return text;
}

} // namespace quilo
