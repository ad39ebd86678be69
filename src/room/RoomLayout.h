#pragma once

#include "model/DeviceImage.h"

#include <array>
#include <cstdint>

namespace quilo {

constexpr int kSpeakerCount = 8;
constexpr int kMinRoomSizeM = 1;
constexpr int kMaxRoomSizeM = 10;

// A position in metres. The origin is the centre of the room, x grows to the right
// and y towards the front (upwards on the floor plan).
struct RoomPoint {
    float x = 0.0f;
    float y = 0.0f;
    friend bool operator==(const RoomPoint&, const RoomPoint&) = default;
};

// Loudspeakers in plan order (L, CEN, R, SBL, SUB, SBR, SL, SR): the outLocation
// code of the output channel that drives each of them.
constexpr std::array<std::int32_t, kSpeakerCount> kSpeakerLocationCodes{0, 5, 1, 2, 4, 3, 6, 7};

// The loudspeaker carrying location `code`, or -1 for a code outside 0-7.
int speakerOfLocation(std::int32_t code);

// Room size, listener and loudspeakers as the room page holds them (single
// precision, finer than the tenths the processor keeps). Entries number the
// listener 0 and loudspeaker k as k + 1, as the floor plan does.
struct RoomLayout {
    int roomWidth = 4; // whole metres, 1-10
    int roomLength = 4;
    RoomPoint listener{};
    std::array<RoomPoint, kSpeakerCount> speakers{{{-1.0f, 1.0f},
                                                   {0.0f, 1.0f},
                                                   {1.0f, 1.0f},
                                                   {-1.0f, -1.0f},
                                                   {0.0f, -1.0f},
                                                   {1.0f, -1.0f},
                                                   {-0.5f, 0.0f},
                                                   {0.5f, 0.0f}}};

    static constexpr int kEntries = kSpeakerCount + 1;
    static bool isEntry(int entry) { return entry >= 0 && entry < kEntries; }
    // Entry 0 is the listener; anything outside 0-8 reads as the listener too.
    RoomPoint position(int entry) const;
    // Entries outside 0-8 change nothing.
    void setPosition(int entry, RoomPoint point);

    friend bool operator==(const RoomLayout&, const RoomLayout&) = default;
};

// One coordinate byte: sign and magnitude in tenths of a metre, bit 7 the sign.
// Halves round away from zero with the processor's own steps (v +- 0.05 in double,
// times ten in single precision, truncated), so 0 becomes 0x80. Magnitudes beyond
// 12.7 m are held at 0x7F so they never spill into the sign bit; NaN is taken as 0.
std::uint8_t encodeRoomCoordinate(float metres);
// (byte & 0x7F) / 10, negative when bit 7 is set; 0x80 reads as plain 0.
float decodeRoomCoordinate(std::uint8_t byte);

RoomLayoutBlock encodeRoomLayout(const RoomLayout& layout);
// Room sizes outside 1-10 (a damaged file or block) are taken into that range so
// the plan never divides by a zero size; positions are kept as stored.
RoomLayout decodeRoomLayout(const RoomLayoutBlock& block);

// The room page's limits: sizes within 1-10 m, positions within the room
// (+-size / 2). A NaN position counts as 0.
int clampRoomSize(long metres);
float clampToRoom(double metres, int roomSizeM);

} // namespace quilo
