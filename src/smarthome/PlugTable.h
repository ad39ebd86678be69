#pragma once

#include "smarthome/PlugRecord.h"
#include "smarthome/ZwaveMemoryMap.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <stop_token>
#include <vector>

namespace quilo {

// Presence of one id: `id` is the id itself while it is in the network, 0 when
// it is absent; `lastValue` is the last value sent to or reported by it.
struct PlugPresence {
    std::uint8_t id = 0;
    std::uint8_t lastValue = 0;
    bool operator==(const PlugPresence&) const = default;
};

// What the user interface reads: one consistent copy of the whole table.
struct PlugTableData {
    std::array<PlugPresence, kPlugIdCount> presence{};
    // The image of Z-Wave memory: the plug records, then the six scenes.
    std::array<std::uint8_t, kZwaveMemoryBytes> memory{};

    bool present(int id) const { return id >= 0 && id < kPlugIdCount && presence[id].id != 0; }
    PlugRecord record(int id) const;
    Scene scene(int s) const;
    // Present ids 2-232 in id order: the plugs the windows list.
    std::vector<int> plugIds() const;
    bool operator==(const PlugTableData&) const = default;
};

// The smart-home image: plug presence, plug records and scenes, and the flags the
// read thread and the workers hand each other. Written by the read thread (frames
// and memory replies), the workers and the user-interface thread, read by all of
// them: every access goes through one lock, and a change that touches several
// entries (a new node list) is seen whole or not at all. The user interface takes
// snapshot() and never waits on anything but this lock, which no one holds for
// longer than a copy of the table.
class PlugTable {
public:
    PlugTableData snapshot() const;
    bool present(int id) const;
    std::uint8_t lastValue(int id) const;
    PlugRecord record(int id) const;
    Scene scene(int s) const;

    // Ids outside 0-232 (scenes outside 0-5) change nothing.
    void setLastValue(int id, std::uint8_t value);
    void setPresent(int id, bool present);
    void setRecord(int id, const PlugRecord& record);
    void setScene(int s, const Scene& scene);
    void clearScenes();
    // A new node list: every id absent, then the ids of the mask's set bits
    // present (bit j of byte i is id 8·i + j + 1; ids above 232 are ignored);
    // sets the init-data flag.
    void setNodeList(std::span<const std::uint8_t> mask);
    // A plug joined the network: present, with the pending record as its record.
    void includePlug(int id);
    // Copies Z-Wave memory data into the image from the start of the record or
    // scene that `address` falls in, never past the end of the records or of the
    // scenes. False, and nothing changed, for an address of 6860 or above.
    bool applyMemory(std::uint16_t address, std::span<const std::uint8_t> data);

    // The plug being added (type and name chosen in the edit dialog), whether an
    // "add plug" is in its removal phase, and the key being learned.
    void setPendingRecord(const PlugRecord& record);
    PlugRecord pendingRecord() const;
    void setAddAfterRemove(bool on);
    bool addAfterRemove() const;
    void setLearningKey(int key);
    int learningKey() const;

    // Flags one side sets and the other waits for: the end of a send or of a
    // reset, and the arrival of the node list.
    enum class Flag { Ack, InitData };
    void setFlag(Flag flag);
    void clearFlag(Flag flag);
    bool flag(Flag flag) const;
    // Waits until the flag is set, at most `timeout`; false on time-out or stop.
    bool waitFlag(Flag flag, std::chrono::milliseconds timeout, std::stop_token stop) const;

    // Set by a successful synchronisation, cleared at every link set-up.
    void setPlugsSynced(bool synced);
    bool plugsSynced() const;

private:
    bool& flagRef(Flag flag) { return flag == Flag::Ack ? m_ackFlag : m_initDataFlag; }
    bool flagValue(Flag flag) const { return flag == Flag::Ack ? m_ackFlag : m_initDataFlag; }

    mutable std::mutex m_mutex;
    mutable std::condition_variable_any m_flagChanged;
    PlugTableData m_data;
    PlugRecord m_pendingRecord;
    bool m_addAfterRemove = false;
    int m_learningKey = 0;
    bool m_ackFlag = false;
    bool m_initDataFlag = false;
    bool m_plugsSynced = false;
};

} // namespace quilo
