#pragma once

#include "app/DeviceSession.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorTransport.h"
#include "gui/app/ScriptedPrompter.h"
#include "ui/BiText.h"
#include "ui/Language.h"
#include "ui/PageContext.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace quilo::test {

// Everything a page or tool window gets, without the main window: an emulated
// processor behind a real device session (writer thread, link, read thread,
// synchronisation worker), a prompter that answers for the user, the language
// tables, a navigator that notes where the window asked to go, and a copy source.
struct PageHarness : Navigator, SyncStarter {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    std::unique_ptr<DeviceSession> session;
    ScriptedPrompter prompter;
    Language language;
    EqCopySource copySource;
    PageState state;
    std::vector<std::pair<PageKind, int>> pagesShown;
    std::vector<ToolWindowId> windowsOpened;
    std::unique_ptr<PageContext> context;

    // `configure` may change the session's options (emulator, smart home) first.
    explicit PageHarness(int lang = kChinese,
                         const std::function<void(SessionOptions&)>& configure = {}) {
        image->resetToDefaults();
        SessionOptions o;
        o.emulate = true;
        o.syncTimings = {};
        for (auto* t :
             {&o.syncTimings.pullSettle, &o.syncTimings.pullTail, &o.syncTimings.pushSettle,
              &o.syncTimings.pushTail, &o.syncTimings.volumeStep, &o.syncTimings.modeSaveGap}) {
            *t = std::chrono::milliseconds(0);
        }
        if (configure) {
            configure(o);
        }
        session = std::make_unique<DeviceSession>(*image, o);
        language.set(lang);
        context = std::make_unique<PageContext>(*image, *session, prompter, language, *this,
                                                copySource, *this);
    }
    ~PageHarness() override {
        context.reset();
        session->closeLink(false);
    }

    void showPage(PageKind kind, int argument) override {
        pagesShown.emplace_back(kind, argument);
        if (argument != -1) {
            (kind == PageKind::MusicMic  ? state.musicChannel
             : kind == PageKind::Effects ? state.effectsEq
                                         : state.outputChannel) = argument;
        }
    }
    void openToolWindow(ToolWindowId id) override { windowsOpened.push_back(id); }
    void closeToolWindow(ToolWindowId) override {}
    PageState& pageState() override { return state; }
    void startPull(const QString&) override { session->sync().startPull(); }
    void startPush() override { session->sync().startPush(); }

    bool connect() { return session->openLink(); }
    // Until what was sent is written and a synchronisation has handed the image back.
    void settle() {
        QElapsedTimer clock;
        clock.start();
        while ((session->sync().busy() || session->writer().queued() > 0 ||
                !image->mainThreadOwns()) &&
               clock.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        session->writer().flush();
        QCoreApplication::processEvents();
        session->drainInbound();
    }
    template <typename F> auto processor(F&& f) {
        return session->emulatorTransport()->withEmulator(std::forward<F>(f));
    }
};

} // namespace quilo::test
