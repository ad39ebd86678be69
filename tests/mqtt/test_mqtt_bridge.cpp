// The bridge against a real mosquitto broker and quilod's owner on an emulated
// processor: what Home Assistant is told, every kind of command reaching the
// processor and coming back as state, bad input changing nothing, the broker
// restarted, the bridge switched off, TLS and a refused password.
#include "BrokerHarness.h"
#include "device/Command.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorTransport.h"
#include "model/ImageDiff.h"
#include "support/RunCommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <set>

using namespace quilo;
using namespace quilo::test;

namespace {

// Home Assistant's documented discovery keys of the components used, and the
// ones each must have.
struct Component {
    std::set<QString> keys;
    std::set<QString> required;
};
const std::set<QString> kCommonKeys{"name",
                                    "unique_id",
                                    "object_id",
                                    "availability_topic",
                                    "payload_available",
                                    "payload_not_available",
                                    "device"};
const std::map<QString, Component> kComponents{
    {"number", {{"command_topic", "state_topic", "min", "max", "step", "mode"}, {"command_topic"}}},
    {"switch",
     {{"command_topic", "state_topic", "payload_on", "payload_off", "state_on", "state_off"},
      {"command_topic"}}},
    {"select", {{"command_topic", "state_topic", "options"}, {"command_topic", "options"}}},
    {"scene", {{"command_topic", "payload_on"}, {"command_topic"}}},
    {"binary_sensor",
     {{"state_topic", "payload_on", "payload_off", "device_class"}, {"state_topic"}}},
    {"light",
     {{"command_topic", "state_topic", "state_value_template", "brightness_state_topic",
       "brightness_command_topic", "brightness_scale", "on_command_type", "payload_on",
       "payload_off"},
      {"command_topic"}}},
};
const std::set<QString> kDeviceKeys{"identifiers", "name", "model", "sw_version"};

std::map<QString, QJsonObject> configsOf(const std::map<QString, QByteArray>& seen) {
    std::map<QString, QJsonObject> out;
    for (const auto& [topic, payload] : seen) {
        if (topic.startsWith(QLatin1String("homeassistant/")) && !payload.isEmpty()) {
            out[topic] = QJsonDocument::fromJson(payload).object();
        }
    }
    return out;
}

// The owner read back, its plugs synchronised and everything published.
void startAll(Broker& broker, std::unique_ptr<Subscriber>& sub, std::unique_ptr<Owner>& owner) {
    ASSERT_TRUE(broker.start());
    sub = std::make_unique<Subscriber>(broker.port());
    owner = std::make_unique<Owner>(brokerSettings(broker.port()));
    ASSERT_TRUE(pumpUntil(
        [&] { return owner->idle() && owner->bridge->phase() == MqttBridge::Phase::Connected; }));
    // The switch of plug 4 is the last config published.
    const QString last = "homeassistant/switch/" + owner->bridge->deviceId() + "/plug_4/config";
    ASSERT_TRUE(pumpUntil([&] { return sub->lastOn(last).has_value(); }, 10000))
        << "the emulated processor's plugs did not show";
}

} // namespace

TEST(MqttBridge, DiscoveryConfigsUseOnlyDocumentedKeysAndEveryCommandComesBackAsState) {
    Broker broker;
    std::unique_ptr<Subscriber> sub;
    std::unique_ptr<Owner> owner;
    startAll(broker, sub, owner);
    const QString id = owner->bridge->deviceId();
    EXPECT_TRUE(id.startsWith(QLatin1String("mivrax_t35t01"))) << id.toStdString();
    ASSERT_TRUE(sub->waitFor(owner->topic("availability"), "online"));

    const auto configs = configsOf(sub->last());
    std::set<QString> uniqueIds;
    std::map<QString, int> perComponent;
    for (const auto& [topic, config] : configs) {
        const QStringList parts = topic.split('/');
        ASSERT_EQ(parts.size(), 5) << topic.toStdString();
        ASSERT_EQ(parts[2], id);
        ASSERT_EQ(parts[4], "config");
        const auto component = kComponents.find(parts[1]);
        ASSERT_NE(component, kComponents.end()) << topic.toStdString();
        ++perComponent[parts[1]];
        for (const QString& key : config.keys()) {
            EXPECT_TRUE(kCommonKeys.count(key) || component->second.keys.count(key))
                << topic.toStdString() << ": undocumented key " << key.toStdString();
        }
        for (const QString& key : component->second.required) {
            EXPECT_TRUE(config.contains(key))
                << topic.toStdString() << " lacks " << key.toStdString();
        }
        EXPECT_TRUE(uniqueIds.insert(config["unique_id"].toString()).second);
        EXPECT_EQ(config["availability_topic"].toString(), owner->topic("availability"));
        const QJsonObject device = config["device"].toObject();
        EXPECT_EQ(device["identifiers"].toArray(), QJsonArray{id});
        EXPECT_EQ(device["model"].toString(), "MIVRAX");
        EXPECT_FALSE(device["sw_version"].toString().isEmpty());
        for (const QString& key : device.keys()) {
            EXPECT_TRUE(kDeviceKeys.count(key)) << key.toStdString();
        }
        // Every state a config points to is there, retained.
        for (const char* key : {"state_topic", "brightness_state_topic"}) {
            if (config.contains(key)) {
                EXPECT_TRUE(sub->lastOn(config[key].toString()).has_value())
                    << topic.toStdString() << ": " << key;
            }
        }
    }
    // Five volumes and the pitch, four mutes (and the plugs), the mode, six scenes, the link.
    EXPECT_EQ(perComponent["number"], 6);
    EXPECT_EQ(perComponent["select"], 1);
    EXPECT_EQ(perComponent["scene"], 6);
    EXPECT_EQ(perComponent["binary_sensor"], 1);
    EXPECT_EQ(perComponent["light"], 1);  // the emulated dimmer
    EXPECT_EQ(perComponent["switch"], 6); // and the switch and infrared plugs

    // One command of each kind reaches the processor and comes back as state.
    struct Case {
        const char* topic;
        QByteArray payload;
        const char* state;
        QByteArray expected;
    };
    const Case cases[] = {
        {"micVolume/set", "40", "micVolume", "40"},
        {"echoVolume/set", "150", "echoVolume", "99"}, // brought into range as the slider does
        {"musicPitch/set", "-2.4", "musicPitch", "-2"},
        {"micMute/set", "ON", "micMute", "ON"},
        {"micMute/set", "off", "micMute", "OFF"},
        {"mode/set", "M2", "mode", "M2"},
        {"plug/2/set", "ON", "plug/2", "ON"},
        {"plug/3/set", "40", "plug/3", "40"},
        {"plug/3/set", "OFF", "plug/3", "0"},
    };
    for (const Case& c : cases) {
        sub->publish(owner->topic(c.topic), c.payload);
        EXPECT_TRUE(sub->waitFor(owner->topic(c.state), c.expected))
            << c.topic << " " << c.payload.toStdString() << " -> "
            << sub->lastOn(owner->topic(c.state)).value_or("(none)").toStdString();
        ASSERT_TRUE(pumpUntil([&] { return owner->idle(); }));
    }
    EXPECT_EQ(owner->daemon->image().params.micVolume, 40);
    EXPECT_EQ(owner->daemon->image().currentMode, 1);
    // A scene by its name runs on the processor: its one step switches plug 2 off.
    Scene movie{};
    movie[0] = {2, 0};
    owner->daemon->connection().smartHome().table().setScene(1, movie);
    sub->publish(owner->topic("scene/set"), "Movie");
    EXPECT_TRUE(sub->waitFor(owner->topic("plug/2"), "OFF"));
    EXPECT_EQ(owner->bridge->lastRefusal(), QString());
}

namespace {

std::vector<QString> g_warnings;
void keepWarning(QtMsgType, const QMessageLogContext&, const QString& text) {
    g_warnings.push_back(text);
}

bool anyReport(Owner& owner, Command command) {
    const auto received = owner.daemon->connection().emulatorTransport()->withEmulator(
        [](Emulator& e) { return e.received(); });
    return std::any_of(received.begin(), received.end(),
                       [&](const Report& r) { return r[1] == std::uint8_t(command); });
}

} // namespace

TEST(MqttBridge, BadInputOnEveryCommandTopicChangesNothingAndIsLoggedOncePerTopic) {
    Broker broker;
    std::unique_ptr<Subscriber> sub;
    std::unique_ptr<Owner> owner;
    startAll(broker, sub, owner);
    const std::vector<std::string> before = modeFieldLines(owner->daemon->image());
    const auto plugsBefore = sub->last();
    owner->daemon->connection().emulatorTransport()->withEmulator(
        [](Emulator& e) { e.clearLog(); });

    const std::pair<const char*, QByteArray> bad[] = {
        {"micVolume/set", "loud"}, {"micVolume/set", "nan"},
        {"micVolume/set", ""},     {"musicVolume/set", QByteArray(1 << 20, '7')},
        {"micMute/set", "2"},      {"mode/set", "M5"},
        {"mode/set", "2"},         {"scene/set", "Disco"},
        {"scene/set", "6"},        {"plug/9/set", "ON"},
        {"plug/2/set", "50"},      {"plug/3/set", "dim"},
        {"plug/x/set", "ON"},      {"loudness/set", "5"},
    };
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepWarning);
    std::set<QString> topics;
    for (int round = 0; round < 2; ++round) {
        for (const auto& [topic, payload] : bad) {
            sub->publish(owner->topic(topic), payload);
            topics.insert(owner->topic(topic));
        }
    }
    // Handled in order: once this comes back, every bad message was looked at.
    sub->publish(owner->topic("echoVolume/set"), "41");
    const bool sentinel = sub->waitFor(owner->topic("echoVolume"), "41");
    qInstallMessageHandler(previous);
    ASSERT_TRUE(sentinel);

    std::vector<std::string> after = modeFieldLines(owner->daemon->image());
    std::vector<std::string> expected = before;
    for (std::string& line : expected) {
        if (line.starts_with("echoVolume=")) {
            line = "echoVolume=41";
        }
    }
    EXPECT_EQ(after, expected);
    EXPECT_EQ(owner->daemon->image().currentMode, 0);
    EXPECT_FALSE(anyReport(*owner, Command::ZwaveFrame)) << "a plug or scene was driven";
    EXPECT_FALSE(anyReport(*owner, Command::LoadMode)) << "a mode was recalled";
    for (const char* plug : {"plug/2", "plug/3", "plug/4"}) {
        EXPECT_EQ(sub->lastOn(owner->topic(plug)), plugsBefore.at(owner->topic(plug))) << plug;
    }
    std::map<QString, int> logged;
    for (const QString& w : g_warnings) {
        for (const QString& t : topics) {
            if (w.contains(t + ':')) {
                ++logged[t];
            }
        }
    }
    EXPECT_EQ(logged.size(), topics.size());
    for (const auto& [topic, count] : logged) {
        EXPECT_EQ(count, 1) << topic.toStdString();
    }
}

TEST(MqttBridge, ComesBackWithEverythingAfterTheBrokerRestarts) {
    Broker broker;
    std::unique_ptr<Subscriber> sub;
    std::unique_ptr<Owner> owner;
    startAll(broker, sub, owner);
    const std::size_t configs = configsOf(sub->last()).size();
    sub.reset();
    broker.stop();
    ASSERT_TRUE(pumpUntil([&] { return owner->bridge->phase() == MqttBridge::Phase::Lost; }));
    EXPECT_FALSE(owner->bridge->problem().isEmpty());
    // A broker without persistence: it knows nothing retained when it comes back.
    ASSERT_TRUE(broker.start());
    Subscriber fresh(broker.port());
    ASSERT_TRUE(pumpUntil(
        [&] {
            return configsOf(fresh.last()).size() == configs &&
                   fresh.lastOn(owner->topic("plug/4"));
        },
        10000));
    EXPECT_EQ(fresh.lastOn(owner->topic("availability")), "online");
    EXPECT_EQ(fresh.lastOn(owner->topic("micVolume")), "50");
    EXPECT_EQ(owner->bridge->phase(), MqttBridge::Phase::Connected);
}

TEST(MqttBridge, SwitchedOffItEmptiesTheConfigsAndSaysOffline) {
    Broker broker;
    std::unique_ptr<Subscriber> sub;
    std::unique_ptr<Owner> owner;
    startAll(broker, sub, owner);
    const QString availability = owner->topic("availability");
    ASSERT_TRUE(owner->bridge->setEnabled(false));
    EXPECT_EQ(owner->bridge->phase(), MqttBridge::Phase::Off);
    EXPECT_FALSE(MqttSettingsStore(owner->dir.filePath("mqtt.json")).load().enabled);
    ASSERT_TRUE(sub->waitFor(availability, "offline"));
    // What a newcomer is given: no entity, the device offline.
    Subscriber fresh(broker.port());
    ASSERT_TRUE(fresh.waitFor(availability, "offline"));
    EXPECT_TRUE(configsOf(fresh.last()).empty());
}

namespace {

// A certificate authority made now, and the broker's certificate for 127.0.0.1 from it.
bool makeCertificates(const Broker& broker, const QString& ca) {
    const std::string dir = broker.path({}).toStdString();
    const std::string key = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes ";
    const std::string cmd =
        "(cd '" + dir + "' && openssl req -x509" + key + "-keyout " + ca.toStdString() +
        ".key -out " + ca.toStdString() + ".pem -days 1 -subj /CN=" + ca.toStdString() +
        " && openssl req" + key + "-keyout server.key -out server.csr -subj /CN=127.0.0.1" +
        " && printf 'subjectAltName=IP:127.0.0.1' > san && openssl x509 -req -in server.csr -CA " +
        ca.toStdString() + ".pem -CAkey " + ca.toStdString() +
        ".key -CAcreateserial -out server.pem -days 1 -extfile san)";
    return runCommand(cmd + " >/dev/null 2>&1; echo $?").out == "0\n";
}

} // namespace

TEST(MqttBridge, ReachesATlsBrokerOnlyThroughItsAuthority) {
    Broker broker;
    ASSERT_TRUE(makeCertificates(broker, "testca"));
    broker.listener =
        QStringLiteral("allow_anonymous true\ncafile %1\ncertfile %2\nkeyfile %3\n")
            .arg(broker.path("testca.pem"), broker.path("server.pem"), broker.path("server.key"));
    ASSERT_TRUE(broker.start());
    // Another authority, made the same way: the broker's certificate is not its.
    Broker other;
    ASSERT_TRUE(makeCertificates(other, "otherca"));

    MqttSettings s = brokerSettings(broker.port());
    s.tls = true;
    s.caFile = other.path("otherca.pem");
    s.deviceId = QStringLiteral("tls_test");
    Owner owner(s);
    ASSERT_TRUE(pumpUntil([&] { return owner.bridge->phase() == MqttBridge::Phase::Lost; }));
    s.caFile = broker.path("testca.pem");
    ASSERT_TRUE(owner.bridge->apply(s));
    EXPECT_TRUE(pumpUntil([&] { return owner.bridge->phase() == MqttBridge::Phase::Connected; }))
        << owner.bridge->statusText().toStdString();
}

TEST(MqttBridge, SaysTheBrokerRefusedThePassword) {
    Broker broker;
    ASSERT_EQ(runCommand("mosquitto_passwd -b -c '" + broker.path("passwords").toStdString() +
                         "' quilo right; echo $?")
                  .out,
              "0\n");
    broker.listener =
        QStringLiteral("allow_anonymous false\npassword_file %1\n").arg(broker.path("passwords"));
    ASSERT_TRUE(broker.start());
    MqttSettings s = brokerSettings(broker.port());
    s.user = QStringLiteral("quilo");
    s.password = QStringLiteral("wrong");
    s.deviceId = QStringLiteral("password_test");
    Owner owner(s);
    ASSERT_TRUE(pumpUntil([&] { return owner.bridge->phase() == MqttBridge::Phase::Refused; }));
    EXPECT_TRUE(owner.bridge->problem().contains("password"));
    EXPECT_TRUE(owner.bridge->statusText().startsWith("state: refused\n"));
    s.password = QStringLiteral("right");
    ASSERT_TRUE(owner.bridge->apply(s));
    EXPECT_TRUE(pumpUntil([&] { return owner.bridge->phase() == MqttBridge::Phase::Connected; }));
}
