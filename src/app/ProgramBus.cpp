#include "app/ProgramBus.h"

#include "app/CMFCMyRibbonStatusBar.h"
#include "app/CMainFrame.h"
#include "app/CVORNEXv13App.h"
#include "app/CVORNEXv13View.h"
#include "app/UndoController.h"
#include "model/EqImport.h"
#include "model/FieldSetters.h"
#include "smarthome/SmartHome.h"
#include "ui/Texts.h"

#include <array>

namespace quilo {

namespace {

constexpr int kHintMs = 1000;
constexpr qint64 kFrameMs = 16;

} // namespace

ProgramBus::ProgramBus(CVORNEXv13App& app, CMainFrame& frame, bool serveOnBus, QObject* parent)
    : QObject(parent), m_app(app), m_frame(frame),
      m_calls(app.session().connection(), app.image(),
              LongCalls::Runs{[this] { return startRun(SyncRunner::Direction::Pull); },
                              [this] { return startRun(SyncRunner::Direction::Push); }}),
      m_service(*this) {
    DeviceSession& session = m_app.session();
    connect(&session, &DeviceSession::syncDone, this,
            [this](int, quint64 run) { m_calls.syncDone(run); });
    connect(&session, &DeviceSession::zwaveEvent, this,
            [this](const ZwaveEvent& event) { m_calls.zwaveEvent(event); });
    connect(&session, &DeviceSession::smartHomeNotice, this,
            [this](WorkerNotice notice) { m_calls.workerNotice(notice); });
    connect(&session, &DeviceSession::learnedKey, this,
            [this](int code) { m_calls.learnedKey(code); });
    // Calls that come one after the other show together, at most once a frame.
    m_refresh.setSingleShot(true);
    connect(&m_refresh, &QTimer::timeout, this, [this] {
        m_sinceRefresh.restart();
        m_frame.view().refreshFromImage();
    });
    m_sinceRefresh.start();
    m_hintEnd.setSingleShot(true);
    m_hintEnd.setInterval(kHintMs);
    connect(&m_hintEnd, &QTimer::timeout, this, [this] { m_frame.statusBarPanes().showHint({}); });
    connect(&m_service, &ProcessorService::changedByClient, this, [this](const QString& client) {
        hint(text::kChangedByClient.pick(m_app.language()).arg(client));
        m_hintEnd.start();
    });
    // An edit in the window is looked at as soon as it is sent, not at the next tick.
    m_app.session().setSentObserver([this] { m_service.poke(); });
    if (serveOnBus && !m_service.start()) {
        // Once the window is up: the hint is cut to the width its pane has.
        QTimer::singleShot(0, this, [this] { hint(text::kNoBusService.pick(m_app.language())); });
    }
}

ProgramBus::~ProgramBus() {
    m_app.session().setSentObserver({});
}

bool ProgramBus::connected() const {
    return m_app.session().linkOpen();
}

const DeviceImage& ProgramBus::image() const {
    return m_app.image();
}

const PlugTable* ProgramBus::plugs() const {
    SmartHome* home = m_app.session().smartHome();
    return home ? &home->table() : nullptr;
}

std::string ProgramBus::setField(const FieldRef& field, double value, const QString&) {
    // One step of its own, apart from whatever the user was doing.
    UndoController& undo = m_frame.view().undo();
    undo.endAction();
    FieldSetters setters(m_app.image(), m_app.session().uiSink());
    std::string problem = setNamedField(setters, field, value);
    undo.endAction();
    if (problem.empty()) {
        showSoon();
    }
    return problem;
}

std::uint64_t ProgramBus::startRun(SyncRunner::Direction direction) {
    ConnectionController& connection = m_frame.view().connection();
    if (direction == SyncRunner::Direction::Pull) {
        connection.startPull();
    } else {
        connection.startPush();
    }
    return connection.lastSyncRun();
}

std::string ProgramBus::applyEq(int eqId, const std::string& text, const QString&) {
    UndoController& undo = m_frame.view().undo();
    undo.endAction();
    const std::array<int, 1> target{eqId};
    const EqImportResult result =
        importEqFilterText(text, target, m_app.image(), m_app.session().uiSink());
    undo.endAction();
    if (result.refusal) {
        return englishText(*result.refusal);
    }
    showSoon();
    return {};
}

void ProgramBus::showSoon() {
    if (!m_refresh.isActive()) {
        const qint64 since = m_sinceRefresh.elapsed();
        m_refresh.start(since >= kFrameMs ? 0 : static_cast<int>(kFrameMs - since));
    }
}

void ProgramBus::hint(const QString& text) {
    m_frame.statusBarPanes().showHint(text);
}

} // namespace quilo
