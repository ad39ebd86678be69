#pragma once

#include "web/WebAdaptor.h"
#include "web/WebRemote.h"

#include <QString>

#include <optional>

namespace quilo {

// --web and --web=ADDR:PORT, the daemon's way to switch the phone remote on.
bool isWebOption(const QString& arg);
bool webOptionReads(const QString& arg);

// quilod's phone remote: on at start when the command line or the settings say
// so, and driven by `quiloctl web` through the bus either way.
class DaemonWeb {
public:
    DaemonWeb(ProcessorService& service, const std::optional<QString>& option);
    ~DaemonWeb();
    // Empty when it is on as asked or was not asked for; otherwise why not.
    QString start();
    WebRemote& remote() { return m_remote; }

private:
    WebRemote m_remote;
    WebAdaptor* m_adaptor;
    std::optional<QString> m_option;
};

} // namespace quilo
