#pragma once

#include "web/PairingStore.h"

#include <QList>
#include <QString>

#include <optional>

namespace quilo {

// What the phone remote keeps between runs, for whichever process owns the
// processor: switched on or not, where it listens and the paired phones (their
// tokens hashed). One JSON file, $XDG_CONFIG_HOME/quilo/web.json, mode 0600,
// replaced atomically.
struct WebSettings {
    static constexpr quint16 kDefaultPort = 8830;
    // The address that listens on every interface (only when the user chose it).
    static constexpr const char* kAllInterfaces = "*";

    bool enabled = false;
    // One address of this machine, kAllInterfaces, or empty: this machine's
    // first address that is not a loopback one.
    QString address;
    quint16 port = kDefaultPort;
    QList<PairedPhone> phones;

    static QString defaultPath();
    // Defaults when the file is missing or does not read; `problem` says why
    // when it exists but does not read.
    static WebSettings load(const QString& path, QString* problem = nullptr);
    // Empty on success, otherwise why not (the old file is then unchanged).
    QString save(const QString& path) const;
};

// Where to listen, as `quilod --web=ADDR:PORT` takes it: "192.168.1.5:8830",
// "[::1]:8830", "*:8830" or ":8830" (every interface); nothing when it does not read.
struct ListenAt {
    QString address;
    quint16 port = WebSettings::kDefaultPort;
};
std::optional<ListenAt> parseListenAt(const QString& text);

} // namespace quilo
