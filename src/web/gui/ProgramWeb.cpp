#include "web/gui/ProgramWeb.h"

#include "ui/Language.h"
#include "ui/WindowFactories.h"
#include "web/WebAdaptor.h"
#include "web/gui/PhoneRemoteWindow.h"

namespace quilo {

ProgramWeb::ProgramWeb(WindowFactories& factories, Language& language, ProcessorService& service,
                       const WebRemote::Options& options, QObject* parent)
    : QObject(parent), m_factories(factories), m_remote(service, options),
      m_adaptor(new WebAdaptor(service, m_remote)) {
    m_remote.setLanguage(language.index());
    connect(&language, &Language::changed, this,
            [this](int index) { m_remote.setLanguage(index); });
    factories.setTool(ToolWindowId::PhoneRemote,
                      [this](PageContext& context, QWidget* parent) -> ToolWindow* {
                          return new PhoneRemoteWindow(context, m_remote, parent);
                      });
    if (m_remote.settings().enabled) {
        // Not listening (the port taken) shows in the window; the program works all the same.
        (void)m_remote.switchOn();
    }
}

ProgramWeb::~ProgramWeb() {
    m_factories.setTool(ToolWindowId::PhoneRemote, {});
    delete m_adaptor;
}

} // namespace quilo
