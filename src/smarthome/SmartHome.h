#pragma once

#include "device/DebugLog.h"
#include "smarthome/PlugCommands.h"
#include "smarthome/PlugKeyFile.h"
#include "smarthome/PlugTable.h"
#include "smarthome/PlugWorkers.h"
#include "smarthome/SmartHomeEvents.h"
#include "smarthome/SmartHomeTimings.h"
#include "smarthome/ZwavePort.h"
#include "smarthome/ZwaveReceiver.h"

#include <filesystem>
#include <string>

namespace quilo {

// The smart-home core as the program uses it: the plug table, the read thread's
// receiver, the workers, the key files and the operations of the windows.
//
// Threads: receiver() is called on the read thread; the workers run on their own;
// everything else is for the user-interface thread, which never waits here for
// the processor (its port queues). Destroy it after the read thread has stopped
// handing it frames; the destructor stops the workers.
class SmartHome {
public:
    // `threadPort` blocks (the link itself): the read thread's acknowledgements and
    // the workers' reports. `uiPort` queues: the user-interface thread's reports.
    SmartHome(ZwavePort& threadPort, ZwavePort& uiPort, SmartHomeEvents& events,
              std::filesystem::path keyFolder, DebugLog* log = nullptr,
              SmartHomeTimings timings = {});

    PlugTable& table() { return m_table; }
    ZwaveReceiver& receiver() { return m_receiver; }
    PlugWorkers& workers() { return m_workers; }
    const PlugKeyFile& keys() const { return m_keys; }
    // The user-interface thread's sends: Z-Wave requests, record and scene writes.
    PlugCommands& commands() { return m_commands; }

    // Every time the link is set up: the next opening of the smart-plug window
    // synchronises again.
    void linkOpened() { m_table.setPlugsSynced(false); }

    bool syncPlugsAsync() { return m_workers.syncPlugsAsync(); }
    bool resetNetworkAsync() { return m_workers.resetNetworkAsync(); }
    bool runSceneAsync(int scene) { return m_workers.runSceneAsync(scene); }

    // One step at once, without waiting for its end of send (switch and dimmer
    // dialogs, the learning page): the caller hears of the outcome through the
    // Z-Wave events. Nothing is sent for node 0. A delay step has nothing to delay
    // here and counts as done.
    void runStep(int node, int value);

    // Stores a scene or a plug's record in the table and writes it to Z-Wave
    // memory. Without a processor nothing changes and false comes back, so the
    // window can say so instead of claiming it was saved.
    bool saveScene(int scene, const Scene& steps);
    bool savePlugRecord(int id, const PlugRecord& record);

    // After the module reported a completed exclusion: the reply it owes will not
    // come, so the pacing is released, then RemoveNodeStop in its short form.
    void finishExclusion();

    std::string stepText(int node, int value, int language) const;

private:
    PlugTable m_table;
    PlugKeyFile m_keys;
    ZwaveReceiver m_receiver;
    PlugCommands m_commands;
    PlugWorkers m_workers; // last: its threads use everything above
};

} // namespace quilo
