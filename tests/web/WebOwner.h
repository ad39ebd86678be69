#pragma once

#include "HttpCall.h"
#include "bus/ProcessorService.h"
#include "daemon/Daemon.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorFile.h"
#include "emulator/EmulatorTransport.h"
#include "support/EmulatedNetwork.h"
#include "web/WebRemote.h"

#include <QTemporaryDir>
#include <QtTest/QTest>

#include <functional>
#include <memory>

namespace quilo::test {

inline bool waitFor(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) {
            return false;
        }
        QTest::qWait(5);
    }
    return true;
}

// quilod's owner logic on the emulated processor, its service (no bus) and its
// phone remote on 127.0.0.1 at a free port, with a clock the test moves; with
// `plugs`, the processor's Z-Wave network holds those plugs (ids 2, 3, …).
struct WebOwner {
    QTemporaryDir dir;
    qint64 clockMs = 1'000'000;
    std::unique_ptr<Daemon> daemon;
    std::unique_ptr<ProcessorService> service;
    std::unique_ptr<WebRemote> remote;
    quint16 port = 0;

    explicit WebOwner(const std::vector<PlugKind>& plugs = {}) {
        Daemon::Options options;
        options.emulate = true;
        options.emulatorFile = dir.filePath(QStringLiteral("state.emu"));
        if (!plugs.empty()) {
            saveEmulatorFile(options.emulatorFile.toStdString(), networkState(plugs));
        }
        daemon = std::make_unique<Daemon>(options);
        daemon->start();
        waitFor([this] { return idle(); });
        service = std::make_unique<ProcessorService>(*daemon);
        service->look(); // as start() does: later looks tell what changed since
        remote = std::make_unique<WebRemote>(
            *service, WebRemote::Options{dir.filePath(QStringLiteral("web.json")),
                                         [this] { return clockMs; }});
        remote->setLanguage(1);
        remote->switchOn(QStringLiteral("127.0.0.1"), 0, false);
        port = remote->port();
    }
    ~WebOwner() {
        remote.reset();
        service.reset();
        daemon->stop();
    }
    bool idle() const {
        return daemon->connected() && daemon->image().mainThreadOwns() &&
               !daemon->connection().sync().busy();
    }
    template <typename F> auto emulator(F&& f) {
        return daemon->connection().emulatorTransport()->withEmulator(std::forward<F>(f));
    }
    HttpAnswer post(const QByteArray& path, const QByteArray& body, const QByteArray& token = {},
                    Headers headers = {}) {
        if (!token.isEmpty()) {
            headers.append({"Authorization", "Bearer " + token});
        }
        return httpCall(port, "POST", path, headers, body);
    }
    HttpAnswer get(const QByteArray& path, const QByteArray& token = {}) {
        Headers headers;
        if (!token.isEmpty()) {
            headers.append({"Cookie", "theme=dark; quilo_token=" + token});
        }
        return httpCall(port, "GET", path, headers);
    }
    // A phone paired under `name`; its token.
    QByteArray pairPhone(const QString& name) {
        const QString code = remote->newCode();
        const HttpAnswer answer = post(
            "/api/pair", QStringLiteral(R"({"code":"%1","name":"%2"})").arg(code, name).toUtf8());
        return answer.json().value(QStringLiteral("token")).toString().toLatin1();
    }
};

} // namespace quilo::test
