#include "web/WebRemote.h"

#include "bus/ProcessorService.h"
#include "web/WebServer.h"

#include <QHostAddress>
#include <QNetworkInterface>

namespace quilo {

namespace {

constexpr int kSaveUseMs = 60 * 1000;

} // namespace

QString firstLanAddress() {
    for (const QHostAddress& a : QNetworkInterface::allAddresses()) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback() && !a.isLinkLocal()) {
            return a.toString();
        }
    }
    return QStringLiteral("127.0.0.1");
}

WebRemote::WebRemote(ProcessorService& service, const Options& options, QObject* parent)
    : QObject(parent), m_service(service),
      m_path(options.settingsPath.isEmpty() ? WebSettings::defaultPath() : options.settingsPath),
      m_settings(WebSettings::load(m_path)), m_pairing(options.clock) {
    m_pairing.setPhones(m_settings.phones);
    m_saveUse.setSingleShot(true);
    m_saveUse.setInterval(kSaveUseMs);
    connect(&m_saveUse, &QTimer::timeout, this, &WebRemote::save);
}

WebRemote::~WebRemote() {
    if (m_saveUse.isActive()) {
        save();
    }
}

QString WebRemote::switchOn() {
    return switchOn(m_settings.address, m_settings.port);
}

QString WebRemote::switchOn(const QString& address, quint16 port, bool remember) {
    QHostAddress host = QHostAddress::Any;
    if (address != QLatin1String(WebSettings::kAllInterfaces) &&
        !host.setAddress(address.isEmpty() ? firstLanAddress() : address)) {
        return QStringLiteral("%1 is not an address").arg(address);
    }
    m_server.reset();
    auto server = std::make_unique<WebServer>(*this, m_service);
    QString problem;
    if (!server->listen(host, port, &problem)) {
        emit changed();
        return problem;
    }
    m_server = std::move(server);
    m_listening = ListenAt{address, port};
    if (remember) {
        m_settings.address = address;
        m_settings.port = port;
        m_settings.enabled = true;
        save();
    }
    emit changed();
    return {};
}

void WebRemote::switchOff() {
    m_server.reset();
    m_settings.enabled = false;
    save();
    emit changed();
}

quint16 WebRemote::port() const {
    return m_server ? m_server->port() : 0;
}

QString WebRemote::url() const {
    const QString address = isOn() ? m_listening.address : m_settings.address;
    const QString host = address.isEmpty() || address == QLatin1String(WebSettings::kAllInterfaces)
                             ? firstLanAddress()
                             : address;
    const QHostAddress a(host);
    const QString shown =
        a.protocol() == QAbstractSocket::IPv6Protocol ? QStringLiteral("[%1]").arg(host) : host;
    return QStringLiteral("http://%1:%2/").arg(shown).arg(isOn() ? port() : m_settings.port);
}

QString WebRemote::newCode() {
    const QString code = m_pairing.newCode();
    emit changed();
    return code;
}

bool WebRemote::revoke(const QString& name) {
    if (!m_pairing.revoke(name)) {
        return false;
    }
    save();
    emit revoked(name);
    emit changed();
    return true;
}

PairingStore::Outcome WebRemote::pair(const QString& code, const QString& name) {
    PairingStore::Outcome outcome = m_pairing.pair(code, name, QDateTime::currentDateTimeUtc());
    if (outcome.result == PairingStore::Result::Paired) {
        save();
    }
    // A wrong try may have used the code up.
    emit changed();
    return outcome;
}

std::optional<QString> WebRemote::phoneOf(const QString& token) {
    std::optional<QString> phone = m_pairing.phoneOf(token, QDateTime::currentDateTimeUtc());
    if (phone && !m_saveUse.isActive()) {
        m_saveUse.start();
        emit changed();
    }
    return phone;
}

void WebRemote::setRunningScene(int scene) {
    if (scene != m_runningScene) {
        m_runningScene = scene;
        emit runningSceneChanged(scene);
    }
}

void WebRemote::save() {
    m_saveUse.stop();
    m_settings.phones = m_pairing.phones();
    // A settings file that cannot be written leaves the remote working for this run.
    (void)m_settings.save(m_path);
}

} // namespace quilo
