#pragma once

#include "web/PairingStore.h"
#include "web/WebSettings.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

namespace quilo {

class ProcessorService;
class WebServer;

// This machine's first IPv4 address that is neither loopback nor link-local
// (127.0.0.1 when there is none).
QString firstLanAddress();

// The phone remote of the process that owns the processor (the desktop program
// or quilod): its settings, the pairing and, while switched on, the web server.
// Everything runs on the owner's thread; nothing it does waits on the network.
class WebRemote : public QObject {
    Q_OBJECT
public:
    struct Options {
        QString settingsPath;      // empty: WebSettings::defaultPath()
        PairingStore::Clock clock; // empty: the steady clock
    };
    WebRemote(ProcessorService& service, const Options& options, QObject* parent = nullptr);
    ~WebRemote() override;

    const WebSettings& settings() const { return m_settings; }
    // Listens at the settings' address and port and remembers that it is on;
    // empty on success, otherwise why not (it is off then).
    QString switchOn();
    // The same at a new address (see WebSettings::address) and port, remembered
    // unless `remember` is false (a command line's choice for one run).
    QString switchOn(const QString& address, quint16 port, bool remember = true);
    void switchOff();
    bool isOn() const { return m_server != nullptr; }
    // The port listened on (the chosen one when the settings say 0); 0 when off.
    quint16 port() const;
    // Where it listens while on.
    const ListenAt& listening() const { return m_listening; }
    // The page's address as a phone reaches it; with every interface, at
    // firstLanAddress().
    QString url() const;

    QString newCode();
    QString code() const { return m_pairing.code(); }
    qint64 codeMsLeft() const { return m_pairing.codeMsLeft(); }
    QList<PairedPhone> phones() const { return m_pairing.phones(); }
    // Its token stops working at once; its open pages are closed.
    bool revoke(const QString& name);

    // The page's language until it is switched there (0 Chinese, 1 English).
    int language() const { return m_language; }
    void setLanguage(int language) { m_language = language; }

    // For the server: a pairing try, and whose token this is (nothing if none).
    PairingStore::Outcome pair(const QString& code, const QString& name);
    std::optional<QString> phoneOf(const QString& token);
    // The scene a phone started, while it runs; -1 when none.
    int runningScene() const { return m_runningScene; }
    void setRunningScene(int scene);

signals:
    // Switched on or off, a new code, a phone paired or revoked, or a phone used.
    void changed();
    void revoked(const QString& name);
    void runningSceneChanged(int scene);

private:
    void save();

    ProcessorService& m_service;
    QString m_path;
    WebSettings m_settings;
    PairingStore m_pairing;
    std::unique_ptr<WebServer> m_server;
    ListenAt m_listening; // while on
    QTimer m_saveUse;     // last uses are written at most once a minute
    int m_language = 0;
    int m_runningScene = -1;
};

} // namespace quilo
