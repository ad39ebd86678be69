// The single-instance socket's messages, as they may arrive in pieces: a
// message is taken whole or refused, never read past its bound, and every
// prefix of a good one waits for more.
#include "FuzzCheck.h"
#include "app/ActivationMessage.h"

#include <string>

using namespace quilo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view received(reinterpret_cast<const char*>(data), size);
    const Activation a = readActivationMessage(received);
    if (a.state != Activation::State::Complete) {
        FUZZ_CHECK(a.file.empty(), "a file from a message not complete");
    }
    if (a.state == Activation::State::Incomplete) {
        FUZZ_CHECK(size <= kMaxActivationMessage, "waiting for more past the bound");
        return 0;
    }
    if (a.state == Activation::State::Invalid) {
        return 0;
    }
    FUZZ_CHECK(a.file.find('\n') == std::string::npos && a.file.find('\0') == std::string::npos,
               "a file name with a newline or a NUL");
    const std::string message = "RAISE\n" + a.file + "\n";
    FUZZ_CHECK(received.starts_with(message), "the file is not what the message says");
    for (std::size_t n = 0; n < message.size(); ++n) {
        FUZZ_CHECK(readActivationMessage(std::string_view(message).substr(0, n)).state ==
                       Activation::State::Incomplete,
                   "a piece of a good message is refused");
    }
    return 0;
}
