#pragma once

#include "web/WebRemote.h"

#include <QObject>

namespace quilo {

class CVORNEXv13App;
class WebAdaptor;

// The desktop program's phone remote: on at start when the user left it on, the
// page in the program's language, `quiloctl web` through the program's bus
// object, and the "Phone remote…" window.
class ProgramWeb : public QObject {
    Q_OBJECT
public:
    ProgramWeb(CVORNEXv13App& app, ProcessorService& service,
               const WebRemote::Options& options = {}, QObject* parent = nullptr);
    ~ProgramWeb() override;

    WebRemote& remote() { return m_remote; }

private:
    CVORNEXv13App& m_app;
    WebRemote m_remote;
    WebAdaptor* m_adaptor;
};

} // namespace quilo
