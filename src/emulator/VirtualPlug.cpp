#include "emulator/VirtualPlug.h"

#include "emulator/ZwaveFrames.h"

namespace quilo {

namespace {

constexpr std::uint8_t kOn = 0xFF;

bool isInfraredValue(std::uint8_t v) {
    return v >= 0x80 && v <= 0xFE;
}

constexpr std::uint8_t kReadyToLearn = 2;
constexpr std::uint8_t kLearned = 3;
constexpr std::uint8_t kCheckFailed = 4;
constexpr std::uint8_t kNoKey = 5;
constexpr std::uint8_t kEmitted = 6;
constexpr std::uint8_t kEmitFailed = 7;

std::vector<PlugReaction> infrared(PlugState& plug, std::uint8_t v, const EmulatorTimings& timings,
                                   const ZwaveFaults& faults) {
    const PlugReaction ready{timings.plugReport, kReadyToLearn, std::nullopt};
    if (v >= 192) {
        const int k = v - 192;
        switch (faults.learnOutcome) {
        case kCheckFailed:
            return {ready, {timings.plugReport + timings.irKeyPress, kCheckFailed, std::nullopt}};
        case kNoKey:
            return {ready, {timings.plugReport + timings.irLearnTimeout, kNoKey, std::nullopt}};
        default:
            return {ready, {timings.plugReport + timings.irKeyPress, kLearned, k}};
        }
    }
    const int k = v - 128;
    if (k >= kInfraredKeys) {
        return {};
    }
    const bool learned = (plug.learnedKeys >> k) & 1u;
    const bool emitted = learned && !faults.emitFails;
    return {{timings.plugReport, emitted ? kEmitted : kEmitFailed, std::nullopt}};
}

void basicSet(PlugState& plug, std::uint8_t v) {
    if (v == 0) {
        plug.level = 0;
    } else if (plug.kind != PlugKind::Dimmer) {
        plug.level = kOn;
    } else if (v == kOn) {
        plug.level = plug.lastOnLevel;
    } else {
        plug.level = v;
        plug.lastOnLevel = v;
    }
}

} // namespace

std::vector<PlugReaction> plugReceive(PlugState& plug, std::span<const std::uint8_t> command,
                                      const EmulatorTimings& timings, const ZwaveFaults& faults) {
    if (command.size() < 2 || command[0] != zwave::kBasicClass) {
        return {};
    }
    if (command[1] == zwave::kBasicGet) {
        return {{timings.plugReport, plug.level, std::nullopt}};
    }
    if (command[1] != zwave::kBasicSet || command.size() < 3) {
        return {};
    }
    const std::uint8_t v = command[2];
    if (isInfraredValue(v)) {
        return plug.kind == PlugKind::Infrared ? infrared(plug, v, timings, faults)
                                               : std::vector<PlugReaction>{};
    }
    if (v <= 99 || v == kOn) {
        basicSet(plug, v);
    }
    return {};
}

std::vector<std::uint8_t> plugNodeInfo(PlugKind kind) {
    // Routing slave; binary switch (0x10) or multilevel switch (0x11).
    switch (kind) {
    case PlugKind::Dimmer:
        return {0x04, 0x11, 0x01, 0x20, 0x26};
    case PlugKind::Infrared:
    case PlugKind::Switch:
        break;
    }
    return {0x04, 0x10, 0x01, 0x20, 0x25};
}

void resetPlug(PlugState& plug) {
    plug.nodeId = 0;
    plug.level = 0;
    plug.lastOnLevel = 99;
    plug.learnedKeys = 0;
}

} // namespace quilo
