#include "model/InboundDispatcher.h"

#include "device/Command.h"
#include "model/ParamCodec.h"
#include "model/ReplyDecoders.h"

#include <algorithm>
#include <cstdio>

namespace quilo {

namespace {

// The reply's copy of the remote table holds its first 16 bytes.
constexpr std::size_t kRemoteTableReplyBytes = 16;

template <std::size_t N> void copyFromByte2(std::array<std::uint8_t, N>& target, const Report& r) {
    static_assert(N + 2 <= kReportSize);
    std::copy_n(r.begin() + 2, N, target.begin());
}

Command codeOf(const Report& r) {
    return static_cast<Command>(r[1]);
}

} // namespace

std::string parameterErrorText(int code, int module, int param) {
    char text[96];
    std::snprintf(text, sizeof text, "参数错误,代码0x:%02X,指令1:0x%02X,指令2:0x%02X ",
                  unsigned(code) & 0xFFu, unsigned(module) & 0xFFu, unsigned(param) & 0xFFu);
    return text;
}

void InboundDispatcher::handleReport(const Report& report) {
    if (takeOnReadThread(report)) {
        applyToImage(report);
    }
}

void InboundDispatcher::linkClosing() {
    m_image.liveStatus.store({});
}

bool InboundDispatcher::takeOnReadThread(const Report& r) {
    switch (codeOf(r)) {
    case Command::GetCurrentMode:
        m_image.currentMode = r[2];
        return false;
    case Command::SetParam: // the acknowledgement
        m_image.settingsChanged = 1;
        return false;
    case Command::PollStatus: {
        LiveStatusBytes status{};
        copyFromByte2(status, r);
        m_image.liveStatus.store(status);
        return false;
    }
    case Command::ZwaveFrame:
        m_events.zwaveFrame(r);
        return false;
    case Command::ZwaveReadMemory:
        m_events.zwaveMemory(r);
        return false;
    case Command::GetParam:
        // One box per run is enough to tell the user; a bad read-back repeats for
        // every parameter. The value is stored all the same.
        if (r[2] != 0 && !m_errorShown.exchange(true)) {
            m_events.parameterError(r[2], r[3], r[4]);
        }
        return true;
    case Command::LearnKey:
        m_events.learnedKey(r[4]);
        return true;
    case Command::GetRemoteTable:
    case Command::FirmwareDateB:
    case Command::GetProtocolVersion:
    case Command::GetModel:
    case Command::GetFirmwareDate:
    case Command::ReadMemory:
    case Command::GetMachineSettings:
    case Command::ModeName:
        return true;
    default:
        return false;
    }
}

void InboundDispatcher::applyToImage(const Report& r) {
    switch (codeOf(r)) {
    case Command::GetParam:
        decodeParamReply(r, m_image.params);
        break;
    case Command::LearnKey:
        m_image.remoteKeys[0] = r[2];
        if (r[3] < kRemoteKeyTableSize) {
            m_image.remoteKeys[r[3]] = r[4];
        }
        break;
    case Command::GetRemoteTable:
        std::copy_n(r.begin() + 2, kRemoteTableReplyBytes, m_image.remoteKeys.begin());
        break;
    case Command::FirmwareDateB:
        m_image.info.firmwareDateB = decodeReplyText(r, kFirmwareDateUnits);
        break;
    case Command::GetProtocolVersion:
        m_image.info.protocolVersion = r[2];
        break;
    case Command::GetModel:
        m_image.info.modelName = decodeReplyText(r, kModelNameUnits);
        break;
    case Command::GetFirmwareDate:
        m_image.info.firmwareDateA = decodeReplyText(r, kFirmwareDateUnits);
        break;
    case Command::ReadMemory:
        decodeMemoryReply(r, m_image);
        break;
    case Command::GetMachineSettings:
        copyFromByte2(m_image.machine.applied, r);
        m_image.machine.edit = m_image.machine.applied;
        break;
    case Command::ModeName:
        decodeModeNameReply(r, m_image);
        break;
    default:
        break;
    }
}

} // namespace quilo
