// The bridge against a real mosquitto broker and quilod's owner on an emulated
// processor: what Home Assistant is told, every kind of command reaching the
// processor and coming back as state, bad input changing nothing, the broker
// restarted, the bridge switched off, TLS and a refused password.
#include "BrokerHarness.h"
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
    const QString light = "homeassistant/light/" + owner->bridge->deviceId() + "/plug_3/config";
    ASSERT_TRUE(pumpUntil([&] { return sub->lastOn(light).has_value(); }, 10000))
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
