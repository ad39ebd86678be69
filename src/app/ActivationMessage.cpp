#include "app/ActivationMessage.h"

namespace quilo {

namespace {
constexpr std::string_view kRaise = "RAISE\n";
} // namespace

Activation readActivationMessage(std::string_view received) {
    Activation a;
    const std::string_view head = received.substr(0, kRaise.size());
    if (head != kRaise.substr(0, head.size())) {
        a.state = Activation::State::Invalid;
        return a;
    }
    const std::size_t end = received.size() > kRaise.size() ? received.find('\n', kRaise.size())
                                                            : std::string_view::npos;
    const std::size_t length = end == std::string_view::npos ? received.size() : end + 1;
    if (length > kMaxActivationMessage) {
        a.state = Activation::State::Invalid;
        return a;
    }
    if (end == std::string_view::npos) {
        return a;
    }
    const std::string_view file = received.substr(kRaise.size(), end - kRaise.size());
    // No path holds a NUL byte.
    if (file.find('\0') != std::string_view::npos) {
        a.state = Activation::State::Invalid;
        return a;
    }
    a.state = Activation::State::Complete;
    a.file = std::string(file);
    return a;
}

} // namespace quilo
