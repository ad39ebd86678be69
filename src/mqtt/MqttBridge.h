#pragma once

#include "bus/ProcessorService.h"
#include "mqtt/BridgeTopics.h"
#include "mqtt/DiscoveryConfigs.h"
#include "mqtt/MqttClient.h"
#include "mqtt/MqttSettings.h"

#include <QObject>
#include <QSet>
#include <QTimer>

namespace quilo {

class MqttAdaptor;
struct BridgeCommand;

// The owner's bridge to home automation over MQTT (off by default): the processor's
// state retained under BASE/ID/, the Home Assistant discovery configs, and the
// commands on BASE/ID/.../set handed to the owner as a bus client's would be. Runs on
// the owner thread; the broker is reached by MqttClient's network thread.
class MqttBridge : public QObject {
    Q_OBJECT
public:
    // What a command is done as (the window names it for a moment).
    static constexpr const char* kClientName = "Home automation";

    MqttBridge(ProcessorService& service, MqttSettingsStore store = MqttSettingsStore(),
               QObject* parent = nullptr);
    // Says offline to the broker before the connection closes.
    ~MqttBridge() override;

    const MqttSettings& settings() const { return m_settings; }
    // New settings, stored, and the bridge started or stopped (again) as they say.
    // False, nothing changed, when they cannot be used or stored.
    bool apply(const MqttSettings& settings, QString* problem = nullptr);
    bool setEnabled(bool on, QString* problem = nullptr);
    // Once the owner is set up: on when the settings say so, or on to the broker at
    // `url` (mqtt[s]://HOST:PORT) when one is given. False when that cannot be.
    bool startWith(const QString& url, QString* problem = nullptr);

    enum class Phase { Off, WaitingForModel, Connecting, Connected, Refused, Lost };
    Phase phase() const;
    // Why the broker cannot be reached or refused the bridge; empty otherwise.
    QString problem() const;
    // The last command refused, with its topic.
    const QString& lastRefusal() const { return m_lastRefusal; }
    // The device id in use; empty while off or waiting for the processor's model.
    const QString& deviceId() const { return m_names.id; }
    // One "key: value" a line, as `quiloctl mqtt status` prints it.
    QString statusText() const;

    // Everything is looked at again and what changed is published.
    void refresh();

signals:
    void statusChanged();

private:
    void start();
    // `farewell`: offline (and with `clearConfigs` the configs emptied) sent first.
    void stop(bool clearConfigs);
    bool resolveNames();
    void connected();
    void publishChanges(Messages& sent, Messages now);
    void take(const QString& topic, const QByteArray& payload);
    void run(const QString& topic, const BridgeCommand& command);
    void refuse(const QString& topic, const QString& why);

    ProcessorService& m_service;
    MqttSettingsStore m_store;
    MqttSettings m_settings;
    MqttClient m_client;
    MqttAdaptor* m_adaptor;
    BridgeNames m_names;
    DeviceFacts m_device;
    bool m_waitingForModel = false;
    Messages m_stateSent;
    Messages m_configsSent;
    QSet<QString> m_logged;
    QString m_lastRefusal;
    QTimer m_plugWatch;
};

} // namespace quilo
