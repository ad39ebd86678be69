#include "model/PollingGate.h"

namespace quilo {

void PollingGate::Pause::hold(bool on) {
    if (on == m_held) {
        return;
    }
    m_held = on;
    m_gate.m_pauses.fetch_add(on ? 1 : -1);
}

} // namespace quilo
