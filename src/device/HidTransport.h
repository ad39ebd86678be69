#pragma once

#include "device/Report.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quilo {

constexpr std::uint16_t kProcessorVendorId = 0x2010;  // 8208
constexpr std::uint16_t kProcessorProductId = 0x1031; // 4145

struct HidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

inline bool isProcessor(const HidAttributes& ids) {
    return ids.vendorId == kProcessorVendorId && ids.productId == kProcessorProductId;
}

// Why an open() failed: the interface is there but this user may not open it,
// or anything else (gone, busy, not a HID node).
enum class OpenFailure { Failed, PermissionDenied };

// One HID interface as the link sees it: listed, opened one at a time, read and
// written in 61-byte reports. Implemented for real hardware (hidapi on hidraw)
// and for the in-process emulated processor; tests add their own.
class HidTransport {
public:
    virtual ~HidTransport() = default;

    // Paths of the HID interfaces present now, in enumeration order.
    virtual std::vector<std::string> interfacePaths() = 0;

    // Opens one interface for reading and writing; false when it cannot be opened.
    virtual bool open(const std::string& path) = 0;

    // Why the last open() failed; a transport that cannot tell says Failed.
    virtual OpenFailure lastOpenFailure() const { return OpenFailure::Failed; }

    // Vendor and product of an interface as the listing gives them, without
    // opening it; nullopt when the listing does not say. Lets the link tell a
    // processor it may not open from someone else's device it may not open.
    virtual std::optional<HidAttributes> listedAttributes(const std::string& /*path*/) {
        return std::nullopt;
    }

    // Vendor and product of the opened interface; nullopt when they cannot be read.
    virtual std::optional<HidAttributes> attributes() = 0;

    // Waits up to `timeout` for one inbound report. Returns the number of bytes
    // received (61), 0 when nothing arrived in time, -1 when the read failed.
    // Called by the read thread only.
    virtual int read(Report& into, std::chrono::milliseconds timeout) = 0;

    // Writes one report; returns the number of bytes written, or -1 on failure.
    // May be called from any thread while read() runs on the read thread.
    virtual int write(const Report& report) = 0;

    // Closes the opened interface; a read in progress returns within its timeout.
    virtual void close() = 0;
};

} // namespace quilo
