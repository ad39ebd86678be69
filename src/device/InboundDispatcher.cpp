#include "device/InboundDispatcher.h"

#include "device/ParamReplyDecoder.h"
#include "device/ReplyDecoders.h"

#include <algorithm>
#include <cstdio>

namespace quilo {

namespace {

// Reply codes (byte 1) this program decodes.
enum Reply : std::uint8_t {
    CurrentMode = 0x07,
    ParamAck = 0x09,
    ParamValue = 0x0A,
    Status = 0x0E,
    ZwaveFrame = 0x12,
    ZwaveMemory = 0x14,
    LearnedKey = 0x60,
    RemoteTable = 0x62,
    FirmwareDateB = 0x7E,
    ProtocolVersion = 0x7F,
    Model = 0x80,
    FirmwareDateA = 0x81,
    Memory = 0x86,
    MachineSettingsReply = 0x92,
    ModeName = 0xDB,
};

// The reply's copy of the remote table holds its first 16 bytes.
constexpr std::size_t kRemoteTableReplyBytes = 16;

template <std::size_t N> void copyFromByte2(std::array<std::uint8_t, N>& target, const Report& r) {
    static_assert(N + 2 <= kReportSize);
    std::copy_n(r.begin() + 2, N, target.begin());
}

} // namespace

std::string parameterErrorText(int code, int module, int param) {
    char text[96];
    std::snprintf(text, sizeof text, "参数错误,代码0x:%02X,指令1:0x%02X,指令2:0x%02X ",
                  unsigned(code) & 0xFFu, unsigned(module) & 0xFFu, unsigned(param) & 0xFFu);
    return text;
}

void InboundDispatcher::handleReport(const Report& r) {
    switch (r[1]) {
    case CurrentMode:
        m_image.currentMode = r[2];
        break;
    case ParamAck:
        m_image.settingsChanged = 1;
        break;
    case ParamValue:
        parameterReply(r);
        break;
    case Status: {
        LiveStatusBytes status{};
        copyFromByte2(status, r);
        m_image.liveStatus.store(status);
        break;
    }
    case ZwaveFrame:
        m_events.zwaveFrame(r);
        break;
    case ZwaveMemory:
        m_events.zwaveMemory(r);
        break;
    case LearnedKey:
        learnedKey(r);
        break;
    case RemoteTable:
        std::copy_n(r.begin() + 2, kRemoteTableReplyBytes, m_image.remoteKeys.begin());
        break;
    case FirmwareDateB:
        m_image.info.firmwareDateB = decodeReplyText(r, kFirmwareDateUnits);
        break;
    case ProtocolVersion:
        m_image.info.protocolVersion = r[2];
        break;
    case Model:
        m_image.info.modelName = decodeReplyText(r, kModelNameUnits);
        break;
    case FirmwareDateA:
        m_image.info.firmwareDateA = decodeReplyText(r, kFirmwareDateUnits);
        break;
    case Memory:
        decodeMemoryReply(r, m_image);
        break;
    case MachineSettingsReply:
        copyFromByte2(m_image.machine.applied, r);
        m_image.machine.edit = m_image.machine.applied;
        break;
    case ModeName:
        decodeModeNameReply(r, m_image);
        break;
    default:
        break;
    }
}

void InboundDispatcher::parameterReply(const Report& r) {
    // One box per run is enough to tell the user; a bad read-back repeats for
    // every parameter.
    if (r[2] != 0 && !m_errorShown.exchange(true)) {
        m_events.parameterError(r[2], r[3], r[4]);
    }
    decodeParamReply(r, m_image.params);
}

void InboundDispatcher::learnedKey(const Report& r) {
    m_image.remoteKeys[0] = r[2];
    if (r[3] < kRemoteKeyTableSize) {
        m_image.remoteKeys[r[3]] = r[4];
    }
    m_events.learnedKey(r[4]);
}

} // namespace quilo
