#include "app/ExitSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quilo {

namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};
int g_fds[2] = {-1, -1};

void onSignal(int signal) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(g_fds[0], &byte, 1);
    // The next one of this kind is not asked, it ends the process.
    std::signal(signal, SIG_DFL);
    errno = saved;
}

} // namespace

ExitSignals::ExitSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_fds) != 0) {
        return;
    }
    m_notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        while (::read(g_fds[1], &byte, 1) == 1) {
            emit closeRequested(byte);
        }
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

ExitSignals::~ExitSignals() {
    for (const int signal : kSignals) {
        std::signal(signal, SIG_DFL);
    }
    delete m_notifier;
    for (int& fd : g_fds) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

} // namespace quilo
