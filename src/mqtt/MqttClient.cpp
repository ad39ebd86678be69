#include "mqtt/MqttClient.h"

#include "mqtt/CommandTopics.h"

#include <mosquitto.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>

namespace quilo {

namespace {

using namespace std::chrono_literals;

constexpr int kKeepAliveSeconds = 30;
constexpr int kLoopTimeoutMs = 100;
constexpr auto kFirstPause = 1s;
constexpr auto kLongestPause = 60s;
// How long the destructor lets the last messages leave.
constexpr auto kFarewell = 1s;

void initLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

QString errorText(int rc) {
    if (rc == MOSQ_ERR_ERRNO) {
        return QString::fromLocal8Bit(std::strerror(errno));
    }
    return QString::fromUtf8(mosquitto_strerror(rc));
}

QString refusalText(int rc) {
    // 4: bad user name or password; 5: not authorised (what brokers answer to both).
    if (rc == 4 || rc == 5) {
        return QStringLiteral("the broker refused the user name or password");
    }
    return QString::fromUtf8(mosquitto_connack_string(rc));
}

} // namespace

// What the network thread and this object share. The thread owns the mosquitto
// handle once started; `target` is cleared (under the lock) when this object lets go.
struct MqttClient::Link {
    mosquitto* handle = nullptr;
    MqttClient::Options options;
    std::mutex lock;
    std::condition_variable wake;
    MqttClient* target = nullptr;
    bool stopping = false;
    bool finished = false;
    // Set by the callbacks during one attempt, on the network thread only.
    bool up = false;
    QString refusal;

    // Runs `call` on the target's thread, if there still is a target.
    void post(std::function<void(MqttClient&)> call) {
        std::lock_guard guard(lock);
        if (target != nullptr) {
            MqttClient* t = target;
            t->m_poster.post([t, call = std::move(call)] { call(*t); });
        }
    }
    bool stopRequested() {
        std::lock_guard guard(lock);
        return stopping;
    }
    void run();
};

void MqttClient::Link::run() {
    auto pause = std::chrono::seconds(kFirstPause);
    const QByteArray host = options.host.toUtf8();
    while (!stopRequested()) {
        post([](MqttClient& c) { c.setState(State::Connecting, {}); });
        up = false;
        refusal.clear();
        int rc = mosquitto_connect(handle, host.constData(), options.port, kKeepAliveSeconds);
        while (rc == MOSQ_ERR_SUCCESS && !stopRequested()) {
            rc = mosquitto_loop(handle, kLoopTimeoutMs, 1);
        }
        const QString failure = errorText(rc);
        if (stopRequested()) {
            break;
        }
        if (up) {
            pause = kFirstPause; // it was connected: start counting again
        }
        const bool refused = !refusal.isEmpty();
        const QString why = refused ? refusal : failure;
        post([refused, why](MqttClient& c) {
            c.setState(refused ? State::Refused : State::Lost, why);
        });
        std::unique_lock guard(lock);
        if (wake.wait_for(guard, pause, [this] { return stopping; })) {
            break;
        }
        pause = std::min<std::chrono::seconds>(pause * 2, kLongestPause);
    }
    // Whatever was published before the stop goes out before the goodbye.
    if (mosquitto_disconnect(handle) == MOSQ_ERR_SUCCESS) {
        for (int i = 0; i < 20 && mosquitto_loop(handle, 50, 1) == MOSQ_ERR_SUCCESS; ++i) {
        }
    }
    mosquitto_destroy(handle);
    handle = nullptr;
    std::lock_guard guard(lock);
    finished = true;
    wake.notify_all();
}

MqttClient::MqttClient(QObject* parent) : QObject(parent) {
    initLibrary();
}

MqttClient::~MqttClient() {
    const std::shared_ptr<Link> link = m_link;
    stop();
    if (link) {
        std::unique_lock guard(link->lock);
        link->wake.wait_for(guard, kFarewell, [&] { return link->finished; });
    }
}

bool MqttClient::start(const Options& options, QString* problem) {
    stop();
    auto link = std::make_shared<Link>();
    link->options = options;
    const QByteArray id = options.clientId.toUtf8();
    link->handle = mosquitto_new(id.constData(), true, link.get());
    const auto fail = [&](const QString& why) {
        if (link->handle != nullptr) {
            mosquitto_destroy(link->handle);
        }
        if (problem) {
            *problem = why;
        }
        setState(State::Off, why);
        return false;
    };
    if (link->handle == nullptr) {
        return fail(QStringLiteral("libmosquitto could not make a client"));
    }
    mosquitto_threaded_set(link->handle, true);
    // Many small messages at once (everything after a reconnection) must not wait
    // for acknowledgements of the ones before.
    mosquitto_int_option(link->handle, MOSQ_OPT_TCP_NODELAY, 1);
    if (!options.user.isEmpty()) {
        mosquitto_username_pw_set(link->handle, options.user.toUtf8().constData(),
                                  options.password.toUtf8().constData());
    }
    const QByteArray will = options.willTopic.toUtf8();
    if (!will.isEmpty()) {
        mosquitto_will_set(link->handle, will.constData(), int(options.willPayload.size()),
                           options.willPayload.constData(), 1, true);
    }
    if (options.tls) {
        const QByteArray ca = options.caFile.toLocal8Bit();
        const int rc = ca.isEmpty() ? mosquitto_tls_set(link->handle, nullptr, "/etc/ssl/certs",
                                                        nullptr, nullptr, nullptr)
                                    : mosquitto_tls_set(link->handle, ca.constData(), nullptr,
                                                        nullptr, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            return fail(QStringLiteral("TLS cannot be set up with %1: %2")
                            .arg(ca.isEmpty() ? QStringLiteral("/etc/ssl/certs") : options.caFile,
                                 errorText(rc)));
        }
    }
    mosquitto_connect_callback_set(link->handle, [](mosquitto*, void* data, int rc) {
        auto* l = static_cast<Link*>(data);
        if (rc == 0) {
            l->up = true;
            l->post([](MqttClient& c) {
                c.setState(State::Connected, {});
                emit c.connected();
            });
        } else {
            l->refusal = refusalText(rc);
        }
    });
    mosquitto_message_callback_set(
        link->handle, [](mosquitto*, void* data, const mosquitto_message* m) {
            const QString topic = QString::fromUtf8(m->topic);
            // Enough to tell a command from a payload that is too long, never more.
            const int length = std::min(m->payloadlen, kMaxCommandBytes + 1);
            const QByteArray payload(static_cast<const char*>(m->payload), length);
            static_cast<Link*>(data)->post(
                [topic, payload](MqttClient& c) { emit c.received(topic, payload); });
        });
    link->target = this;
    m_link = link;
    std::thread([link] { link->run(); }).detach();
    return true;
}

void MqttClient::stop() {
    if (!m_link) {
        return;
    }
    {
        std::lock_guard guard(m_link->lock);
        m_link->target = nullptr;
        m_link->stopping = true;
        m_link->wake.notify_all();
    }
    m_link.reset();
    setState(State::Off, {});
}

bool MqttClient::publish(const QString& topic, const QByteArray& payload, bool retain) {
    if (!m_link || m_state != State::Connected) {
        return false;
    }
    const QByteArray t = topic.toUtf8();
    return mosquitto_publish(m_link->handle, nullptr, t.constData(), int(payload.size()),
                             payload.constData(), 0, retain) == MOSQ_ERR_SUCCESS;
}

bool MqttClient::subscribe(const QString& pattern) {
    if (!m_link || m_state != State::Connected) {
        return false;
    }
    return mosquitto_subscribe(m_link->handle, nullptr, pattern.toUtf8().constData(), 0) ==
           MOSQ_ERR_SUCCESS;
}

void MqttClient::setState(State state, const QString& problem) {
    // A refusal stays the news while the next attempts are under way, and so does
    // the reason a connection was lost.
    if (state == State::Connecting && m_state == State::Refused) {
        return;
    }
    const QString why = state == State::Connecting && m_state == State::Lost ? m_problem : problem;
    if (state == m_state && why == m_problem) {
        return;
    }
    m_state = state;
    m_problem = why;
    emit stateChanged();
}

} // namespace quilo
