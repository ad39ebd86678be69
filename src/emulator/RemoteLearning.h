#pragma once

#include "emulator/Outbox.h"

#include <cstdint>

namespace quilo {

// Key learning. After LearnKey the processor waits for a key of the user's own
// remote control; here that remote is pressed `delay` later and the 0x60 reply
// reports [2] the remote's system byte, [3] the key number, [4] the code received.
// The code stays out of the stored table until the host sends SetRemoteTable.
// A new LearnKey replaces a learning in progress; StopLearn withdraws it.
namespace remote_learning {

constexpr int kFirstKey = 1;
constexpr int kLastKey = 17;
constexpr std::uint8_t kSystemByte = 0x20;

// The code the emulated household remote sends for key 1-17: 0x40 + key.
constexpr std::uint8_t codeOf(int key) {
    return static_cast<std::uint8_t>(0x40 + key);
}

// Keys outside 1-17 are not learned and get no reply.
// `now` is when the request arrived, `due` when the remote is pressed.
void start(Outbox& outbox, int key, EmulatorTime now, EmulatorTime due);
void stop(Outbox& outbox, EmulatorTime now);

} // namespace remote_learning

} // namespace quilo
