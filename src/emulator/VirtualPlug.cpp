#include "emulator/VirtualPlug.h"

#include "emulator/ZwaveFrames.h"

namespace quilo {

namespace {

constexpr std::uint8_t kOn = 0xFF;

bool isInfraredValue(std::uint8_t v) {
    return v >= 0x80 && v <= 0xFE;
}

std::vector<PlugReaction> infrared(PlugState& plug, std::uint8_t v,
                                   const EmulatorTimings& timings) {
    if (v >= 192) {
        const int k = v - 192;
        return {{timings.plugReport, 2, std::nullopt},
                {timings.plugReport + timings.irKeyPress, 3, k}};
    }
    const int k = v - 128;
    if (k >= kInfraredKeys) {
        return {};
    }
    const bool learned = (plug.learnedKeys >> k) & 1u;
    return {{timings.plugReport, static_cast<std::uint8_t>(learned ? 6 : 7), std::nullopt}};
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
                                      const EmulatorTimings& timings) {
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
        return plug.kind == PlugKind::Infrared ? infrared(plug, v, timings)
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
