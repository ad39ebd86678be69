#pragma once

#include "gui/app/AppHarness.h"
#include "gui/pages/PageHarness.h"
#include "smarthome/LinkedHome.h"
#include "smarthome/SmartHome.h"
#include "smarthome/gui/CDialogHomeTheater.h"
#include "smarthome/gui/CDialogZwaveRemoter.h"
#include "smarthome/gui/CDlgZwaveEdit.h"
#include "smarthome/gui/CDlgZwaveLight.h"
#include "smarthome/gui/CDlgZwaveList.h"
#include "smarthome/gui/CDlgZwaveSwitch.h"
#include "smarthome/gui/CRemoteLearnDlg.h"
#include "smarthome/gui/PlugOperation.h"
#include "support/EmulatedNetwork.h"
#include "ui/CInfoDlg.h"

#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quilo::test {

// The smart-plug window over an emulated processor whose Z-Wave module answers
// at once and whose network already holds `plugs` (ids 2, 3, ... named Plug0,
// Plug1, ...), with the smart home's pauses removed and the key files in a
// folder of their own. `humans` gives the emulated user and plugs the delays
// a test needs (a press that comes after the wait dialog has opened, say).
struct SmartHomeHarness {
    QTemporaryDir folder;
    PageHarness h;
    std::unique_ptr<CDialogHomeTheater> window;

    explicit SmartHomeHarness(std::vector<PlugKind> plugs, int lang = kChinese,
                              bool inNetwork = true,
                              const std::function<void(EmulatorTimings&)>& humans = {})
        : h(lang, [&](SessionOptions& o) {
              o.emulatorOptions = instantEmulator(plugs);
              if (humans) {
                  humans(o.emulatorOptions.timings);
              }
              o.smartHomeTimings = noPauses();
              o.plugFolder = folder.path() + QStringLiteral("/Plug");
          }) {
        if (inNetwork) {
            h.processor([&](Emulator& e) { e.restore(networkState(plugs)); });
        }
    }
    ~SmartHomeHarness() { window.reset(); }

    SmartHome& home() { return *h.session->smartHome(); }

    // Connects (unless told not to), opens the window and waits for its first
    // synchronisation to end.
    CDialogHomeTheater& open(bool connect = true) {
        if (connect) {
            EXPECT_TRUE(h.connect());
        }
        window = std::make_unique<CDialogHomeTheater>(*h.context, home(), nullptr);
        h.language.applyTable(window.get(), CDialogHomeTheater::kTemplateId);
        window->applyLanguage(h.language.index());
        window->show();
        if (connect) {
            EXPECT_TRUE(waitUntil([&] { return home().table().plugsSynced(); }, 5000));
            EXPECT_TRUE(waitUntil([&] { return window->progress().dialog() == nullptr; }, 5000));
        }
        return *window;
    }

    // The reports the processor received since the last call, without the
    // acknowledgements of the module's frames.
    std::vector<Report> sent() {
        h.session->writer().flush();
        std::vector<Report> out;
        h.processor([&](Emulator& e) {
            for (const Report& r : e.received()) {
                if (!(r[1] == 0x12 && r[2] == 1 && r[3] == 0x06)) {
                    out.push_back(r);
                }
            }
            e.clearLog();
        });
        return out;
    }
    void forget() { sent(); }

    void setFaults(const std::function<void(EmulatorFaults&)>& change) {
        h.processor([&](Emulator& e) {
            EmulatorFaults f = e.faults();
            change(f);
            e.setFaults(f);
        });
    }

    QString lastNotice() const {
        CInfoDlg* n = h.prompter.noticeWindow();
        return n != nullptr ? n->text() : QString();
    }
    CWaitDlg* wait() { return window->operation().waitDialog(); }
};

// The control with id `ctrlId` below `root`.
template <typename W = QWidget> W* control(QWidget* root, int ctrlId) {
    for (W* w : root->findChildren<W*>()) {
        if (w->property("ctrlId").toInt() == ctrlId) {
            return w;
        }
    }
    return nullptr;
}

} // namespace quilo::test
