#include "smarthome/PlugCommands.h"

#include "device/ReportBuilder.h"
#include "model/ParamTable.h"
#include "smarthome/ZwaveMemoryMap.h"

namespace quilo {

PlugCommands::StepWait PlugCommands::startStep(int node, int value) {
    if (node == kEmptyStep) {
        return StepWait::None;
    }
    m_table.clearFlag(PlugTable::Flag::Ack);
    if (node == kHdmiStep) {
        m_events.hdmiSelected(value);
        constexpr ParamAddress at = addressOf(rowOf("hdmiSelect"));
        m_port.sendPaced(buildSetParamRepeated(at.module, at.param,
                                               static_cast<std::uint32_t>(value), at.count));
        m_table.setFlag(PlugTable::Flag::Ack);
        return StepWait::None;
    }
    if (node == kDelayStep) {
        return StepWait::Delay;
    }
    if (!isNodeId(node) || !m_table.present(node)) {
        if (m_log) {
            m_log->write("此ID不存在，跳过设置命令");
        }
        m_table.setFlag(PlugTable::Flag::Ack);
        return StepWait::None;
    }
    m_table.setLastValue(node, static_cast<std::uint8_t>(value));
    m_port.sendUnpaced(buildSendBasicSet(node, value));
    return StepWait::Ack;
}

int PlugCommands::writePlugRecord(int id) {
    return m_port.sendPaced(buildWritePlugRecord(id, m_table.record(id)));
}

int PlugCommands::writeScene(int s) {
    return m_port.sendPaced(buildWriteScene(s, m_table.scene(s)));
}

} // namespace quilo
