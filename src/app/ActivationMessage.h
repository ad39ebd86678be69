#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quilo {

// What a second start tells the first through the single-instance socket:
// "RAISE\n", the file to open (empty for none) and "\n". Plain C++, so that it
// can be fuzzed without Qt.
struct Activation {
    enum class State {
        Incomplete, // nothing wrong yet; more bytes may follow
        Complete,   // `file` holds the file to open
        Invalid,    // not this message, or longer than any path: the sender is cut off
    };
    State state = State::Incomplete;
    std::string file;
};

// A path is at most 4096 bytes; anything much longer is not a start handing over.
constexpr std::size_t kMaxActivationMessage = 8192;

Activation readActivationMessage(std::string_view received);

} // namespace quilo
