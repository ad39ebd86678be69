#pragma once

#include <functional>
#include <grp.h>
#include <optional>
#include <pwd.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

namespace quilo::test {

// An unprivileged user other than the one running the tests: "nobody" when the
// tests run as root; none otherwise (no way to become someone else).
struct OtherUser {
    uid_t uid;
    gid_t gid;
};

inline std::optional<OtherUser> otherUser() {
    if (::geteuid() != 0) {
        return std::nullopt;
    }
    const passwd* pw = ::getpwnam("nobody");
    return pw ? std::optional<OtherUser>(OtherUser{pw->pw_uid, pw->pw_gid}) : std::nullopt;
}

// Runs `work` in a child process as `user` and returns its error code (generic
// or system category values only: they pass as the child's exit status).
inline std::error_code runAs(const OtherUser& user, const std::function<std::error_code()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(user.gid) != 0 || ::setuid(user.uid) != 0) {
            ::_exit(255);
        }
        const std::error_code ec = work();
        ::_exit(ec ? (ec.category() == std::generic_category() ? ec.value() : 254) : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 253;
    return code == 0 ? std::error_code{} : std::error_code(code, std::generic_category());
}

} // namespace quilo::test
