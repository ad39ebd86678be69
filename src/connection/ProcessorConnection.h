#pragma once

#include "connection/ConnectionEvents.h"
#include "connection/OwnerLock.h"
#include "connection/Poster.h"
#include "connection/ReplyWatch.h"
#include "device/DebugLog.h"
#include "device/DrainingSink.h"
#include "device/HidTransport.h"
#include "device/InboundQueue.h"
#include "device/LinkSink.h"
#include "device/ReportWriter.h"
#include "device/UsbLink.h"
#include "emulator/EmulatorOptions.h"
#include "model/DeviceImage.h"
#include "model/InboundDispatcher.h"
#include "model/PollingGate.h"
#include "model/SyncRunner.h"
#include "model/Synchroniser.h"
#include "smarthome/SmartHomeTimings.h"

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

namespace quilo {

class Emulator;
class EmulatorTransport;
class SmartHome;
class TraceSink;
class ZwavePort;

struct ConnectionOptions {
    // The in-process emulated processor instead of the USB device.
    bool emulate = false;
    // Emulator state loaded at construction and saved by saveEmulatorState (may be empty).
    std::filesystem::path emulatorFile;
    EmulatorOptions emulatorOptions;
    UsbLinkOptions linkOptions;
    SyncTimings syncTimings;
    SmartHomeTimings smartHomeTimings;
    // Folder of the plug key files.
    std::filesystem::path plugFolder;
    // Every report passes through this trace; none when null.
    std::shared_ptr<TraceSink> trace;
    // How the owner thread's smart-home reports go out: queued on the writer (a
    // program whose thread must never wait), or as paced writes on the calling
    // thread (a command-line run, which waits for each answer anyway).
    bool queuedHomeSends = true;
    // The program that holds the processor's owner lock while connected ("quilo",
    // "quilod", "quiloctl"); no lock when empty. Plain emulation is never locked:
    // that processor exists in this process only.
    std::string ownerName;
};

// One connection to one processor, real or emulated: the transport, the link with
// its read thread, the writer, the inbound queue and its dispatcher into the
// image, the synchronisation worker and the smart home over the link.
//
// Threads. The connection belongs to one thread, its owner: the one that makes it,
// calls every function below and destroys it (the program's user-interface thread,
// a command-line run's or the daemon's main thread). The read thread, the
// synchronisation worker and the smart-home workers never call the owner's code
// themselves: whatever they have to tell goes through the poster, which runs it
// later on the owner thread (the program posts onto its Qt event loop, a
// command-line run onto a CallLoop it runs while it waits), and reaches the
// ConnectionEvents there. The one exception are the Z-Wave module's frames: the
// smart home acknowledges them and takes them into its table on the read thread.
//
// Who drains the inbound queue: replies with image data wait in it until the
// owner thread drains them, and it does so only while it owns the image (see
// DeviceImage): when the read thread asks (one request is posted at a time), after
// each write through pacedSink(), and whenever a run hands the image back. While a
// synchronisation run holds the image its worker drains instead, after every write.
class ProcessorConnection {
public:
    ProcessorConnection(DeviceImage& image, ConnectionOptions options, Poster poster,
                        ConnectionEvents& events);
    ~ProcessorConnection();
    ProcessorConnection(const ProcessorConnection&) = delete;
    ProcessorConnection& operator=(const ProcessorConnection&) = delete;

    bool emulated() const { return m_options.emulate; }
    bool linkOpen() const { return m_link->linkOpen(); }
    // Opens the link and takes the owner lock of the processor; false when none
    // was found or another process owns it (heldBy() then says who).
    bool openLink();
    // What the last search for the processor found.
    SearchResult lastSearch() const { return m_link->lastSearch(); }
    // The other process that owns the processor this connection would open.
    const std::optional<ProcessorOwner>& heldBy() const { return m_heldBy; }
    void closeLink(bool sayGoodbye);
    // The end of a run: what was queued last goes out, then the goodbye, all
    // within about a second whatever the processor does (see UsbLink::hurry).
    void closeForExit();
    // A removal of `path`: true when it was the opened interface and the link closed.
    bool interfaceRemoved(const std::string& path);

    DeviceImage& image() { return m_image; }
    // Queues for the writer thread; never blocks.
    ReportWriter& writer() { return *m_writer; }
    // Paced writes on the calling thread, each followed by a drain: for an owner
    // thread that may wait for the processor (never the user-interface thread).
    ReportSink& pacedSink() { return *m_syncSink; }
    SyncRunner& sync() { return *m_sync; }
    UsbLink& link() { return *m_link; }
    ReplyWatch& replies() { return *m_replies; }
    SmartHome& smartHome() { return *m_home; }
    DebugLog& log() { return m_log; }
    PollingGate& polling() { return m_polling; }
    const SyncTimings& syncTimings() const { return m_options.syncTimings; }
    // Applies the replies waiting in the inbound queue, if this thread owns the image.
    void drainInbound();

    // The emulated processor and its transport; null unless emulating.
    Emulator* emulator() { return m_emulator.get(); }
    EmulatorTransport* emulatorTransport() { return m_emulatorTransport; }
    const std::filesystem::path& emulatorFile() const { return m_options.emulatorFile; }
    // What loading the emulator file said (empty when all was well or it did not exist).
    const std::string& emulatorLoadError() const { return m_emulatorLoadError; }
    // Writes the emulator's state to its file, if one was given and it loaded
    // (or did not exist yet): a file that did not load, or that another process
    // owns, is never overwritten.
    bool saveEmulatorState(std::string* error = nullptr);

private:
    class DeviceEventPoster;
    class HomeEventPoster;

    void makeTransport();
    void requestDrain();
    void applyHdmi(int input);
    // True when another process owns `processor` (m_heldBy names it).
    bool takeLock(const std::string& processor);

    DeviceImage& m_image;
    ConnectionOptions m_options;
    Poster m_post;
    ConnectionEvents& m_events;
    DebugLog m_log;
    PollingGate m_polling;
    std::atomic<bool> m_drainRequested{false};

    std::unique_ptr<Emulator> m_emulator;
    EmulatorTransport* m_emulatorTransport = nullptr;
    std::string m_emulatorLoadError;
    std::unique_ptr<HidTransport> m_transport;
    std::unique_ptr<DeviceEventPoster> m_deviceEvents;
    std::unique_ptr<InboundDispatcher> m_dispatcher;
    std::unique_ptr<InboundQueue> m_inbound;
    std::unique_ptr<ReplyWatch> m_replies;
    std::unique_ptr<UsbLink> m_link;
    std::unique_ptr<ReportWriter> m_writer;
    std::unique_ptr<LinkSink> m_pacedSink;
    std::unique_ptr<DrainingSink> m_syncSink;
    std::unique_ptr<SyncRunner> m_sync;
    std::unique_ptr<ZwavePort> m_zwaveLinkPort;
    std::unique_ptr<ZwavePort> m_zwaveUiPort;
    std::unique_ptr<HomeEventPoster> m_homeEvents;
    std::unique_ptr<SmartHome> m_home;
    int m_pendingHdmi = -1; // waiting for the image to come back from a run
    OwnerLock m_lock;
    std::optional<ProcessorOwner> m_heldBy;
};

} // namespace quilo
