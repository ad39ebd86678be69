#include "smarthome/ZwaveMemoryMap.h"

#include "device/ReportBuilder.h"

namespace quilo {

Report buildWritePlugRecord(int id, const PlugRecord& record) {
    return buildZwaveWriteMemory(plugRecordAddress(id), record.bytes);
}

Report buildWriteScene(int scene, const Scene& steps) {
    return buildZwaveWriteMemory(sceneAddress(scene), sceneBytes(steps));
}

Report buildReadPlugRecord(int id) {
    return buildZwaveReadMemory(plugRecordAddress(id), PlugRecord::kSize);
}

Report buildReadScene(int scene) {
    return buildZwaveReadMemory(sceneAddress(scene), kSceneSize);
}

} // namespace quilo
