#include "mqtt/BridgeTopics.h"

#include "connection/RemoteFields.h"

#include <algorithm>

namespace quilo {

QString BridgeNames::topic(const QString& rest) const {
    return base + QLatin1Char('/') + id + QLatin1Char('/') + rest;
}

std::vector<BridgePlug> bridgePlugs(const PlugTable* table) {
    std::vector<BridgePlug> plugs;
    // Until the records are read, a plug's kind and name are not known.
    if (table == nullptr || !table->plugsSynced()) {
        return plugs;
    }
    const PlugTableData data = table->snapshot();
    for (const int id : data.plugIds()) {
        const PlugRecord record = data.record(id);
        BridgePlug p;
        p.id = id;
        p.dimmer = record.type() == kDimmerPlug;
        p.name = QString::fromStdU16String(record.name());
        p.value = data.presence[static_cast<std::size_t>(id)].lastValue;
        plugs.push_back(p);
    }
    return plugs;
}

QByteArray onOff(bool on) {
    return on ? QByteArrayLiteral("ON") : QByteArrayLiteral("OFF");
}

QByteArray plugPayload(const BridgePlug& plug) {
    if (!plug.dimmer) {
        return onOff(plug.value != kPlugOff);
    }
    // 255 is "on at the last level": shown as full, as the dimmer dialog shows it.
    return QByteArray::number(std::min<int>(plug.value, kPlugOn));
}

Messages stateMessages(const BridgeNames& names, const DeviceImage& image, bool connected,
                       const std::vector<BridgePlug>& plugs) {
    Messages m;
    m[names.topic(QStringLiteral("connected"))] = onOff(connected);
    m[names.topic(QStringLiteral("mode"))] = "M" + QByteArray::number(image.currentMode + 1);
    for (const RemoteField& field : remoteFields()) {
        const int value = remoteFieldValue(image, field);
        m[names.topic(QString::fromUtf8(field.name.data(), qsizetype(field.name.size())))] =
            field.kind == RemoteField::Kind::Mute ? onOff(value != 0) : QByteArray::number(value);
    }
    for (const BridgePlug& plug : plugs) {
        m[names.topic(QStringLiteral("plug/%1").arg(plug.id))] = plugPayload(plug);
    }
    return m;
}

} // namespace quilo
