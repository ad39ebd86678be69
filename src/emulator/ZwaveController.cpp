#include "emulator/ZwaveController.h"

#include "emulator/VirtualPlug.h"
#include "emulator/ZwaveFrames.h"

#include <algorithm>
#include <array>
#include <vector>

namespace quilo {

namespace {

constexpr std::uint8_t kControllerNode = 1;
constexpr std::uint8_t kFirstPlugNode = 2;
constexpr std::uint8_t kLastNode = 232;
constexpr std::size_t kNodeMaskBytes = 29;

// Inclusion and exclusion progress.
constexpr std::uint8_t kLearnReady = 1;
constexpr std::uint8_t kNodeFound = 2;
constexpr std::uint8_t kAddingOrRemoving = 3;
constexpr std::uint8_t kProtocolDone = 5;
constexpr std::uint8_t kDone = 6;
constexpr std::uint8_t kFailed = 7;
constexpr std::uint8_t kModeStop = 5;

constexpr std::uint8_t kTransmitOk = 0;
constexpr std::uint8_t kTransmitNoAck = 1;

} // namespace

void ZwaveController::receive(const Report& report, EmulatorTime now) {
    const zwave::HostFrame frame = zwave::parseHostFrame(report);
    switch (frame.kind) {
    case zwave::HostFrame::Kind::Ack:
    case zwave::HostFrame::Kind::Nak:
    case zwave::HostFrame::Kind::Can:
        return;
    case zwave::HostFrame::Kind::Invalid:
        m_outbox.post(now, zwave::controllerByte(zwave::kNak));
        return;
    case zwave::HostFrame::Kind::Data:
        break;
    }
    m_outbox.post(now, zwave::controllerByte(zwave::kAck));

    const auto& p = frame.payload;
    const auto arg = [&p](std::size_t i) -> std::uint8_t { return i < p.size() ? p[i] : 0; };
    switch (p[0]) {
    case zwave::kGetInitData:
        if (!m_faults.noNodeList) {
            m_outbox.post(now + m_timings.zwaveResponse, initData());
        }
        break;
    case zwave::kSetDefault:
        networkReset(arg(1), now);
        break;
    case zwave::kAddNode:
        if ((arg(1) & 0x0F) == kModeStop) {
            stop(Mode::Including, now);
            if (arg(2) != 0) {
                progress(now + m_timings.zwaveResponse, zwave::kAddNode, arg(2), kDone, 0, {},
                         Outbox::kNoTag);
            }
        } else {
            startInclusion(arg(2), now);
        }
        break;
    case zwave::kRemoveNode:
        if ((arg(1) & 0x0F) == kModeStop) {
            stop(Mode::Excluding, now);
            if (arg(2) != 0) {
                progress(now + m_timings.zwaveResponse, zwave::kRemoveNode, arg(2), kDone, 0, {},
                         Outbox::kNoTag);
            }
        } else {
            startExclusion(arg(2), now);
        }
        break;
    case zwave::kSendData:
        sendData(p, now);
        break;
    default:
        break; // acknowledged, nothing more
    }
}

void ZwaveController::reset() {
    stop(m_mode, EmulatorTime::min());
    m_buttonTarget.reset();
}

void ZwaveController::sendData(std::span<const std::uint8_t> p, EmulatorTime now) {
    if (p.size() == 1) {
        m_outbox.cancel(outbox_tag::kSend, now); // an abort of the sends in progress
        return;
    }
    // 13 node length data... options callback
    if (p.size() < 3 || p.size() != 5u + p[2]) {
        return;
    }
    const std::uint8_t node = p[1];
    const std::vector<std::uint8_t> command(p.begin() + 3, p.begin() + 3 + p[2]);
    const std::uint8_t callback = p.back();
    const std::array<std::uint8_t, 2> response{zwave::kSendData, 0x01};
    m_outbox.post(now + m_timings.zwaveResponse,
                  zwave::controllerFrame(zwave::kResponse, response));

    const auto plug = m_faults.plugsDeaf ? std::nullopt : plugOfNode(node);
    if (!plug) {
        if (callback != 0) {
            const std::array<std::uint8_t, 3> cb{zwave::kSendData, callback, kTransmitNoAck};
            post(now + m_timings.zwaveNoAck, cb, outbox_tag::kSend);
        }
        return;
    }
    // The plug acts when the frame reaches it; the callback reports that it did.
    const std::size_t index = *plug;
    m_outbox.call(
        now + m_timings.zwaveCallback,
        [this, index, node, command, callback](EmulatorTime at) {
            if (callback != 0 && !m_faults.noSendCallback) {
                const std::array<std::uint8_t, 3> cb{zwave::kSendData, callback, kTransmitOk};
                post(at, cb);
            }
            if (index >= m_state.plugs.size() || m_state.plugs[index].nodeId != node) {
                return;
            }
            PlugState& target = m_state.plugs[index];
            const Outbox::Tag tag = outbox_tag::plug(index);
            m_outbox.cancel(tag, at); // a new command ends what the plug was doing
            for (const PlugReaction& r : plugReceive(target, command, m_timings, m_faults)) {
                m_outbox.call(
                    at + r.after,
                    [this, index, node, r](EmulatorTime due) {
                        if (index >= m_state.plugs.size() || m_state.plugs[index].nodeId != node) {
                            return;
                        }
                        if (r.learnsKey) {
                            m_state.plugs[index].learnedKeys |= std::uint64_t{1} << *r.learnsKey;
                        }
                        const std::array<std::uint8_t, 7> report{
                            zwave::kApplicationCommand, 0x00,   node, 0x03, zwave::kBasicClass,
                            zwave::kBasicReport,        r.value};
                        post(due, report);
                    },
                    tag);
            }
        },
        outbox_tag::kSend);
}

void ZwaveController::startInclusion(std::uint8_t callback, EmulatorTime now) {
    stop(m_mode, now);
    m_mode = Mode::Including;
    m_callback = callback;
    progress(now + m_timings.learnReady, zwave::kAddNode, m_callback, kLearnReady, 0, {},
             outbox_tag::kInclusion);
    if (m_faults.nobodyPresses) {
        return;
    }
    m_outbox.call(
        now + m_timings.buttonPress, [this](EmulatorTime at) { pressForInclusion(at); },
        outbox_tag::kInclusion);
}

void ZwaveController::startExclusion(std::uint8_t callback, EmulatorTime now) {
    stop(m_mode, now);
    m_mode = Mode::Excluding;
    m_callback = callback;
    progress(now + m_timings.learnReady, zwave::kRemoveNode, m_callback, kLearnReady, 0, {},
             outbox_tag::kExclusion);
    if (m_faults.nobodyPresses) {
        return;
    }
    m_outbox.call(
        now + m_timings.buttonPress, [this](EmulatorTime at) { pressForExclusion(at); },
        outbox_tag::kExclusion);
}

void ZwaveController::stop(Mode mode, EmulatorTime now) {
    if (mode == Mode::Including) {
        m_outbox.cancel(outbox_tag::kInclusion, now);
    } else if (mode == Mode::Excluding) {
        m_outbox.cancel(outbox_tag::kExclusion, now);
    }
    if (mode == m_mode) {
        m_mode = Mode::Idle;
    }
}

void ZwaveController::pressForInclusion(EmulatorTime now) {
    std::optional<std::size_t> index = takeTarget();
    if (!index) {
        for (std::size_t i = 0; i < m_state.plugs.size() && !index; ++i) {
            if (m_state.plugs[i].nodeId == 0) {
                index = i;
            }
        }
    }
    if (!index) {
        return; // nobody pressed anything: the host gives up on its own
    }
    const std::uint8_t node = freeNodeId();
    if (m_state.plugs[*index].nodeId != 0 || node == 0) {
        progress(now, zwave::kAddNode, m_callback, kFailed, 0, {}, outbox_tag::kInclusion);
        return;
    }
    const auto tag = outbox_tag::kInclusion;
    const auto step = m_timings.inclusionStep;
    progress(now, zwave::kAddNode, m_callback, kNodeFound, 0, {}, tag);
    if (m_faults.inclusionFails) {
        progress(now + step, zwave::kAddNode, m_callback, kFailed, 0, {}, tag);
        return;
    }
    progress(now + step, zwave::kAddNode, m_callback, kAddingOrRemoving, node,
             plugNodeInfo(m_state.plugs[*index].kind), tag);
    const std::size_t i = *index;
    m_outbox.call(
        now + 2 * step,
        [this, i, node](EmulatorTime at) {
            m_state.plugs[i].nodeId = node;
            progress(at, zwave::kAddNode, m_callback, kProtocolDone, node, {},
                     outbox_tag::kInclusion);
        },
        tag);
}

void ZwaveController::pressForExclusion(EmulatorTime now) {
    std::optional<std::size_t> index = takeTarget();
    for (std::size_t i = 0; i < m_state.plugs.size() && !index; ++i) {
        if (m_state.plugs[i].nodeId == 0) {
            index = i;
        }
    }
    if (!index && !m_state.plugs.empty()) {
        const auto last = std::max_element(
            m_state.plugs.begin(), m_state.plugs.end(),
            [](const PlugState& a, const PlugState& b) { return a.nodeId < b.nodeId; });
        index = static_cast<std::size_t>(last - m_state.plugs.begin());
    }
    if (!index) {
        return;
    }
    const std::size_t i = *index;
    const std::uint8_t node = m_state.plugs[i].nodeId;
    const auto tag = outbox_tag::kExclusion;
    const auto step = m_timings.inclusionStep;
    progress(now, zwave::kRemoveNode, m_callback, kNodeFound, 0, {}, tag);
    if (m_faults.exclusionFails) {
        progress(now + step, zwave::kRemoveNode, m_callback, kFailed, 0, {}, tag);
        return;
    }
    progress(now + step, zwave::kRemoveNode, m_callback, kAddingOrRemoving, node, {}, tag);
    m_outbox.call(
        now + 2 * step,
        [this, i, node](EmulatorTime at) {
            m_outbox.cancel(outbox_tag::plug(i), at);
            resetPlug(m_state.plugs[i]);
            progress(at, zwave::kRemoveNode, m_callback, kDone, node, {}, outbox_tag::kExclusion);
        },
        tag);
}

void ZwaveController::networkReset(std::uint8_t callback, EmulatorTime now) {
    stop(m_mode, now);
    m_outbox.cancel(outbox_tag::kNetworkReset, now);
    m_outbox.call(
        now + m_timings.networkReset,
        [this, callback](EmulatorTime at) {
            for (std::size_t i = 0; i < m_state.plugs.size(); ++i) {
                m_outbox.cancel(outbox_tag::plug(i), at);
                m_state.plugs[i].nodeId = 0;
            }
            if (callback != 0 && !m_faults.noResetCallback) {
                const std::array<std::uint8_t, 2> cb{zwave::kSetDefault, callback};
                post(at, cb);
            }
        },
        outbox_tag::kNetworkReset);
}

void ZwaveController::post(EmulatorTime due, std::span<const std::uint8_t> payload,
                           Outbox::Tag tag) {
    m_outbox.post(due, zwave::controllerFrame(zwave::kRequest, payload), tag);
}

void ZwaveController::progress(EmulatorTime due, std::uint8_t function, std::uint8_t callback,
                               std::uint8_t status, std::uint8_t node,
                               std::span<const std::uint8_t> info, Outbox::Tag tag) {
    if (callback == 0) {
        return; // the host asked for no callbacks
    }
    std::vector<std::uint8_t> p{function, callback, status, node,
                                static_cast<std::uint8_t>(info.size())};
    p.insert(p.end(), info.begin(), info.end());
    post(due, p, tag);
}

Report ZwaveController::initData() const {
    std::array<std::uint8_t, kNodeMaskBytes> mask{};
    const auto mark = [&mask](std::uint8_t node) {
        mask[(node - 1) / 8] |= static_cast<std::uint8_t>(1u << ((node - 1) % 8));
    };
    mark(kControllerNode);
    for (const PlugState& plug : m_state.plugs) {
        if (plug.nodeId >= kFirstPlugNode && plug.nodeId <= kLastNode) {
            mark(plug.nodeId);
        }
    }
    std::vector<std::uint8_t> p{zwave::kGetInitData, 0x05, 0x08, kNodeMaskBytes};
    p.insert(p.end(), mask.begin(), mask.end());
    p.push_back(0x05); // chip type
    p.push_back(0x00); // chip version
    return zwave::controllerFrame(zwave::kResponse, p);
}

std::optional<std::size_t> ZwaveController::plugOfNode(std::uint8_t node) const {
    if (node < kFirstPlugNode) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < m_state.plugs.size(); ++i) {
        if (m_state.plugs[i].nodeId == node) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> ZwaveController::takeTarget() {
    auto target = m_buttonTarget;
    m_buttonTarget.reset();
    if (target && *target >= m_state.plugs.size()) {
        return std::nullopt;
    }
    return target;
}

std::uint8_t ZwaveController::freeNodeId() const {
    for (int id = kFirstPlugNode; id <= kLastNode; ++id) {
        if (!plugOfNode(static_cast<std::uint8_t>(id))) {
            return static_cast<std::uint8_t>(id);
        }
    }
    return 0;
}

} // namespace quilo
