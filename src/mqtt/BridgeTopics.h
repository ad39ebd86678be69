#pragma once

#include "model/DeviceImage.h"
#include "smarthome/PlugTable.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <vector>

namespace quilo {

// Retained messages by topic: what the bridge publishes, and what it last published.
using Messages = std::map<QString, QByteArray>;

// Where the bridge's topics are: BASE/ID/... for state and commands,
// PREFIX/<component>/ID/<object>/config for discovery.
struct BridgeNames {
    QString base;
    QString prefix;
    QString id;

    // BASE/ID/`rest`.
    QString topic(const QString& rest) const;
    QString availability() const { return topic(QStringLiteral("availability")); }
};

// One plug of the network as the bridge shows it.
struct BridgePlug {
    int id = 0;
    bool dimmer = false; // a dimmer is a light with a brightness 0-99, anything else a switch
    QString name;
    int value = 0; // the last value sent to or reported by it
};

// The plugs in the network (ids 2-232), in id order, once their records are read;
// none without a table.
std::vector<BridgePlug> bridgePlugs(const PlugTable* table);

// "ON" or "OFF".
QByteArray onOff(bool on);
// A plug's state payload: ON/OFF for a switch, the brightness 0-99 for a dimmer.
QByteArray plugPayload(const BridgePlug& plug);

// Everything under BASE/ID/ but the availability, from the image the owner thread
// owns: connected, mode (M1-M4), one topic per remote field, plug/NODE.
Messages stateMessages(const BridgeNames& names, const DeviceImage& image, bool connected,
                       const std::vector<BridgePlug>& plugs);

} // namespace quilo
