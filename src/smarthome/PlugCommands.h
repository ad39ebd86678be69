#pragma once

#include "device/DebugLog.h"
#include "smarthome/PlugFrames.h"
#include "smarthome/PlugTable.h"
#include "smarthome/SmartHomeEvents.h"
#include "smarthome/ZwavePort.h"

#include <cstdint>

namespace quilo {

// The smart-home operations that send: scene steps, the memory writes of records
// and scenes, and the Z-Wave requests of the plug operations. Each instance sends
// through one port, so the user-interface thread has its own (queued) and the
// workers theirs (blocking).
class PlugCommands {
public:
    PlugCommands(PlugTable& table, ZwavePort& port, SmartHomeEvents& events,
                 DebugLog* log = nullptr)
        : m_table(table), m_port(port), m_events(events), m_log(log) {}

    // What a started step still waits for before it is done.
    enum class StepWait {
        None,  // done (empty, HDMI, or a step that is skipped)
        Delay, // a delay of `value` seconds
        Ack,   // the end of the Basic Set that was sent
    };
    // Starts one scene step and returns at once: clears the ack flag; an HDMI step
    // reports the input and sends SetParam (module 4, parameter 33); a plug that
    // is present gets its last value and a Basic Set; an absent plug or unknown
    // node is skipped. Every step that waits for nothing sets the ack flag; an
    // empty step does nothing at all.
    StepWait startStep(int node, int value);

    // ZwaveWriteMemory of what the table holds for plug `id` or scene `s`.
    int writePlugRecord(int id);
    int writeScene(int s);

    // A Z-Wave request (PlugFrames) as a ZwaveFrame, unpaced.
    int sendFrame(const Report& frame) { return m_port.sendUnpaced(frame); }
    int sendPaced(const Report& report) { return m_port.sendPaced(report); }
    void releasePacing() { m_port.releasePacing(); }
    bool connected() const { return m_port.connected(); }

    PlugTable& table() { return m_table; }

private:
    PlugTable& m_table;
    ZwavePort& m_port;
    SmartHomeEvents& m_events;
    DebugLog* m_log;
};

} // namespace quilo
