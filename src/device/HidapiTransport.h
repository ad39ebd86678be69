#pragma once

#include "device/HidTransport.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

struct hid_device_;

namespace quilo {

// The real processor through hidapi on hidraw.
//
// The interface is opened twice: one handle only ever reads (the read thread),
// the other only ever writes (serialised here). hidapi keeps per-handle error
// state that a read and a write on one handle would update concurrently; two
// handles keep the reader and the writers apart. Every open hidraw handle
// receives its own copy of each inbound report, so the reading handle sees them all.
class HidapiTransport : public HidTransport {
public:
    HidapiTransport();
    ~HidapiTransport() override;
    HidapiTransport(const HidapiTransport&) = delete;
    HidapiTransport& operator=(const HidapiTransport&) = delete;

    std::vector<std::string> interfacePaths() override;
    bool open(const std::string& path) override;
    OpenFailure lastOpenFailure() const override;
    std::optional<HidAttributes> listedAttributes(const std::string& path) override;
    std::optional<HidAttributes> attributes() override;
    int read(Report& into, std::chrono::milliseconds timeout) override;
    int write(const Report& report) override;
    void close() override;

    // Every hidraw interface present, once each, in enumeration order.
    static std::vector<std::pair<std::string, HidAttributes>> enumerate();

private:
    std::mutex m_readMutex;
    std::mutex m_writeMutex;
    mutable std::mutex m_infoMutex;
    hid_device_* m_reader = nullptr; // guarded by m_readMutex
    hid_device_* m_writer = nullptr; // guarded by m_writeMutex
    std::string m_path;              // guarded by m_infoMutex
    // Vendor and product of each path of the last listing; guarded by m_infoMutex.
    std::map<std::string, HidAttributes> m_known;
    OpenFailure m_lastOpenFailure = OpenFailure::Failed; // guarded by m_infoMutex
};

// Fits one inbound hidraw read into a report. A device with numbered reports
// delivers the report id first (61 bytes); one without delivers only the 60
// payload bytes, which are moved one place on so the reply code is always at byte 1.
Report normaliseInboundReport(const unsigned char* data, int length);

} // namespace quilo
