#pragma once

#include "web/WebRemote.h"

#include <QObject>

namespace quilo {

class Language;
class WebAdaptor;
class WindowFactories;

// The desktop program's phone remote: on at start when the user left it on, the
// page in the program's language, `quiloctl web` through the program's bus
// object, and the "Phone remote…" window.
class ProgramWeb : public QObject {
    Q_OBJECT
public:
    ProgramWeb(WindowFactories& factories, Language& language, ProcessorService& service,
               const WebRemote::Options& options = {}, QObject* parent = nullptr);
    ~ProgramWeb() override;

    WebRemote& remote() { return m_remote; }

private:
    WindowFactories& m_factories;
    WebRemote m_remote;
    WebAdaptor* m_adaptor;
};

} // namespace quilo
