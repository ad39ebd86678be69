#include "smarthome/PlugTable.h"

#include <algorithm>

namespace quilo {

namespace {

constexpr bool validId(int id) {
    return id >= 0 && id < kPlugIdCount;
}

constexpr bool validScene(int s) {
    return s >= 0 && s < kSceneCount;
}

} // namespace

PlugRecord PlugTableData::record(int id) const {
    PlugRecord r;
    if (validId(id)) {
        std::copy_n(memory.begin() + plugRecordAddress(id), PlugRecord::kSize, r.bytes.begin());
    }
    return r;
}

Scene PlugTableData::scene(int s) const {
    if (!validScene(s)) {
        return Scene{};
    }
    return sceneFromBytes(std::span(memory).subspan(sceneAddress(s)).first<kSceneSize>());
}

std::vector<int> PlugTableData::plugIds() const {
    std::vector<int> ids;
    for (int id = kFirstPlugId; id <= kLastPlugId; ++id) {
        if (present(id)) {
            ids.push_back(id);
        }
    }
    return ids;
}

PlugTableData PlugTable::snapshot() const {
    std::lock_guard lock(m_mutex);
    return m_data;
}

bool PlugTable::present(int id) const {
    std::lock_guard lock(m_mutex);
    return m_data.present(id);
}

std::uint8_t PlugTable::lastValue(int id) const {
    std::lock_guard lock(m_mutex);
    return validId(id) ? m_data.presence[id].lastValue : 0;
}

PlugRecord PlugTable::record(int id) const {
    std::lock_guard lock(m_mutex);
    return m_data.record(id);
}

Scene PlugTable::scene(int s) const {
    std::lock_guard lock(m_mutex);
    return m_data.scene(s);
}

void PlugTable::setLastValue(int id, std::uint8_t value) {
    std::lock_guard lock(m_mutex);
    if (validId(id)) {
        m_data.presence[id].lastValue = value;
    }
}

void PlugTable::setPresent(int id, bool present) {
    std::lock_guard lock(m_mutex);
    if (validId(id)) {
        m_data.presence[id].id = present ? static_cast<std::uint8_t>(id) : 0;
    }
}

void PlugTable::setRecord(int id, const PlugRecord& record) {
    std::lock_guard lock(m_mutex);
    if (validId(id)) {
        std::copy(record.bytes.begin(), record.bytes.end(),
                  m_data.memory.begin() + plugRecordAddress(id));
    }
}

void PlugTable::setScene(int s, const Scene& scene) {
    std::lock_guard lock(m_mutex);
    if (validScene(s)) {
        const auto bytes = sceneBytes(scene);
        std::copy(bytes.begin(), bytes.end(), m_data.memory.begin() + sceneAddress(s));
    }
}

void PlugTable::clearScenes() {
    std::lock_guard lock(m_mutex);
    std::fill(m_data.memory.begin() + kScenesAddress, m_data.memory.end(), 0);
}

void PlugTable::setNodeList(std::span<const std::uint8_t> mask) {
    {
        std::lock_guard lock(m_mutex);
        // A new node list starts every plug afresh, its last value too: a dimmer read
        // back again opens at the level it reports next, not at an old one.
        m_data.presence.fill(PlugPresence{});
        for (std::size_t i = 0; i < mask.size(); ++i) {
            for (int j = 0; j < 8; ++j) {
                const std::size_t id = 8 * i + std::size_t(j) + 1;
                if ((mask[i] >> j & 1) != 0 && id <= kLastPlugId) {
                    m_data.presence[id].id = static_cast<std::uint8_t>(id);
                }
            }
        }
        m_initDataFlag = true;
    }
    m_flagChanged.notify_all();
}

void PlugTable::includePlug(int id) {
    std::lock_guard lock(m_mutex);
    if (isNodeId(id)) {
        m_data.presence[id].id = static_cast<std::uint8_t>(id);
        std::copy(m_pendingRecord.bytes.begin(), m_pendingRecord.bytes.end(),
                  m_data.memory.begin() + plugRecordAddress(id));
    }
}

bool PlugTable::applyMemory(std::uint16_t address, std::span<const std::uint8_t> data) {
    std::size_t start = 0;
    std::size_t end = 0;
    if (address < kScenesAddress) {
        start = plugRecordAddress(address / PlugRecord::kSize);
        end = kPlugRecordsSize;
    } else if (address < kZwaveMemoryBytes) {
        start = sceneAddress((address - kScenesAddress) / kSceneSize);
        end = kZwaveMemoryBytes;
    } else {
        return false;
    }
    std::lock_guard lock(m_mutex);
    std::copy_n(data.begin(), std::min(data.size(), end - start), m_data.memory.begin() + start);
    return true;
}

void PlugTable::setPendingRecord(const PlugRecord& record) {
    std::lock_guard lock(m_mutex);
    m_pendingRecord = record;
}

PlugRecord PlugTable::pendingRecord() const {
    std::lock_guard lock(m_mutex);
    return m_pendingRecord;
}

void PlugTable::setAddAfterRemove(bool on) {
    std::lock_guard lock(m_mutex);
    m_addAfterRemove = on;
}

bool PlugTable::addAfterRemove() const {
    std::lock_guard lock(m_mutex);
    return m_addAfterRemove;
}

void PlugTable::setLearningKey(int key) {
    std::lock_guard lock(m_mutex);
    m_learningKey = key;
}

int PlugTable::learningKey() const {
    std::lock_guard lock(m_mutex);
    return m_learningKey;
}

void PlugTable::setFlag(Flag flag) {
    {
        std::lock_guard lock(m_mutex);
        flagRef(flag) = true;
    }
    m_flagChanged.notify_all();
}

void PlugTable::clearFlag(Flag flag) {
    std::lock_guard lock(m_mutex);
    flagRef(flag) = false;
}

bool PlugTable::flag(Flag flag) const {
    std::lock_guard lock(m_mutex);
    return flagValue(flag);
}

bool PlugTable::waitFlag(Flag flag, std::chrono::milliseconds timeout, std::stop_token stop) const {
    std::unique_lock lock(m_mutex);
    return m_flagChanged.wait_for(lock, stop, timeout, [&] { return flagValue(flag); });
}

void PlugTable::setPlugsSynced(bool synced) {
    std::lock_guard lock(m_mutex);
    m_plugsSynced = synced;
}

bool PlugTable::plugsSynced() const {
    std::lock_guard lock(m_mutex);
    return m_plugsSynced;
}

} // namespace quilo
