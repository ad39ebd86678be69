#include "SoakDriver.h"

#include "app/CMFCMyRibbonStatusBar.h"
#include "app/CMainFrame.h"
#include "app/CMyMFCRibbonBar.h"
#include "app/CVORNEXv13App.h"
#include "app/CVORNEXv13View.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorTransport.h"
#include "gui/app/AppHarness.h"
#include "model/ImageDiff.h"
#include "ui/SyncProgressDialog.h"
#include "ui/Texts.h"
#include "widgets/CEqPanel.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QtTest/QTest>

#include <malloc.h>

#include <cstdio>

#include <unistd.h>

namespace quilo {

using namespace ribbon;

namespace {

constexpr int kStepMs = 20;
constexpr int kLastPageKind = static_cast<int>(PageKind::RoomLayout);
constexpr ToolWindowId kToolWindows[] = {
    ToolWindowId::MachineSettings, ToolWindowId::RemoteLearning, ToolWindowId::SubDecay,
    ToolWindowId::MusicAgc,        ToolWindowId::SmartPlug,      ToolWindowId::InputSource,
    ToolWindowId::Features,        ToolWindowId::SystemResponse};
// A dialog a page opened stays up this long before the user sends it away.
constexpr qint64 kModalPatienceMs = 1000;
constexpr qint64 kTenMinutesMs = 600000;

const char* actionName(int a) {
    static const char* const kNames[] = {"slider",    "drag",          "mute",      "category",
                                         "page",      "tool",          "load mode", "save mode",
                                         "preset",    "save file",     "load file", "language",
                                         "equaliser", "machine reset", "unplug"};
    return kNames[a];
}

// The resident set in its two parts, from /proc: anonymous memory (the heap, the
// threads' stacks) and pages of files (libraries, fonts), which the system may
// drop and read again.
SoakDriver::Resident resident() {
    QFile status(QStringLiteral("/proc/self/status"));
    SoakDriver::Resident r;
    if (!status.open(QIODevice::ReadOnly)) {
        return r;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 2 && f[0] == "RssAnon:") {
            r.anon = f[1].toLongLong() * 1024;
        } else if (f.size() >= 2 && f[0] == "RssFile:") {
            r.file = f[1].toLongLong() * 1024;
        }
    }
    return r;
}

double megabytes(qint64 bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

} // namespace

SoakDriver::SoakDriver(CVORNEXv13App& app, test::ScriptedPrompter& prompter, const QDir& folder,
                       Options options)
    : m_app(app), m_prompter(prompter), m_folder(folder), m_options(options),
      m_random(options.seed) {
    connect(&m_stepTimer, &QTimer::timeout, this, [this] { step(); });
    connect(&m_memoryTimer, &QTimer::timeout, this, [this] { sampleMemory(); });
}

void SoakDriver::start() {
    m_clock.start();
    m_stalls.restart();
    m_stepTimer.start(kStepMs);
    m_memoryTimer.start(1000);
}

bool SoakDriver::userMayAct() {
    return m_app.image().mainThreadOwns() && m_app.syncDialog() == nullptr &&
           QApplication::activeModalWidget() == nullptr;
}

void SoakDriver::step() {
    const qint64 now = m_clock.elapsed();
    if (now >= m_options.seconds * 1000LL) {
        m_stepTimer.stop();
        // Outside the timer's call: the end runs event loops of its own.
        QTimer::singleShot(0, this, [this] { finish(); });
        return;
    }
    noteStall();
    // The status bar tells the truth about the link at every moment.
    m_app.view()->updateIndicators();
    const bool saysConnected =
        m_app.mainFrame()->statusBarPanes().connectionPane()->text().startsWith(
            text::kUsbConnected.pick(m_app.language()));
    m_untruths += saysConnected != m_app.connected() ? 1 : 0;
    m_counts["messages"] += m_prompter.count(QStringLiteral("message"));
    m_prompter.shown.clear();
    if (m_unplugged && now >= m_replugAt) {
        replug();
    }
    // A dialog of a page that nobody answers: the user closes it.
    if (QWidget* modal = QApplication::activeModalWidget();
        modal != nullptr && modal != m_app.syncDialog()) {
        m_modalSince = m_modalSince < 0 ? now : m_modalSince;
        if (now - m_modalSince > kModalPatienceMs) {
            modal->close();
            m_modalSince = -1;
        }
        return;
    }
    m_modalSince = -1;
    if (!userMayAct() || rnd(0, 3) != 0) {
        return; // the user reads the screen
    }
    static std::discrete_distribution<int> pick{20, 6, 5, 4, 8, 4, 2, 2, 2, 2, 2, 2, 3, 0.2, 1.5};
    const int action = pick(m_random);
    if (m_options.skip.contains(QLatin1String(actionName(action)))) {
        return;
    }
    QElapsedTimer took;
    took.start();
    m_recent.emplace_back(m_clock.elapsed(), actionName(action));
    if (m_recent.size() > 64) {
        m_recent.pop_front();
    }
    act(static_cast<Action>(action));
    if (took.elapsed() > m_slowestActionMs) {
        m_slowestActionMs = took.elapsed();
        m_slowestAction = actionName(action);
    }
}

void SoakDriver::act(Action action) {
    ++m_counts[actionName(static_cast<int>(action))];
    CVORNEXv13View& view = *m_app.view();
    CMyMFCRibbonBar& ribbon = m_app.mainFrame()->ribbon();
    switch (action) {
    case Action::Slider:
        moveSlider(1);
        break;
    case Action::Drag:
        moveSlider(rnd(10, 40));
        break;
    case Action::Mute:
        view.commands().trigger(UserCommand::Mute, rnd(0, kMuteCount - 1));
        break;
    case Action::Category:
        ribbon.setActiveCategory(rnd(0, 1));
        break;
    case Action::Page:
        if (rnd(0, 1) == 0 && view.pages().current() != nullptr) {
            // Whatever controls the page shown has.
            QWidget* page = view.pages().current();
            const auto controls = page->findChildren<QWidget*>();
            if (!controls.isEmpty()) {
                QWidget* w = controls[rnd(0, static_cast<int>(controls.size()) - 1)];
                if (!w->isVisible() || !w->isEnabled()) {
                    break;
                }
                if (auto* s = qobject_cast<QAbstractSlider*>(w)) {
                    s->setValue(rnd(s->minimum(), s->maximum()));
                } else if (auto* b = qobject_cast<QSpinBox*>(w)) {
                    b->setValue(rnd(b->minimum(), b->maximum()));
                } else if (auto* c = qobject_cast<QComboBox*>(w); c && c->count() > 0) {
                    c->setCurrentIndex(rnd(0, c->count() - 1));
                } else if (auto* k = qobject_cast<QAbstractButton*>(w)) {
                    k->click();
                } else if (qobject_cast<CEqPanel*>(w) != nullptr) {
                    QPoint at(rnd(0, w->width() - 1), rnd(0, w->height() - 1));
                    QTest::mousePress(w, Qt::LeftButton, {}, at);
                    for (int i = 0; i < 8; ++i) {
                        at += QPoint(rnd(-12, 12), rnd(-12, 12));
                        QTest::mouseMove(w, at);
                    }
                    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
                }
            }
            break;
        }
        view.showPage(static_cast<PageKind>(rnd(0, kLastPageKind)), rnd(-1, 1));
        break;
    case Action::ToolWindow: {
        const ToolWindowId id = kToolWindows[rnd(0, static_cast<int>(std::size(kToolWindows)) - 1)];
        if (m_app.toolWindow(id) != nullptr) {
            view.closeToolWindow(id);
        } else {
            view.openToolWindow(id);
        }
        break;
    }
    case Action::LoadMode:
        view.commands().trigger(UserCommand::LoadMode, rnd(0, 3));
        break;
    case Action::SaveMode:
        view.commands().trigger(UserCommand::SaveMode, rnd(0, 3));
        break;
    case Action::Preset:
        view.commands().trigger(UserCommand::Preset, rnd(0, kPresetCount - 1));
        break;
    case Action::SaveFile: {
        // Now and then a name that stores into a mode once opened.
        const QString path =
            m_folder.filePath(rnd(0, 3) == 0 ? QStringLiteral("m%1.quilo").arg(rnd(1, 4))
                                             : QStringLiteral("soak%1.quilo").arg(rnd(0, 3)));
        m_prompter.saveNames.push_back(path);
        view.commands().trigger(UserCommand::Save);
        if (QFileInfo::exists(path) && !m_savedFiles.contains(path)) {
            m_savedFiles.push_back(path);
        }
        break;
    }
    case Action::LoadFile:
        if (!m_savedFiles.isEmpty()) {
            m_prompter.openNames.push_back(
                m_savedFiles[rnd(0, static_cast<int>(m_savedFiles.size()) - 1)]);
            view.commands().trigger(UserCommand::Open);
        }
        break;
    case Action::Language:
        view.commands().trigger(UserCommand::Language);
        break;
    case Action::Equaliser:
        view.commands().trigger(rnd(0, 1) == 0 ? UserCommand::EqSwitch : UserCommand::EqReset);
        break;
    case Action::MachineReset:
        view.commands().trigger(UserCommand::MachineReset);
        break;
    case Action::Unplug:
        unplug();
        break;
    }
    m_prompter.openNames.clear();
    m_prompter.saveNames.clear();
}

void SoakDriver::moveSlider(int steps) {
    CMyMFCRibbonBar& ribbon = m_app.mainFrame()->ribbon();
    QSlider* s = ribbon.slider(static_cast<Slider>(rnd(0, kSliderCount - 1)), rnd(0, 1));
    int value = rnd(s->minimum(), s->maximum());
    for (int i = 0; i < steps; ++i) {
        value = std::clamp(value + rnd(-3, 3), s->minimum(), s->maximum());
        s->setValue(value);
    }
}

void SoakDriver::unplug() {
    if (m_unplugged || !m_app.connected()) {
        return;
    }
    m_unplugged = true;
    m_replugAt = m_clock.elapsed() + 100000; // set once the removal is noticed
    // Sometimes at once, sometimes in the middle of whatever is being sent.
    const int after = rnd(0, 1) == 0 ? 0 : rnd(1, 80);
    m_app.session().emulatorTransport()->withEmulator([after](Emulator& e) {
        EmulatorFaults f;
        f.unplugAfterReports = after;
        e.setFaults(f);
    });
    QTimer::singleShot(rnd(20, 600), this, [this] {
        if (!m_unplugged) {
            return; // plugged in again meanwhile (the end)
        }
        m_app.session().emulatorTransport()->withEmulator([](Emulator& e) {
            if (!e.unplugged()) {
                EmulatorFaults f;
                f.unplugAfterReports = 0;
                e.setFaults(f);
            }
        });
        emit m_app.session().deviceRemoved(QString::fromLatin1(EmulatorTransport::kPath));
        m_replugAt = m_clock.elapsed() + rnd(300, 3000);
    });
}

void SoakDriver::replug() {
    m_unplugged = false;
    m_app.session().emulatorTransport()->withEmulator([](Emulator& e) { e.replug(); });
    emit m_app.session().deviceArrived(QString::fromLatin1(EmulatorTransport::kPath));
}

void SoakDriver::sampleMemory() {
    const Resident now = resident();
    const qint64 at = m_clock.elapsed();
    // The first minute (or fifth of the run) fills caches; growth counts from there.
    if (m_rssWarm.anon == 0 && at >= std::min(60000LL, m_options.seconds * 200LL)) {
        m_rssWarm = now;
    }
    if (m_rssAt10.anon == 0 && at >= kTenMinutesMs) {
        m_rssAt10 = now;
    }
    m_rssMost = std::max(m_rssMost, now.anon + now.file);
    // Every minute in a short run, every five in a long one.
    const qint64 every = m_options.seconds > 900 ? 300000 : 60000;
    if (at / every > m_memoryLines) {
        m_memoryLines = at / every;
        // What the heap holds against what malloc keeps free in its arenas tells
        // growth of data from memory the allocator has not given back.
        const struct mallinfo2 heap = ::mallinfo2();
        std::printf("soak: at %.0f s resident anonymous %.1f MB, file-backed %.1f MB; heap in "
                    "use %.1f MB, free in malloc %.1f MB\n",
                    static_cast<double>(at) / 1000.0, megabytes(now.anon), megabytes(now.file),
                    megabytes(qint64(heap.uordblks + heap.hblkhd)),
                    megabytes(qint64(heap.fordblks)));
        std::fflush(stdout);
    }
}

bool SoakDriver::readBack() {
    m_app.view()->connection().startPull();
    return test::waitUntil([this] { return userMayAct() && !m_app.session().sync().busy(); },
                           120000);
}

void SoakDriver::noteStall() {
    m_longestStall = std::max(m_longestStall, m_stalls.longestMs());
    // Every long stall is told as it happens, with what the user did last before it.
    const qint64 now = m_clock.elapsed();
    const qint64 stalled = now - m_lastStep - kStepMs;
    m_lastStep = now;
    if (stalled > m_options.stallLimitMs / 2) {
        const auto& [at, name] =
            m_recent.empty() ? std::pair<qint64, const char*>{0, "none"} : m_recent.back();
        std::printf("soak: a stall of %lld ms at %.1f s, %lld ms after the last action (%s)\n",
                    static_cast<long long>(stalled), static_cast<double>(now - stalled) / 1000.0,
                    static_cast<long long>(now - stalled - at), name);
        std::fflush(stdout);
    }
}

void SoakDriver::finish() {
    noteStall();
    m_memoryTimer.stop();
    if (m_unplugged) {
        replug();
    }
    if (QWidget* modal = QApplication::activeModalWidget();
        modal != nullptr && modal != m_app.syncDialog()) {
        modal->close();
    }
    const bool ready = test::waitUntil(
        [this] { return m_app.connected() && userMayAct() && !m_app.session().sync().busy(); },
        60000);
    if (ready && readBack()) {
        // The user's last changes, then the processor's word on them.
        CMyMFCRibbonBar& ribbon = m_app.mainFrame()->ribbon();
        for (int s = 0; s < kSliderCount; ++s) {
            QSlider* slider = ribbon.slider(static_cast<Slider>(s), 0);
            slider->setValue(rnd(slider->minimum(), slider->maximum()));
        }
        test::waitUntil([this] { return m_app.session().writer().queued() == 0; }, 30000);
        const std::vector<std::string> left = modeFieldLines(m_app.image());
        if (readBack()) {
            const std::vector<std::string> back = modeFieldLines(m_app.image());
            m_lost = 0;
            for (std::size_t i = 0; i < left.size() && i < back.size(); ++i) {
                if (left[i] != back[i]) {
                    ++m_lost;
                    m_lostNames.push_back(QString::fromStdString(left[i]));
                }
            }
        }
    }
    m_rssEnd = resident();
    QCoreApplication::quit();
}

int SoakDriver::report(qint64 exitMs) const {
    const double seconds = m_options.seconds;
    std::printf("soak: %.0f s, seed %u\n", seconds, m_options.seed);
    std::printf("soak: actions:");
    for (const auto& [name, count] : m_counts) {
        std::printf(" %s %d,", name.c_str(), count);
    }
    std::printf("\n");
    std::printf("soak: longest event-loop stall %lld ms (limit %d ms); slowest action %s, "
                "%lld ms\n",
                static_cast<long long>(m_longestStall), m_options.stallLimitMs, m_slowestAction,
                static_cast<long long>(m_slowestActionMs));
    std::printf("soak: resident anonymous %.1f MB after warm-up, %.1f MB at the end (%+.1f MB); "
                "file-backed %.1f MB, %.1f MB (%+.1f MB); most %.1f MB in all\n",
                megabytes(m_rssWarm.anon), megabytes(m_rssEnd.anon),
                megabytes(m_rssEnd.anon - m_rssWarm.anon), megabytes(m_rssWarm.file),
                megabytes(m_rssEnd.file), megabytes(m_rssEnd.file - m_rssWarm.file),
                megabytes(m_rssMost));
    if (m_rssAt10.anon != 0 && seconds * 1000 > kTenMinutesMs) {
        const double hours = (seconds * 1000 - kTenMinutesMs) / 3600000.0;
        std::printf("soak: at 10 min anonymous %.1f MB, file-backed %.1f MB; anonymous growth "
                    "after that %+.2f MB per hour\n",
                    megabytes(m_rssAt10.anon), megabytes(m_rssAt10.file),
                    megabytes(m_rssEnd.anon - m_rssAt10.anon) / hours);
    }
    if (m_lost < 0) {
        std::printf("soak: the final read-back did not finish\n");
    } else {
        std::printf("soak: fields a read-back changed after the last edits: %d\n", m_lost);
        for (const QString& name : m_lostNames.mid(0, 10)) {
            std::printf("soak:   was %s\n", name.toUtf8().constData());
        }
    }
    std::printf("soak: the status bar disagreed with the link %d times\n", m_untruths);
    std::printf("soak: exit took %lld ms\n", static_cast<long long>(exitMs));
    std::fflush(stdout);
    const bool stalled = m_longestStall > m_options.stallLimitMs;
    return stalled || m_lost != 0 || m_untruths != 0 ? 1 : 0;
}

} // namespace quilo
