#pragma once

#include "cli/Commands.h"
#include "cli/ReplyWatch.h"
#include "device/DebugLog.h"
#include "device/DeviceEvents.h"
#include "device/InboundDispatcher.h"
#include "device/LinkSink.h"
#include "device/UsbLink.h"
#include "model/DeviceImage.h"
#include "model/Sync.h"

#include <memory>
#include <string>

namespace quilo {
class Emulator;
class EmulatorTransport;
class HidTransport;
} // namespace quilo

namespace quilo::cli {

// One connection of the command-line tool to the processor, real or emulated:
// the image, the dispatcher that fills it from the read thread and the paced
// write path that the synchronisation runs on.
class ProcessorSession {
public:
    explicit ProcessorSession(GlobalOptions options);
    // Closes (see close()) if that was not done yet; errors are lost then.
    ~ProcessorSession();
    ProcessorSession(const ProcessorSession&) = delete;
    ProcessorSession& operator=(const ProcessorSession&) = delete;

    // Loads the emulator's state when asked to and opens the link. Empty on
    // success, otherwise what went wrong.
    std::string open();
    // Asks for the identity (twice when the model does not match at first).
    // Empty when the processor is one this program can talk to.
    std::string identify(Synchroniser& sync);
    // Says goodbye, waits for the read thread and saves the emulator's state to
    // its file. Afterwards nothing writes to the image any more. Empty on success.
    std::string close();
    // open() and identify() in one; empty when the processor is ready.
    std::string connect();
    // Connects, reads everything back as the program does after connecting and
    // closes; empty when the image then holds the processor's setting.
    std::string readBack();
    // Closes and turns whatever failed first (`problem`, else the close) into the
    // exit status.
    int finish(const std::string& problem);

    // Replies by code, for waiting on the answer to a request (see ReplyWatch).
    ReplyWatch& replies() { return m_replies; }
    // Lets the next write go without waiting for a reply that will not come.
    void releasePacing() { m_link->releasePacing(); }

    // Z-Wave frames and Z-Wave memory replies go to `target` from the read thread.
    // Set before open(); the target must outlive close().
    void forwardZwave(DeviceEvents& target) { m_events.target = &target; }

    DeviceImage& image() { return *m_image; }
    ReportSink& sink() { return m_sink; }
    UsbLink& link() { return *m_link; }
    DebugLog& log() { return m_log; }
    // The real processor needs its pauses; the emulated one answers at once.
    SyncTimings timings() const;

private:
    void forgetIdentity();
    // Why the identity in the image is not one this program can talk to; empty if it is.
    std::string identityProblem() const;
    // Passes the Z-Wave replies on; everything else the tool does not need.
    struct ZwaveForwarder : DeviceEvents {
        DeviceEvents* target = nullptr;
        void zwaveFrame(const Report& r) override {
            if (target) {
                target->zwaveFrame(r);
            }
        }
        void zwaveMemory(const Report& r) override {
            if (target) {
                target->zwaveMemory(r);
            }
        }
    };

    GlobalOptions m_options;
    std::unique_ptr<DeviceImage> m_image;
    std::unique_ptr<Emulator> m_emulator;
    EmulatorTransport* m_emulatorTransport = nullptr; // set while m_transport is made
    std::unique_ptr<HidTransport> m_transport;
    ZwaveForwarder m_events;
    DebugLog m_log;
    InboundDispatcher m_dispatcher;
    ReplyWatch m_replies{m_dispatcher};
    std::unique_ptr<UsbLink> m_link;
    LinkSink m_sink;
    bool m_open = false;
};

// The value of one field of the image as `quiloctl decode` prints it ("modelName").
std::string imageFieldText(const DeviceImage& image, std::string_view name);

} // namespace quilo::cli
