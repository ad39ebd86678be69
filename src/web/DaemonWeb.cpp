#include "web/DaemonWeb.h"

#include <QLocale>

namespace quilo {

bool isWebOption(const QString& arg) {
    return arg == QLatin1String("--web") || arg.startsWith(QLatin1String("--web="));
}

bool webOptionReads(const QString& arg) {
    return arg == QLatin1String("--web") || parseListenAt(arg.mid(6)).has_value();
}

DaemonWeb::DaemonWeb(ProcessorService& service, const std::optional<QString>& option)
    : m_remote(service, {}), m_adaptor(new WebAdaptor(service, m_remote)), m_option(option) {
    m_remote.setLanguage(QLocale::system().language() == QLocale::Chinese ? 0 : 1);
}

DaemonWeb::~DaemonWeb() {
    delete m_adaptor;
}

QString DaemonWeb::start() {
    if (!m_option) {
        return m_remote.settings().enabled ? m_remote.switchOn() : QString();
    }
    if (*m_option == QLatin1String("--web")) {
        const WebSettings& s = m_remote.settings();
        return m_remote.switchOn(s.address, s.port, false);
    }
    const ListenAt at = *parseListenAt(m_option->mid(6));
    return m_remote.switchOn(at.address, at.port, false);
}

} // namespace quilo
