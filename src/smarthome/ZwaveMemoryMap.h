#pragma once

#include "device/Report.h"
#include "smarthome/PlugRecord.h"

#include <cstddef>
#include <cstdint>

namespace quilo {

// The Z-Wave memory of the processor, apart from its parameter memory: the
// record of plug id n at 28·n (0-6523), then scene s at 6524 + 56·s (6524-6859).
constexpr std::size_t kPlugRecordsSize = kPlugIdCount * PlugRecord::kSize; // 6524
constexpr std::uint16_t kScenesAddress = kPlugRecordsSize;
constexpr std::size_t kScenesSize = kSceneCount * kSceneSize;             // 336
constexpr std::size_t kZwaveMemoryBytes = kPlugRecordsSize + kScenesSize; // 6860

constexpr std::uint16_t plugRecordAddress(int id) {
    return static_cast<std::uint16_t>(id * PlugRecord::kSize);
}
constexpr std::uint16_t sceneAddress(int scene) {
    return static_cast<std::uint16_t>(kScenesAddress + scene * kSceneSize);
}

// ZwaveWriteMemory of one plug record or one scene, and the reads of them.
Report buildWritePlugRecord(int id, const PlugRecord& record);
Report buildWriteScene(int scene, const Scene& steps);
Report buildReadPlugRecord(int id);
Report buildReadScene(int scene);

} // namespace quilo
