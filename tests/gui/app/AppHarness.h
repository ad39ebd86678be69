#pragma once

#include "ScriptedPrompter.h"
#include "app/CMFCMyRibbonStatusBar.h"
#include "app/CMainFrame.h"
#include "app/CMyMFCRibbonBar.h"
#include "app/CVORNEXv13App.h"
#include "app/CVORNEXv13View.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorTransport.h"
#include "ui/Texts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace quilo::test {

// Keeps the event loop running until `done` holds or `ms` have passed.
inline bool waitUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        // Outside a running event loop nothing would carry out deleteLater.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

inline void pump(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// A whole program on the emulated processor, with its own settings and help
// folder, short synchronisation pauses and a prompter that answers for the user.
struct AppHarness {
    QTemporaryDir dir;
    std::unique_ptr<CVORNEXv13App> app;
    ScriptedPrompter* prompter = nullptr;

    explicit AppHarness(bool emulate = true, int language = 0,
                        const std::function<void(AppOptions&)>& tweak = {}) {
        AppOptions o;
        o.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
        o.helpFolder = dir.filePath(QStringLiteral("help"));
        o.session.emulate = emulate;
        o.session.syncTimings.pullSettle = std::chrono::milliseconds(20);
        o.session.syncTimings.pullTail = std::chrono::milliseconds(0);
        o.session.syncTimings.pushSettle = std::chrono::milliseconds(10);
        o.session.syncTimings.pushTail = std::chrono::milliseconds(0);
        o.session.syncTimings.volumeStep = std::chrono::milliseconds(1);
        o.session.syncTimings.modeSaveGap = std::chrono::milliseconds(1);
        o.connectDelayMs = 10;
        o.watchDevices = false;
        if (tweak) {
            tweak(o);
        }
        {
            AppSettings s(o.settingsFile);
            s.setLanguage(language);
            s.sync();
        }
        app = std::make_unique<CVORNEXv13App>(o);
        auto p = std::make_unique<ScriptedPrompter>();
        prompter = p.get();
        app->setPrompter(std::move(p));
        registerWindows(app->windowFactories());
    }
    ~AppHarness() {
        if (app && app->mainFrame() != nullptr) {
            app->view()->closeForExit();
        }
        app.reset();
    }

    // Starts the program; with `connect` waits until the first read-back is done.
    void start(bool connect = true) {
        app->InitInstance({}, true);
        if (connect) {
            waitUntil([&] { return app->connected(); }, 3000);
            waitUntil([&] { return app->syncDialog() == nullptr && !app->session().sync().busy(); },
                      20000);
            pump(20);
        }
    }

    CVORNEXv13View& view() { return *app->view(); }
    CMyMFCRibbonBar& ribbon() { return app->mainFrame()->ribbon(); }
    CMFCMyRibbonStatusBar& status() { return app->mainFrame()->statusBarPanes(); }
    DeviceImage& image() { return app->image(); }

    template <typename F> auto emulator(F&& f) {
        return app->session().emulatorTransport()->withEmulator(std::forward<F>(f));
    }
    // Reports the emulated processor received since the last clearLog.
    std::vector<Report> received() {
        return emulator([](Emulator& e) { return e.received(); });
    }
    void clearReceived() {
        emulator([](Emulator& e) { e.clearLog(); });
    }
    // Waits until the user-interface thread's queue has been written out.
    void drain() {
        waitUntil([&] { return app->session().writer().queued() == 0; }, 5000);
        app->session().writer().flush();
        pump(30);
    }
};

} // namespace quilo::test
