#include "room/RoomLayout.h"

#include <algorithm>
#include <cmath>

namespace quilo {

namespace {

constexpr std::size_t kListenerByte = 2;
constexpr std::size_t kFirstSpeakerByte = 4;
constexpr std::uint8_t kSignBit = 0x80;
constexpr std::uint8_t kMaxMagnitude = 0x7F;

// Where an entry's x byte lies in the block; its y byte follows.
std::size_t byteOfEntry(int entry) {
    return entry == 0 ? kListenerByte : kFirstSpeakerByte + 2 * static_cast<std::size_t>(entry - 1);
}

} // namespace

int speakerOfLocation(std::int32_t code) {
    const auto it = std::find(kSpeakerLocationCodes.begin(), kSpeakerLocationCodes.end(), code);
    return it == kSpeakerLocationCodes.end() ? -1
                                             : static_cast<int>(it - kSpeakerLocationCodes.begin());
}

RoomPoint RoomLayout::position(int entry) const {
    return entry >= 1 && entry < kEntries ? speakers[static_cast<std::size_t>(entry - 1)]
                                          : listener;
}

void RoomLayout::setPosition(int entry, RoomPoint point) {
    if (entry == 0) {
        listener = point;
    } else if (isEntry(entry)) {
        speakers[static_cast<std::size_t>(entry - 1)] = point;
    }
}

std::uint8_t encodeRoomCoordinate(float metres) {
    if (std::isnan(metres)) {
        metres = 0.0f;
    }
    const double v = metres;
    const double shifted = v > 0.0 ? v + 0.05 : v - 0.05;
    const float tenths = std::trunc(static_cast<float>(shifted) * 10.0f);
    const float magnitude = std::min(std::fabs(tenths), static_cast<float>(kMaxMagnitude));
    const auto bits = static_cast<std::uint8_t>(magnitude);
    return shifted < 0.0 ? static_cast<std::uint8_t>(bits | kSignBit) : bits;
}

float decodeRoomCoordinate(std::uint8_t byte) {
    const int magnitude = byte & kMaxMagnitude;
    // No negative zero: the edit boxes would show it as "-0.0m".
    const float value = static_cast<float>(magnitude / 10.0);
    return (byte & kSignBit) && magnitude != 0 ? -value : value;
}

RoomLayoutBlock encodeRoomLayout(const RoomLayout& layout) {
    RoomLayoutBlock block{};
    block[0] = static_cast<std::uint8_t>(clampRoomSize(layout.roomWidth));
    block[1] = static_cast<std::uint8_t>(clampRoomSize(layout.roomLength));
    for (int entry = 0; entry < RoomLayout::kEntries; ++entry) {
        const std::size_t at = byteOfEntry(entry);
        block[at] = encodeRoomCoordinate(layout.position(entry).x);
        block[at + 1] = encodeRoomCoordinate(layout.position(entry).y);
    }
    return block;
}

RoomLayout decodeRoomLayout(const RoomLayoutBlock& block) {
    RoomLayout layout;
    layout.roomWidth = clampRoomSize(block[0]);
    layout.roomLength = clampRoomSize(block[1]);
    for (int entry = 0; entry < RoomLayout::kEntries; ++entry) {
        const std::size_t at = byteOfEntry(entry);
        layout.setPosition(entry,
                           {decodeRoomCoordinate(block[at]), decodeRoomCoordinate(block[at + 1])});
    }
    return layout;
}

int clampRoomSize(long metres) {
    return static_cast<int>(std::clamp<long>(metres, kMinRoomSizeM, kMaxRoomSizeM));
}

float clampToRoom(double metres, int roomSizeM) {
    if (std::isnan(metres)) {
        return 0.0f;
    }
    const double half = clampRoomSize(roomSizeM) / 2.0;
    return static_cast<float>(std::clamp(metres, -half, half));
}

} // namespace quilo
