#include "web/WebSettings.h"

#include "model/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quilo {

QString WebSettings::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/quilo/web.json");
}

WebSettings WebSettings::load(const QString& path, QString* problem) {
    WebSettings settings;
    QFile file(path);
    if (!file.exists()) {
        return settings;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem) {
            *problem = file.errorString();
        }
        return settings;
    }
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.read(1 << 20), &error);
    if (!doc.isObject()) {
        if (problem) {
            *problem = error.errorString();
        }
        return settings;
    }
    const QJsonObject root = doc.object();
    settings.enabled = root.value(QStringLiteral("enabled")).toBool(false);
    settings.address = root.value(QStringLiteral("address")).toString();
    const int port = root.value(QStringLiteral("port")).toInt(kDefaultPort);
    settings.port = port > 0 && port <= 65535 ? static_cast<quint16>(port) : kDefaultPort;
    for (const QJsonValue& v : root.value(QStringLiteral("phones")).toArray()) {
        const QJsonObject o = v.toObject();
        PairedPhone phone;
        phone.name = o.value(QStringLiteral("name")).toString();
        phone.tokenHash =
            QByteArray::fromHex(o.value(QStringLiteral("tokenSha256")).toString().toLatin1());
        phone.lastUse =
            QDateTime::fromString(o.value(QStringLiteral("lastUse")).toString(), Qt::ISODateWithMs);
        if (!phone.name.isEmpty() && phone.tokenHash.size() == 32) {
            settings.phones.append(phone);
        }
    }
    return settings;
}

QString WebSettings::save(const QString& path) const {
    QJsonArray phoneList;
    for (const PairedPhone& phone : phones) {
        phoneList.append(QJsonObject{
            {QStringLiteral("name"), phone.name},
            {QStringLiteral("tokenSha256"), QString::fromLatin1(phone.tokenHash.toHex())},
            {QStringLiteral("lastUse"), phone.lastUse.toString(Qt::ISODateWithMs)},
        });
    }
    const QJsonObject root{
        {QStringLiteral("enabled"), enabled},
        {QStringLiteral("address"), address},
        {QStringLiteral("port"), port},
        {QStringLiteral("phones"), phoneList},
    };
    const QByteArray bytes = QJsonDocument(root).toJson();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return QStringLiteral("cannot make the folder of %1").arg(path);
    }
    // A replaced file keeps its mode: make it the owner's alone before it holds anything.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd >= 0) {
        ::fchmod(fd, 0600);
        ::close(fd);
    }
    const std::error_code error =
        writeFileAtomically(std::filesystem::path(native.toStdString()),
                            std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                      static_cast<std::size_t>(bytes.size())));
    return error ? QString::fromStdString(error.message()) : QString();
}

std::optional<ListenAt> parseListenAt(const QString& text) {
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon < 0) {
        return std::nullopt;
    }
    QString address = text.left(colon);
    if (address.isEmpty() || address == QLatin1String(WebSettings::kAllInterfaces)) {
        address = QLatin1String(WebSettings::kAllInterfaces);
    } else if (address.startsWith(QLatin1Char('[')) && address.endsWith(QLatin1Char(']'))) {
        address = address.mid(1, address.size() - 2);
    } else if (address.contains(QLatin1Char(':'))) {
        return std::nullopt; // an IPv6 address goes in brackets
    }
    bool ok = false;
    const uint port = text.mid(colon + 1).toUInt(&ok);
    if (!ok || port == 0 || port > 65535) {
        return std::nullopt;
    }
    if (address != QLatin1String(WebSettings::kAllInterfaces) && QHostAddress(address).isNull()) {
        return std::nullopt;
    }
    return ListenAt{address, static_cast<quint16>(port)};
}

} // namespace quilo
