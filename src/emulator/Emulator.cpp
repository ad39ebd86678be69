#include "emulator/Emulator.h"

#include "device/Command.h"
#include "emulator/FactorySettings.h"
#include "emulator/ParamMemory.h"
#include "emulator/ProcessorMemory.h"
#include "emulator/RemoteLearning.h"
#include "emulator/Replies.h"
#include "emulator/StatusGenerator.h"
#include "emulator/StoredModes.h"

#include <algorithm>

namespace quilo {

namespace {

constexpr std::uint8_t kResetMachineKey = 0xAA;

} // namespace

Emulator::Emulator(EmulatorOptions options)
    : m_options(std::move(options)), m_state(factoryState(m_options.plugs)),
      m_zwave(m_state, m_outbox, m_options.timings, m_faults.zwave) {
    if (m_options.blankBandStore) {
        blankBandStore(m_state);
    }
}

void Emulator::handle(const Report& report, EmulatorTime now) {
    if (unplugged()) {
        return;
    }
    ++m_receivedCount;
    if (m_options.logCapacity > 0) {
        if (m_log.size() >= m_options.logCapacity) {
            m_log.pop_front();
        }
        m_log.push_back(report);
    }
    dispatch(report, now + m_faults.replyDelay);
    if (unplugged()) {
        m_outbox.clear(); // the answers to the last report never leave the box
    }
}

std::optional<Report> Emulator::popDue(EmulatorTime now) {
    if (m_faults.statusFlood && !unplugged() && !m_faults.silent && now >= m_nextFlood) {
        m_nextFlood = now + *m_faults.statusFlood;
        return replyOf(codeByte(Command::PollStatus), liveStatusAt(m_state, now));
    }
    while (!unplugged()) {
        std::optional<Report> r = m_outbox.popDue(now);
        if (!r || !m_faults.silent) {
            return r;
        }
    }
    return std::nullopt;
}

std::optional<EmulatorTime> Emulator::nextDue() const {
    std::optional<EmulatorTime> due = m_outbox.nextDue();
    if (m_faults.statusFlood && !m_faults.silent && (!due || m_nextFlood < *due)) {
        due = m_nextFlood;
    }
    return due;
}

void Emulator::dropPending() {
    m_outbox.clear();
    m_zwave.reset();
}

void Emulator::restore(EmulatorState state) {
    dropPending();
    // Every memory keeps its full size whatever the caller handed in.
    state.memory.resize(kProcessorMemorySize, 0xFF);
    state.zwaveMemory.resize(kZwaveMemorySize, 0);
    for (StoredMode& mode : state.modes) {
        mode.memory.resize(kModeMemorySize, 0xFF);
    }
    state.currentMode = std::min<std::uint8_t>(state.currentMode, kEmulatorModes - 1);
    m_state = std::move(state);
}

void Emulator::setFaults(const EmulatorFaults& faults) {
    m_faults = faults;
    m_faultBase = m_receivedCount;
}

bool Emulator::unplugged() const {
    return m_faults.unplugAfterReports &&
           m_receivedCount - m_faultBase >= *m_faults.unplugAfterReports;
}

void Emulator::replug() {
    m_faults.unplugAfterReports.reset();
}

void Emulator::dispatch(const Report& in, EmulatorTime at) {
    const int arg = in[2];
    switch (static_cast<Command>(in[1])) {
    case Command::GetModel:
        reply(at, textReply(in[1], m_faults.modelName.value_or(std::string(kModelName))));
        break;
    case Command::GetProtocolVersion:
        reply(at, replyOf(in[1], {m_faults.protocolVersion.value_or(kProtocolVersion)}));
        break;
    case Command::GetFirmwareDate:
        reply(at, textReply(in[1], kFirmwareDateA));
        reply(at, textReply(codeByte(Command::FirmwareDateB), kFirmwareDateB));
        break;

    case Command::SetParam:
        reply(at, applySetParam(m_state.params, in));
        break;
    case Command::GetParam:
        reply(at, answerGetParam(m_state.params, in, m_faults.paramErrorCode));
        break;
    case Command::WriteMemory:
        reply(at, applyMemoryWrite(m_state.memory, in));
        break;
    case Command::ReadMemory:
        reply(at, answerMemoryRead(m_state.memory, in));
        break;

    case Command::SetCurrentMode:
        selectMode(m_state, arg);
        reply(at, echoReply(in, 1));
        break;
    case Command::SaveMode:
        saveMode(m_state, arg);
        reply(at, echoReply(in, 1));
        break;
    case Command::LoadMode:
        loadMode(m_state, arg);
        reply(at, echoReply(in, 1));
        break;
    case Command::ResetMode:
        resetMode(m_state, arg);
        reply(at, echoReply(in, 1));
        break;
    case Command::GetCurrentMode:
        reply(at, replyOf(in[1], {m_state.currentMode}));
        break;
    case Command::GetModeNames:
        for (const Report& r : modeNameReplies(m_state.memory)) {
            reply(at, r);
        }
        break;

    case Command::SetMachineSettings:
        std::copy_n(in.begin() + 2, kMachineSettingsSize, m_state.machine.begin());
        reply(at, replyOf(in[1]));
        break;
    case Command::GetMachineSettings:
        reply(at, replyOf(in[1], m_state.machine));
        break;
    case Command::PollStatus:
        reply(at, replyOf(in[1], liveStatusAt(m_state, at)));
        break;

    case Command::LearnKey:
        remote_learning::start(m_outbox, arg, at, at + m_options.timings.learnKeyPress);
        break;
    case Command::StopLearn:
        remote_learning::stop(m_outbox, at);
        reply(at, replyOf(in[1]));
        break;
    case Command::GetRemoteTable:
        reply(at, replyOf(in[1], std::span(m_state.remoteTable.data(), 16)));
        break;
    case Command::SetRemoteTable:
        std::copy_n(in.begin() + 2, kRemoteKeyTableSize, m_state.remoteTable.begin());
        reply(at, replyOf(in[1]));
        break;

    case Command::ZwaveFrame:
        m_zwave.receive(in, at);
        break;
    case Command::ZwaveWriteMemory:
        reply(at, applyMemoryWrite(m_state.zwaveMemory, in));
        break;
    case Command::ZwaveReadMemory:
        if (!m_faults.zwave.noMemoryReplies) {
            reply(at, answerMemoryRead(m_state.zwaveMemory, in));
        }
        break;

    case Command::ResetMachine:
        if (arg == kResetMachineKey) {
            remote_learning::stop(m_outbox, at);
            resetMachine(m_state);
        }
        break;
    case Command::Goodbye:
        remote_learning::stop(m_outbox, at);
        break;
    case Command::FirmwareDateB:
    case Command::ModeName:
        break; // codes of replies only: nothing a processor is asked
    }
}

} // namespace quilo
