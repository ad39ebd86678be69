#include "web/gui/ProgramWeb.h"

#include "app/CVORNEXv13App.h"
#include "web/WebAdaptor.h"
#include "web/gui/PhoneRemoteWindow.h"

namespace quilo {

ProgramWeb::ProgramWeb(CVORNEXv13App& app, ProcessorService& service,
                       const WebRemote::Options& options, QObject* parent)
    : QObject(parent), m_app(app), m_remote(service, options),
      m_adaptor(new WebAdaptor(service, m_remote)) {
    m_remote.setLanguage(app.language());
    connect(&app.languageState(), &Language::changed, this,
            [this](int language) { m_remote.setLanguage(language); });
    app.windowFactories().setTool(ToolWindowId::PhoneRemote,
                                  [this](PageContext& context, QWidget* parent) -> ToolWindow* {
                                      return new PhoneRemoteWindow(context, m_remote, parent);
                                  });
    if (m_remote.settings().enabled) {
        // Not listening (the port taken) shows in the window; the program works all the same.
        (void)m_remote.switchOn();
    }
}

ProgramWeb::~ProgramWeb() {
    m_app.windowFactories().setTool(ToolWindowId::PhoneRemote, {});
    delete m_adaptor;
}

} // namespace quilo
