#include "model/ReplyDecoders.h"

#include "device/BigEndian.h"

#include <algorithm>
#include <span>

namespace quilo {

namespace {

constexpr std::size_t kDataStart = 5;
// The most data bytes a memory or mode-name reply can hold, whatever its length byte says.
constexpr std::size_t kMaxData = kReportSize - kDataStart;

std::size_t addressOf(const Report& r) {
    return readU16(r, 2);
}

std::span<const std::uint8_t> dataOf(const Report& r) {
    return std::span<const std::uint8_t>(r).subspan(kDataStart,
                                                    std::min<std::size_t>(r[4], kMaxData));
}

template <std::size_t N>
void copyInto(std::array<std::uint8_t, N>& block, std::span<const std::uint8_t> data) {
    std::copy_n(data.begin(), std::min(data.size(), N), block.begin());
}

} // namespace

std::u16string decodeReplyText(const Report& report, std::size_t capacity) {
    std::u16string text;
    for (std::size_t i = 2; i < kReportSize && report[i] != 0 && text.size() < capacity; ++i) {
        text.push_back(char16_t{report[i]});
    }
    return text;
}

bool decodeMemoryReply(const Report& report, DeviceImage& image) {
    const std::size_t address = addressOf(report);
    const auto data = dataOf(report);
    if (address < kEqBandStoreSize) {
        const auto blankAt = [&](std::size_t i) {
            return i + 1 < data.size() && data[i] == 0xFF && data[i + 1] == 0xFF;
        };
        // A store the processor never had written reads FF FF from its start.
        if (address == 0 && blankAt(0)) {
            image.eqBands.fill(0);
        }
        const std::size_t n = std::min(data.size(), kEqBandStoreSize - address);
        std::copy_n(data.begin(), n, image.eqBands.begin() + std::ptrdiff_t(address));
        // So does each record it never had written. Only those records are blank: the
        // records written since (a single band edited, one equaliser imported) are kept.
        for (std::size_t i = (kEqBandRecordSize - address % kEqBandRecordSize) % kEqBandRecordSize;
             i < n; i += kEqBandRecordSize) {
            if (blankAt(i)) {
                std::fill_n(image.eqBands.begin() + std::ptrdiff_t(address + i),
                            std::min(kEqBandRecordSize, n - i), 0);
            }
        }
        return true;
    }
    switch (address) {
    case kRoomGainBlockAddress:
        copyInto(image.roomGain, data);
        return true;
    case kRoomLayoutBlockAddress:
        // The room page reads its positions from the block when it is shown.
        copyInto(image.roomLayout, data);
        return true;
    case kMicBoostWordAddress:
        copyInto(image.micBoost, data);
        return true;
    default:
        return false;
    }
}

bool decodeModeNameReply(const Report& report, DeviceImage& image) {
    const std::size_t address = addressOf(report);
    const auto slot = std::find(kModeNameAddresses.begin(), kModeNameAddresses.end(), address);
    if (slot == kModeNameAddresses.end()) {
        return false;
    }
    // A name never written on the processor reads FF FF FF FF; ours stays.
    if (report[5] == 0xFF && report[6] == 0xFF && report[7] == 0xFF && report[8] == 0xFF) {
        return false;
    }
    const auto data = dataOf(report);
    std::u16string name;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(readU16(data, i));
        if (unit == 0) {
            break;
        }
        if (name.size() < kModeNameMaxUnits) {
            name.push_back(unit);
        }
    }
    image.modeNames[std::size_t(slot - kModeNameAddresses.begin())] = std::move(name);
    return true;
}

} // namespace quilo
