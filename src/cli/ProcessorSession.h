#pragma once

#include "cli/Commands.h"
#include "connection/CallLoop.h"
#include "connection/ProcessorConnection.h"
#include "model/DeviceImage.h"
#include "model/Synchroniser.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace quilo::cli {

// How long a command waits for the processor's answer to one request.
constexpr std::chrono::milliseconds kReplyWait{2000};

// One connection of the command-line tool to the processor, real or emulated, and
// the image it fills. The main thread owns the image throughout and is the
// connection's owner thread: it applies the queued replies after each paced write
// and once more when the link is closed, and runs the calls the connection posts
// while it waits in loop().
class ProcessorSession {
public:
    // `events` hears what the connection tells (on this thread, while the loop
    // runs); nobody listens when null.
    explicit ProcessorSession(GlobalOptions options, ConnectionEvents* events = nullptr);
    // Closes (see close()) if that was not done yet; errors are lost then.
    ~ProcessorSession();
    ProcessorSession(const ProcessorSession&) = delete;
    ProcessorSession& operator=(const ProcessorSession&) = delete;

    // Checks the emulator's state file and opens the link. Empty on success,
    // otherwise what went wrong.
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
    std::uint64_t replyCount(std::uint8_t code) const;
    // Waits until more than `seen` replies with this code have come, at most
    // `timeout`, and applies the queued replies to the image: the newest such
    // reply, or nothing on time-out.
    std::optional<Report> awaitReply(std::uint8_t code, std::uint64_t seen,
                                     std::chrono::milliseconds timeout);
    // Lets the next write go without waiting for a reply that will not come.
    void releasePacing() { m_connection->link().releasePacing(); }

    DeviceImage& image() { return *m_image; }
    ReportSink& sink() { return m_connection->pacedSink(); }
    UsbLink& link() { return m_connection->link(); }
    DebugLog& log() { return m_connection->log(); }
    SmartHome& home() { return m_connection->smartHome(); }
    CallLoop& loop() { return m_loop; }
    // The real processor needs its pauses; the emulated one answers at once.
    SyncTimings timings() const { return m_connection->syncTimings(); }

private:
    void forgetIdentity();
    // Why the identity in the image is not one this program can talk to; empty if it is.
    std::string identityProblem() const;

    GlobalOptions m_options;
    std::unique_ptr<DeviceImage> m_image;
    CallLoop m_loop;
    ConnectionEvents m_nobody;
    std::unique_ptr<ProcessorConnection> m_connection;
    bool m_open = false;
};

// The value of one field of the image as `quiloctl decode` prints it ("modelName").
std::string imageFieldText(const DeviceImage& image, std::string_view name);

} // namespace quilo::cli
