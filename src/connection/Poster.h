#pragma once

#include <functional>

namespace quilo {

// Hands a call to the thread that owns a connection, from any thread. The call
// must run later on that thread, in posting order, never inside post itself.
using Poster = std::function<void(std::function<void()>)>;

} // namespace quilo
