#include "smarthome/SmartHome.h"

#include "smarthome/PlugFrames.h"
#include "smarthome/StepText.h"

namespace quilo {

SmartHome::SmartHome(ZwavePort& threadPort, ZwavePort& uiPort, SmartHomeEvents& events,
                     std::filesystem::path keyFolder, DebugLog* log, SmartHomeTimings timings)
    : m_keys(std::move(keyFolder)), m_receiver(m_table, threadPort, events, log, timings.ackPause),
      m_commands(m_table, uiPort, events, log),
      m_workers(m_table, threadPort, events, log, timings) {}

void SmartHome::runStep(int node, int value) {
    if (m_commands.startStep(node, value) == PlugCommands::StepWait::Delay) {
        m_table.setFlag(PlugTable::Flag::Ack);
    }
}

bool SmartHome::saveScene(int scene, const Scene& steps) {
    if (!m_commands.connected() || scene < 0 || scene >= kSceneCount) {
        return false;
    }
    m_table.setScene(scene, steps);
    return m_commands.writeScene(scene) > 0;
}

bool SmartHome::savePlugRecord(int id, const PlugRecord& record) {
    if (!m_commands.connected() || !isNodeId(id)) {
        return false;
    }
    m_table.setRecord(id, record);
    return m_commands.writePlugRecord(id) > 0;
}

void SmartHome::finishExclusion() {
    m_commands.releasePacing();
    m_commands.sendFrame(buildRemoveNodeStop(RemoveStop::AfterRemoval));
}

std::string SmartHome::stepText(int node, int value, int language) const {
    return quilo::stepText(node, value, language, m_keys);
}

} // namespace quilo
