#pragma once

#include "device/AutoResetEvent.h"
#include "device/DebugLog.h"
#include "device/HidTransport.h"
#include "device/InboundHandler.h"
#include "device/Report.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <string>
#include <thread>

namespace quilo {

struct UsbLinkOptions {
    // Longest wait of a paced write for the processor's reply to the previous one.
    std::chrono::milliseconds pacingWait{1800};
    // Longest wait of closeLink for the read thread to end.
    std::chrono::milliseconds closeWait{1000};
    // Timeout of each read, so the read thread notices a closed link.
    std::chrono::milliseconds readSlice{50};
    // Most interfaces examined per search.
    int maxInterfaces = 32;
    // Once the link hurries (the program ends): the longest wait of a paced write
    // for its reply, and of closeLink for the read thread.
    std::chrono::milliseconds hurriedPacingWait{100};
    std::chrono::milliseconds hurriedCloseWait{300};
};

// What the last interface search came to. A processor this user may not open
// is told apart from no processor at all, so the user can be told what to fix.
struct SearchResult {
    enum class Outcome { Opened, NoProcessor, PermissionDenied };
    Outcome outcome = Outcome::NoProcessor;
    // The opened interface; with PermissionDenied the processor's node that could
    // not be opened; empty with NoProcessor.
    std::string path;
};

// The connection to the processor: finds and opens it, runs the read thread that
// hands every inbound report on, paces writes against the replies and closes.
//
// States: closed; open (read thread running); broken (open, but the read thread
// ended after a failed read, so writes return 0 until the link is closed and
// opened again).
class UsbLink {
public:
    UsbLink(HidTransport& transport, InboundHandler& inbound, DebugLog& log,
            UsbLinkOptions options = {});
    // Closes without Goodbye and joins the read thread; never destroy the link from
    // inside its own inbound handler.
    ~UsbLink();
    UsbLink(const UsbLink&) = delete;
    UsbLink& operator=(const UsbLink&) = delete;

    // Called on the read thread when a read fails and the thread gives up, or on
    // the writing thread when a write fails, whichever comes first, once per
    // connection: the processor is lost until it is found again. Set before openLink.
    void setReadFailedCallback(std::function<void()> callback);

    // False at once when already open; otherwise searches, and on success starts
    // the read thread.
    bool openLink();
    // The interface search; on success the transport is open on devicePath().
    bool findAndOpen();
    // The result of the last search (openLink while already open searches nothing).
    SearchResult lastSearch() const;
    // Paced write: waits (at most pacingWait) until the processor has answered
    // something since the previous write, then writes. Returns the bytes written
    // (61), 0 when the link is closed or broken.
    int WriteUsbData(const Report& report);
    // The same without waiting for a reply.
    int writeUnpaced(const Report& report);
    // Lets the next paced write go without waiting.
    void releasePacing();
    // For the end of the program, which must not wait on a processor that stopped
    // answering: a paced write waiting now goes ahead at once, later ones until the
    // link closes wait at most hurriedPacingWait, and the close waits at most
    // hurriedCloseWait for the read thread.
    void hurry();
    // Tells the inbound handler (which zeroes the live status), says Goodbye when asked (nothing
    // is written after it), stops the read thread (waiting at most closeWait) and closes the
    // transport.
    void closeLink(bool sayGoodbye);

    // The paced write in its steps, for a writer that keeps a report replaceable
    // while it waits. Step 1 of every write: false when the link is closed, and
    // false with the debug line when it is broken. Never blocks.
    bool acceptsWrites();
    // Step 2: waits until the processor has answered something since the previous
    // write, at most pacingWait, or until the link of `session` closes. True when
    // a reply came; a paced write goes ahead either way.
    bool awaitReply(std::uint64_t session);
    // Step 3: writes under writeLock while the link of `session` is still open.
    // Returns the bytes written; logs a short write.
    int writeReport(const Report& report, std::uint64_t session);

    bool linkOpen() const { return m_linkOpen.load(); }
    // The broken state: the read thread ended after a failed read.
    bool readThreadEnd() const { return m_readThreadEnd.load(); }
    // Counts connections; changes on every successful open.
    std::uint64_t session() const { return m_session.load(); }
    std::string devicePath() const;
    DebugLog& log() { return m_log; }
    // Paced writes that went ahead because no reply came in time.
    std::uint64_t pacingTimeouts() const { return m_pacingTimeouts.load(); }

private:
    struct ReaderThread {
        std::thread thread;
        std::uint64_t session = 0;
        bool exited = false; // guarded by m_exitMutex
    };

    bool openInterface(const std::string& path, bool& permissionDenied);
    void ReadUsbThreadProc(ReaderThread* self);
    // Tells the failure callback that connection `session` is lost, once.
    void tellFailure(std::uint64_t session);
    bool waitForReaderExit(ReaderThread& reader, std::chrono::milliseconds limit);
    // Writes under writeLock (held by the caller) while `session` is open.
    int writeLocked(const Report& report, std::uint64_t session);
    void joinFinishedReaders(bool all);

    HidTransport& m_transport;
    InboundHandler& m_inbound;
    DebugLog& m_log;
    const UsbLinkOptions m_options;

    std::atomic<bool> m_linkOpen{false};
    std::atomic<bool> m_readThreadEnd{false};
    std::atomic<bool> m_hurried{false};
    std::atomic<std::uint64_t> m_session{0};
    std::atomic<std::uint64_t> m_pacingTimeouts{0};
    std::atomic<std::uint64_t> m_failureToldFor{0}; // the last connection whose loss was told

    AutoResetEvent m_replyEvent{true};
    std::mutex m_writeLock;

    mutable std::mutex m_stateMutex; // devicePath, the last search and the callback
    std::string m_devicePath;
    SearchResult m_lastSearch;
    std::function<void()> m_readFailed;

    std::mutex m_openCloseMutex; // one open or close at a time
    std::mutex m_exitMutex;
    std::condition_variable m_exitCv;
    // The current read thread is the last; earlier ones that did not stop in time
    // on close wait here to be joined.
    std::list<ReaderThread> m_readers;
};

} // namespace quilo
