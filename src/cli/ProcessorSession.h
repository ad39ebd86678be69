#pragma once

#include "cli/Commands.h"
#include "cli/ReplyWatch.h"
#include "device/DebugLog.h"
#include "device/DeviceEvents.h"
#include "device/DrainingSink.h"
#include "device/InboundQueue.h"
#include "device/LinkSink.h"
#include "device/UsbLink.h"
#include "model/DeviceImage.h"
#include "model/InboundDispatcher.h"
#include "model/Synchroniser.h"

#include <memory>
#include <string>

namespace quilo {
class Emulator;
class EmulatorTransport;
class HidTransport;
} // namespace quilo

namespace quilo::cli {

// One connection of the command-line tool to the processor, real or emulated:
// the image, the dispatcher and queue that carry the replies into it and the
// paced write path that the synchronisation runs on. The main thread owns the
// image throughout: it applies the queued replies after each paced write and once
// more when the link is closed.
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
    // Says goodbye, waits for the read thread, applies the last replies and saves
    // the emulator's state to its file. Empty on success.
    std::string close();
    // open() and identify() in one; empty when the processor is ready.
    std::string connect();
    // Connects, reads everything back as the program does after connecting and
    // closes; empty when the image then holds the processor's setting.
    std::string readBack();
    // Closes and turns whatever failed first (`problem`, else the close) into the
    // exit status.
    int finish(const std::string& problem);

    // Replies by code so far; take it before sending the request awaited.
    std::uint64_t replyCount(std::uint8_t code) const { return m_replies.count(code); }
    // Waits until more than `seen` replies with this code have come, at most
    // `timeout`, and applies the queued replies to the image: the newest such
    // reply, or nothing on time-out.
    std::optional<Report> awaitReply(std::uint8_t code, std::uint64_t seen,
                                     std::chrono::milliseconds timeout);
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
    InboundQueue m_inbound;
    ReplyWatch m_replies{m_inbound};
    std::unique_ptr<UsbLink> m_link;
    LinkSink m_pacedSink;
    DrainingSink m_sink;
    bool m_open = false;
};

// The value of one field of the image as `quiloctl decode` prints it ("modelName").
std::string imageFieldText(const DeviceImage& image, std::string_view name);

} // namespace quilo::cli
