#pragma once

// A mosquitto broker of the test's own on a free 127.0.0.1 port, a subscriber that
// sees everything on it, and an in-process owner (quilod's Daemon on an emulated
// processor) with its service and MQTT bridge.
#include "bus/ProcessorService.h"
#include "daemon/Daemon.h"
#include "emulator/EmulatorFile.h"
#include "mqtt/MqttBridge.h"
#include "support/EmulatedNetwork.h"
#include "support/ForkedProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <mosquitto.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace quilo::test {

// Runs the event loop until `done` holds, at most `ms`.
inline bool pumpUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

inline int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t size = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
    ::close(fd);
    return ntohs(a.sin_port);
}

class Broker {
public:
    Broker() : m_port(freePort()) {}
    ~Broker() { stop(); }

    // The lines after "listener PORT 127.0.0.1": TLS, a password file.
    QString listener = QStringLiteral("allow_anonymous true\n");

    QString path(const QString& name) const { return m_dir.filePath(name); }
    int port() const { return m_port; }

    bool start() {
        QFile conf(path(QStringLiteral("mosquitto.conf")));
        conf.open(QIODevice::WriteOnly);
        // Run by root, the broker would become another user that cannot read the test's files.
        const QString user = ::geteuid() == 0 ? QStringLiteral("user root\n") : QString();
        conf.write(QStringLiteral("%1per_listener_settings true\nlistener %2 127.0.0.1\n%3")
                       .arg(user)
                       .arg(m_port)
                       .arg(listener)
                       .toUtf8());
        conf.close();
        return m_process.start("/usr/sbin/mosquitto", {"-c", conf.fileName().toStdString()}) &&
               pumpUntil([this] {
                   QTcpSocket probe;
                   probe.connectToHost(QStringLiteral("127.0.0.1"), quint16(m_port));
                   return probe.waitForConnected(50);
               });
    }
    void stop() { m_process.stop(); }

private:
    QTemporaryDir m_dir;
    int m_port;
    ForkedProcess m_process;
};

// Sees every message on the broker (its own thread), retained ones first.
class Subscriber {
public:
    explicit Subscriber(int port, const char* user = nullptr, const char* password = nullptr) {
        mosquitto_lib_init();
        m_handle = mosquitto_new(nullptr, true, this);
        if (user) {
            mosquitto_username_pw_set(m_handle, user, password);
        }
        mosquitto_connect_callback_set(m_handle, [](mosquitto* m, void*, int rc) {
            if (rc == 0) {
                mosquitto_subscribe(m, nullptr, "#", 0);
            }
        });
        mosquitto_message_callback_set(
            m_handle, [](mosquitto*, void* self, const mosquitto_message* msg) {
                auto* s = static_cast<Subscriber*>(self);
                std::lock_guard guard(s->m_lock);
                const QByteArray payload(static_cast<const char*>(msg->payload), msg->payloadlen);
                s->m_last[QString::fromUtf8(msg->topic)] = payload;
                s->m_all.emplace_back(QString::fromUtf8(msg->topic), payload);
            });
        mosquitto_connect(m_handle, "127.0.0.1", port, 30);
        mosquitto_loop_start(m_handle);
    }
    ~Subscriber() {
        mosquitto_disconnect(m_handle);
        mosquitto_loop_stop(m_handle, false);
        mosquitto_destroy(m_handle);
    }
    void publish(const QString& topic, const QByteArray& payload, bool retain = false) {
        mosquitto_publish(m_handle, nullptr, topic.toUtf8().constData(), int(payload.size()),
                          payload.constData(), 1, retain);
    }
    // The last payload seen on each topic.
    std::map<QString, QByteArray> last() {
        std::lock_guard guard(m_lock);
        return m_last;
    }
    std::optional<QByteArray> lastOn(const QString& topic) {
        std::lock_guard guard(m_lock);
        const auto it = m_last.find(topic);
        return it == m_last.end() ? std::nullopt : std::optional<QByteArray>(it->second);
    }
    std::size_t count() {
        std::lock_guard guard(m_lock);
        return m_all.size();
    }
    void forget() {
        std::lock_guard guard(m_lock);
        m_last.clear();
        m_all.clear();
    }
    bool waitFor(const QString& topic, const QByteArray& payload, int ms = 5000) {
        return pumpUntil([&] { return lastOn(topic) == payload; }, ms);
    }

private:
    mosquitto* m_handle;
    std::mutex m_lock;
    std::map<QString, QByteArray> m_last;
    std::vector<std::pair<QString, QByteArray>> m_all;
};

// quilod's owner in-process on an emulated processor, read back, with its bridge.
struct Owner {
    QTemporaryDir dir;
    std::unique_ptr<Daemon> daemon;
    std::unique_ptr<ProcessorService> service;
    std::unique_ptr<MqttBridge> bridge;

    explicit Owner(const MqttSettings& settings,
                   std::vector<PlugKind> plugs = {PlugKind::Switch, PlugKind::Dimmer,
                                                  PlugKind::Infrared}) {
        Daemon::Options options;
        options.emulate = true;
        options.emulatorFile = dir.filePath(QStringLiteral("state.emu"));
        // Plug 2 a switch, 3 a dimmer, 4 an infrared plug, all in the network.
        saveEmulatorFile(options.emulatorFile.toStdString(), networkState(plugs));
        daemon = std::make_unique<Daemon>(options);
        service = std::make_unique<ProcessorService>(*daemon);
        const MqttSettingsStore store(dir.filePath(QStringLiteral("mqtt.json")));
        store.save(settings);
        bridge = std::make_unique<MqttBridge>(*service, store);
        daemon->start();
        bridge->startWith({});
    }
    ~Owner() {
        bridge.reset();
        daemon->stop();
    }
    bool idle() const {
        return daemon->connected() && daemon->image().mainThreadOwns() &&
               !daemon->connection().sync().busy();
    }
    QString topic(const QString& rest) const {
        return bridge->settings().baseTopic + '/' + bridge->deviceId() + '/' + rest;
    }
};

inline MqttSettings brokerSettings(int port) {
    MqttSettings s;
    s.enabled = true;
    s.port = port;
    s.shortId = QStringLiteral("t35t01");
    return s;
}

} // namespace quilo::test
