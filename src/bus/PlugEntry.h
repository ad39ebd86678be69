#pragma once

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QList>
#include <QMetaType>
#include <QString>

namespace quilo {

// One plug in the network as the bus tells it: (yys) id, record type, name.
struct PlugEntry {
    uchar id = 0;
    uchar type = 0;
    QString name;
};

inline QDBusArgument& operator<<(QDBusArgument& out, const PlugEntry& plug) {
    out.beginStructure();
    out << plug.id << plug.type << plug.name;
    out.endStructure();
    return out;
}

inline const QDBusArgument& operator>>(const QDBusArgument& in, PlugEntry& plug) {
    in.beginStructure();
    in >> plug.id >> plug.type >> plug.name;
    in.endStructure();
    return in;
}

} // namespace quilo

Q_DECLARE_METATYPE(quilo::PlugEntry)

namespace quilo {

// Before the first call that carries plugs (again is harmless).
inline void registerPlugEntry() {
    qDBusRegisterMetaType<PlugEntry>();
    qDBusRegisterMetaType<QList<PlugEntry>>();
}

} // namespace quilo
