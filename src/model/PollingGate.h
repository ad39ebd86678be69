#pragma once

#include <atomic>

namespace quilo {

// Whether the 300 ms status poll may go out. Anyone who needs it quiet (a
// read-back or write-out, the smart-plug window, key learning, the peak display
// switched off) holds a Pause of its own; the poll goes only while nobody holds
// one, so one owner letting go never turns it on under another.
//
// open() may be read on any thread. Each Pause belongs to one owner and is taken
// and released on that owner's thread.
class PollingGate {
public:
    PollingGate() = default;
    PollingGate(const PollingGate&) = delete;
    PollingGate& operator=(const PollingGate&) = delete;

    bool open() const { return m_pauses.load() == 0; }

    // One owner's request to keep the poll quiet. Holding it again, or letting go
    // of one not held, changes nothing; it lets go when destroyed.
    class Pause {
    public:
        explicit Pause(PollingGate& gate, bool held = false) : m_gate(gate) { hold(held); }
        ~Pause() { hold(false); }
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

        void hold(bool on);
        bool held() const { return m_held; }

    private:
        PollingGate& m_gate;
        bool m_held = false;
    };

private:
    std::atomic<int> m_pauses{0};
};

} // namespace quilo
