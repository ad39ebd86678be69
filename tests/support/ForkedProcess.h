#pragma once

#include <cerrno>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quilo::test {

// A helper program of a test, started with a plain fork and exec, its output discarded.
//
// QProcess starts its children with a vfork-like clone: until the exec, the child runs
// ThreadSanitizer's interceptors on the test's own memory, and afterwards the sanitizer no
// longer sees the mutexes the test's main thread takes. It then reports races on data that
// both threads guard with the same mutex. A forked child has a copy of the memory instead.
class ForkedProcess {
public:
    ForkedProcess() = default;
    ForkedProcess(const ForkedProcess&) = delete;
    ForkedProcess& operator=(const ForkedProcess&) = delete;
    ~ForkedProcess() { stop(); }

    // False when the program could not be started (the exec failed).
    bool start(const std::string& program, const std::vector<std::string>& args) {
        std::vector<std::string> words{program};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& w : words) {
            argv.push_back(w.data());
        }
        argv.push_back(nullptr);
        // The child writes its errno here if the exec fails; a successful exec closes it.
        int report[2];
        if (::pipe2(report, O_CLOEXEC) != 0) {
            return false;
        }
        const pid_t parent = ::getpid();
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(report[0]);
            // It ends with the test, also when a sanitizer stops the test at once, and its
            // output does not mix into the test's.
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (::getppid() != parent) {
                ::_exit(127);
            }
            const int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(quiet, STDOUT_FILENO);
            ::dup2(quiet, STDERR_FILENO);
            ::execv(argv[0], argv.data());
            const int error = errno;
            [[maybe_unused]] const ssize_t n = ::write(report[1], &error, sizeof error);
            ::_exit(127);
        }
        ::close(report[1]);
        int error = 0;
        ssize_t got = -1;
        while (m_pid > 0 && (got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
        }
        ::close(report[0]);
        if (got != 0) {
            stop(0);
            return false;
        }
        return true;
    }

    bool running() const { return m_pid > 0; }

    // Asks the program to end, and kills it if it has not ended within `ms`.
    void stop(int ms = 3000) {
        if (m_pid <= 0) {
            return;
        }
        ::kill(m_pid, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (::waitpid(m_pid, nullptr, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(m_pid, SIGKILL);
                ::waitpid(m_pid, nullptr, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
};

} // namespace quilo::test
