#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quilo {

// Plug ids are Z-Wave node ids 1-232; id 1 is the controller inside the
// processor and never a plug. Tables are indexed by id 0-232.
constexpr int kPlugIdCount = 233;
constexpr int kControllerId = 1;
constexpr int kFirstPlugId = 2;
constexpr int kLastPlugId = 232;
constexpr bool isNodeId(int id) {
    return id >= 1 && id <= kLastPlugId;
}

// Plug types of a record; any other value is listed but has no control dialog.
constexpr std::uint8_t kSwitchPlug = 1;
constexpr std::uint8_t kDimmerPlug = 2;

// Plug values: 0 off, 1-98 dimmer level, 99 on (scenes; the switch dialog sends
// 255), 128 + k emits infrared key k, 192 + k learns it (k = 0-62).
constexpr std::uint8_t kPlugOff = 0;
constexpr std::uint8_t kPlugOn = 99;
constexpr std::uint8_t kPlugOnSwitch = 255;
constexpr int kInfraredKeyCount = 63;
constexpr std::uint8_t kEmitKeyValue = 128;
constexpr std::uint8_t kLearnKeyValue = 192;

// The most characters (UTF-16 code units) a plug name keeps.
constexpr std::size_t kPlugNameMaxLength = 11;

// A plug's name and type as kept in Z-Wave memory, 28 bytes little-endian:
// [0] type, [1-3] reserved, [4-27] the name in UTF-16LE, 12 units including
// the terminating NUL.
struct PlugRecord {
    static constexpr std::size_t kSize = 28;
    static constexpr std::size_t kNameUnits = 12;
    std::array<std::uint8_t, kSize> bytes{};

    std::uint8_t type() const { return bytes[0]; }
    void setType(std::uint8_t type) { bytes[0] = type; }
    // Up to the first NUL, never beyond the 12 units.
    std::u16string name() const;
    // Stores at most kPlugNameMaxLength units (never half a surrogate pair) and
    // clears the rest of the name; type and reserved bytes stay.
    void setName(std::u16string_view name);

    // A record made by this program: type, three zero bytes, name.
    static PlugRecord make(std::uint8_t type, std::u16string_view name);
    bool operator==(const PlugRecord&) const = default;
};

// What a plug name edit holds, before it is stored.
enum class PlugNameCheck {
    Empty,   // refused
    Fits,    // stored as it is
    TooLong, // more than kPlugNameMaxLength: the edit must not take it
};
PlugNameCheck checkPlugName(std::u16string_view name);

// One step of a scene: a plug and the value sent to it, a delay or an HDMI input.
struct SceneStep {
    std::uint8_t node = 0;
    std::uint8_t value = 0;
    bool operator==(const SceneStep&) const = default;
};

// Scene step nodes besides plug ids: 0 empty, 240 delay of `value` seconds,
// 254 HDMI input `value` (0-3).
constexpr std::uint8_t kEmptyStep = 0;
constexpr std::uint8_t kDelayStep = 240;
constexpr std::uint8_t kHdmiStep = 254;

constexpr int kSceneCount = 6;
constexpr int kSceneStepCount = 28;
constexpr std::size_t kSceneSize = 2 * kSceneStepCount; // 56 bytes in Z-Wave memory
constexpr int kPowerOnScene = 4;
constexpr int kPowerOffScene = 5;

using Scene = std::array<SceneStep, kSceneStepCount>;

// A scene as kept in Z-Wave memory: step i at bytes 2i (node) and 2i + 1 (value).
std::array<std::uint8_t, kSceneSize> sceneBytes(const Scene& scene);
Scene sceneFromBytes(std::span<const std::uint8_t, kSceneSize> bytes);

} // namespace quilo
