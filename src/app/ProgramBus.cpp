#include "app/ProgramBus.h"

#include "app/CMFCMyRibbonStatusBar.h"
#include "app/CMainFrame.h"
#include "app/CVORNEXv13App.h"
#include "app/CVORNEXv13View.h"
#include "app/Texts.h"
#include "app/UndoController.h"
#include "model/FieldSetters.h"
#include "smarthome/SmartHome.h"

namespace quilo {

namespace {

constexpr int kHintMs = 1000;

} // namespace

ProgramBus::ProgramBus(CVORNEXv13App& app, CMainFrame& frame, bool serveOnBus, QObject* parent)
    : QObject(parent), m_app(app), m_frame(frame), m_service(*this) {
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

const PlugKeyFile* ProgramBus::plugKeys() const {
    SmartHome* home = m_app.session().smartHome();
    return home ? &home->keys() : nullptr;
}

std::string ProgramBus::setField(const FieldRef& field, double value, const QString&) {
    // One step of its own, apart from whatever the user was doing.
    UndoController& undo = m_frame.view().undo();
    undo.endAction();
    FieldSetters setters(m_app.image(), m_app.session().uiSink());
    std::string problem = setNamedField(setters, field, value);
    undo.endAction();
    if (problem.empty()) {
        m_frame.view().refreshFromImage();
    }
    return problem;
}

void ProgramBus::hint(const QString& text) {
    m_frame.statusBarPanes().showHint(text);
}

} // namespace quilo
