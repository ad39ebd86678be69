#pragma once

#include "smarthome/SmartHomeEvents.h"

#include <string>

namespace quilo {

class SmartHome;

// One plug joining or leaving the network without a window, as a script or a
// remote asks for it: what the plug window's add and remove do, step by step on
// the Z-Wave module's events. Adding first clears the plug out of any network
// (its exclusion), then includes it with the record chosen; removing is the
// exclusion alone. Runs on the owner's thread.
class PlugJoining {
public:
    enum class Kind { Add, Remove };
    struct Outcome {
        bool finished = false;
        int id = 0;          // the plug that joined or left
        std::string problem; // empty on success
    };

    explicit PlugJoining(SmartHome& home) : m_home(home) {}

    // Starts an addition of a plug of `type` named `name` (UTF-8; empty: the name
    // the plug editor proposes), or a removal. False and `problem` when the name
    // cannot be a plug's; nothing was sent then.
    bool start(Kind kind, int type, const std::string& name, std::string* problem);
    bool running() const { return m_phase != Phase::Idle; }
    // A frame of the module; `finished` once the plug joined, left or it failed.
    Outcome handle(const ZwaveEvent& event);
    // Gives up (no plug came in time): the module is told to stop.
    Outcome abandon();

private:
    enum class Phase { Idle, Clearing, Removing, Including };
    Outcome finish(int id, std::string problem);

    SmartHome& m_home;
    Phase m_phase = Phase::Idle;
};

} // namespace quilo
