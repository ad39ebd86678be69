#pragma once

#include "model/DspParams.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

namespace quilo {

class EditHistory;

// Sizes and processor-memory addresses of the blocks the processor keeps for us.
constexpr std::size_t kEqBandRecordSize = 7;
constexpr std::size_t kEqBandRecords = 179;
constexpr std::size_t kEqBandStoreSize = kEqBandRecords * kEqBandRecordSize; // 1253
constexpr std::size_t kRoomGainBlockSize = 32;
constexpr std::size_t kRoomLayoutBlockSize = 20;
constexpr std::size_t kMicBoostWordSize = 2;
constexpr std::size_t kMachineSettingsSize = 13;
constexpr std::size_t kRemoteKeyTableSize = 18;
constexpr std::size_t kLiveStatusSize = 16;
constexpr std::size_t kModeCount = 4;
constexpr std::size_t kModeNameMaxUnits = 24;

constexpr std::uint16_t kEqBandStoreAddress = 0;
constexpr std::uint16_t kRoomGainBlockAddress = 1253;
constexpr std::uint16_t kRoomLayoutBlockAddress = 1285;
constexpr std::uint16_t kMicBoostWordAddress = 1305;
constexpr std::array<std::uint16_t, kModeCount> kModeNameAddresses{0x0F00, 0x0F40, 0x0F80, 0x0FC0};

using EqBandStore = std::array<std::uint8_t, kEqBandStoreSize>;
using RoomGainBlock = std::array<std::uint8_t, kRoomGainBlockSize>;
using RoomLayoutBlock = std::array<std::uint8_t, kRoomLayoutBlockSize>;
using MicBoostWord = std::array<std::uint8_t, kMicBoostWordSize>;
using MachineSettingsBytes = std::array<std::uint8_t, kMachineSettingsSize>;
using RemoteKeyTable = std::array<std::uint8_t, kRemoteKeyTableSize>;
using LiveStatusBytes = std::array<std::uint8_t, kLiveStatusSize>;

// Meters, input format and wireless microphones; written by the read thread and
// read by timers of the user interface, each time as one whole copy.
class LiveStatus {
public:
    LiveStatusBytes load() const {
        std::lock_guard lock(m_mutex);
        return m_bytes;
    }
    void store(const LiveStatusBytes& bytes) {
        std::lock_guard lock(m_mutex);
        m_bytes = bytes;
    }

private:
    mutable std::mutex m_mutex;
    LiveStatusBytes m_bytes{};
};

// Byte meanings of the applied copy that the rest of the program reads.
namespace machine {
constexpr std::size_t kVolumeRecall = 0;
constexpr std::size_t kMicStartVolume = 3;
constexpr std::size_t kMusicStartVolume = 4;
constexpr std::size_t kMaxMicVolume = 5;
constexpr std::size_t kMaxMusicVolume = 6;
constexpr std::uint8_t kNoStartVolume = 255;
} // namespace machine

struct MachineSettings {
    MachineSettingsBytes applied{}; // what the processor reported or last accepted
    MachineSettingsBytes edit{};    // what the machine-settings page changes
};

struct DeviceInfo {
    std::u16string modelName;     // up to 30 units
    std::u16string firmwareDateA; // up to 11 units
    std::u16string firmwareDateB; // up to 11 units
    std::uint8_t protocolVersion = 1;
};

// Who may touch the image now: the main thread (the user interface, or quiloctl's
// main thread) or a synchronisation run, which takes it when it starts and hands it
// back when it ends.
enum class ImageOwner : std::uint8_t { Main, Sync };

// The single copy of everything the processor holds.
//
// Threading rule 1: one thread owns the image at a time (`owner`); only it reads or writes it.
// 2: the read thread never touches it; replies with image data wait in an InboundQueue for it.
// 3: safe from any thread: liveStatus (whole copies, locked), currentMode, settingsChanged, owner.
struct DeviceImage {
    DspParams params{};
    EqBandStore eqBands{};
    RoomGainBlock roomGain{};
    RoomLayoutBlock roomLayout{};
    MicBoostWord micBoost{};
    LiveStatus liveStatus;
    std::atomic<std::int32_t> currentMode{0};
    std::atomic<std::int32_t> settingsChanged{0};
    MachineSettings machine;
    std::array<std::u16string, kModeCount> modeNames;
    DeviceInfo info;
    RemoteKeyTable remoteKeys{};
    // Sync from the start of a synchronisation run until its worker hands the image
    // back (SyncRunner); everyone else only looks.
    std::atomic<ImageOwner> owner{ImageOwner::Main};
    // The user's undo history, when one is kept (the desktop program); the setters
    // and band operations tell it what they are about to change.
    std::atomic<EditHistory*> edits{nullptr};

    bool mainThreadOwns() const { return owner.load() == ImageOwner::Main; }

    // Factory state of the image; sends nothing. Keeps info.protocolVersion.
    void resetToDefaults();
};

// The room layout every new image starts from.
extern const RoomLayoutBlock kDefaultRoomLayout;

} // namespace quilo
