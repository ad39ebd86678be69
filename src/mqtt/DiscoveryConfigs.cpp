#include "mqtt/DiscoveryConfigs.h"

#include "connection/RemoteFields.h"
#include "mqtt/MqttSettings.h"
#include "smarthome/StepText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace quilo {

namespace {

constexpr int kEnglish = 1;

class Builder {
public:
    Builder(const BridgeNames& names, const DeviceFacts& device) : m_names(names) {
        m_device.insert(QStringLiteral("identifiers"), QJsonArray{names.id});
        m_device.insert(QStringLiteral("name"), device.model.isEmpty()
                                                    ? QStringLiteral("QUILO")
                                                    : QStringLiteral("QUILO %1").arg(device.model));
        m_device.insert(QStringLiteral("model"), device.model);
        m_device.insert(QStringLiteral("sw_version"), device.firmware);
    }

    // The common keys of one entity; `rest` holds its own.
    void add(const QString& component, const QString& object, const QString& name,
             QJsonObject rest) {
        rest.insert(QStringLiteral("name"), name);
        rest.insert(QStringLiteral("unique_id"), m_names.id + QLatin1Char('_') + object);
        rest.insert(QStringLiteral("object_id"), m_names.id + QLatin1Char('_') + object);
        rest.insert(QStringLiteral("availability_topic"), m_names.availability());
        rest.insert(QStringLiteral("payload_available"), QStringLiteral("online"));
        rest.insert(QStringLiteral("payload_not_available"), QStringLiteral("offline"));
        rest.insert(QStringLiteral("device"), m_device);
        const QString topic = m_names.prefix + QLatin1Char('/') + component + QLatin1Char('/') +
                              m_names.id + QLatin1Char('/') + object + QStringLiteral("/config");
        m_out[topic] = QJsonDocument(rest).toJson(QJsonDocument::Compact);
    }

    // State on BASE/ID/`what`, commands on BASE/ID/`what`/set.
    QJsonObject stateAndCommand(const QString& what) const {
        return {{QStringLiteral("state_topic"), m_names.topic(what)},
                {QStringLiteral("command_topic"), m_names.topic(what + QStringLiteral("/set"))}};
    }

    Messages take() { return std::move(m_out); }

private:
    const BridgeNames& m_names;
    QJsonObject m_device;
    Messages m_out;
};

QJsonObject onOffKeys(QJsonObject o) {
    o.insert(QStringLiteral("payload_on"), QStringLiteral("ON"));
    o.insert(QStringLiteral("payload_off"), QStringLiteral("OFF"));
    return o;
}

QString plugName(const BridgePlug& plug) {
    return plug.name.isEmpty() ? QStringLiteral("Plug %1").arg(plug.id) : plug.name;
}

} // namespace

QString spokenName(std::string_view fieldName) {
    QString out;
    for (const char c : fieldName) {
        if (c >= 'A' && c <= 'Z') {
            out.append(QLatin1Char(' ')).append(QLatin1Char(char(c - 'A' + 'a')));
        } else {
            out.append(QLatin1Char(c));
        }
    }
    if (!out.isEmpty()) {
        out[0] = out[0].toUpper();
    }
    return out;
}

Messages discoveryMessages(const BridgeNames& names, const DeviceFacts& device,
                           const DeviceImage& image, const std::vector<BridgePlug>& plugs) {
    Builder b(names, device);
    for (const RemoteField& field : remoteFields()) {
        const QString what = QString::fromUtf8(field.name.data(), qsizetype(field.name.size()));
        QJsonObject o = b.stateAndCommand(what);
        if (field.kind == RemoteField::Kind::Mute) {
            o = onOffKeys(o);
            o.insert(QStringLiteral("state_on"), QStringLiteral("ON"));
            o.insert(QStringLiteral("state_off"), QStringLiteral("OFF"));
            b.add(QStringLiteral("switch"), what, spokenName(field.name), o);
            continue;
        }
        int maximum = field.maximum;
        if (field.kind == RemoteField::Kind::Volume) {
            maximum = std::min(maximum, masterVolumeLimit(image.machine, field.field));
        }
        o.insert(QStringLiteral("min"), field.minimum);
        o.insert(QStringLiteral("max"), maximum);
        o.insert(QStringLiteral("step"), field.step);
        o.insert(QStringLiteral("mode"), QStringLiteral("slider"));
        b.add(QStringLiteral("number"), what, spokenName(field.name), o);
    }

    QJsonObject mode = b.stateAndCommand(QStringLiteral("mode"));
    mode.insert(QStringLiteral("options"), QJsonArray{QStringLiteral("M1"), QStringLiteral("M2"),
                                                      QStringLiteral("M3"), QStringLiteral("M4")});
    b.add(QStringLiteral("select"), QStringLiteral("mode"), QStringLiteral("Stored mode"), mode);

    for (int s = 0; s < kSceneCount; ++s) {
        const QString scene = QString::fromStdString(sceneName(s, kEnglish));
        b.add(QStringLiteral("scene"), QStringLiteral("scene_") + topicSafe(scene), scene,
              {{QStringLiteral("command_topic"), names.topic(QStringLiteral("scene/set"))},
               {QStringLiteral("payload_on"), scene}});
    }

    b.add(QStringLiteral("binary_sensor"), QStringLiteral("connected"),
          QStringLiteral("Processor connected"),
          onOffKeys({{QStringLiteral("state_topic"), names.topic(QStringLiteral("connected"))},
                     {QStringLiteral("device_class"), QStringLiteral("connectivity")}}));

    for (const BridgePlug& plug : plugs) {
        const QString what = QStringLiteral("plug/%1").arg(plug.id);
        const QString object = QStringLiteral("plug_%1").arg(plug.id);
        QJsonObject o = onOffKeys(b.stateAndCommand(what));
        if (!plug.dimmer) {
            o.insert(QStringLiteral("state_on"), QStringLiteral("ON"));
            o.insert(QStringLiteral("state_off"), QStringLiteral("OFF"));
            b.add(QStringLiteral("switch"), object, plugName(plug), o);
            continue;
        }
        // The state topic carries the brightness 0-99; 0 is off.
        o.insert(QStringLiteral("state_value_template"),
                 QStringLiteral("{{ 'ON' if value | int > 0 else 'OFF' }}"));
        o.insert(QStringLiteral("brightness_state_topic"), names.topic(what));
        o.insert(QStringLiteral("brightness_command_topic"),
                 names.topic(what + QStringLiteral("/set")));
        o.insert(QStringLiteral("brightness_scale"), int(kPlugOn));
        o.insert(QStringLiteral("on_command_type"), QStringLiteral("brightness"));
        b.add(QStringLiteral("light"), object, plugName(plug), o);
    }
    return b.take();
}

} // namespace quilo
