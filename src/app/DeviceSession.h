#pragma once

#include "app/DeviceAccess.h"
#include "app/MainThreadPoster.h"
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
#include "model/SyncRunner.h"
#include "model/Synchroniser.h"
#include "smarthome/SmartHomeTimings.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QSocketNotifier;

namespace quilo {

class DeviceWatcher;
class ProtocolTrace;
class Emulator;
class EmulatorTransport;
class SmartHome;
class ZwavePort;

struct SessionOptions {
    // The in-process emulated processor instead of the USB device.
    bool emulate = false;
    // Emulator state loaded at start and saved by saveEmulatorState (may be empty).
    QString emulatorFile;
    EmulatorOptions emulatorOptions;
    SyncTimings syncTimings;
    UsbLinkOptions linkOptions;
    SmartHomeTimings smartHomeTimings;
    // Folder of the plug key files; `Plug` in the user's documents folder when empty.
    QString plugFolder;
    // The diagnostic trace every report passes through (off until opened); none when null.
    std::shared_ptr<ProtocolTrace> trace;
};

// Everything between the windows and the processor: the transport (USB or
// emulated), the link with its read thread, the user-interface thread's FIFO
// writer, the paced sink and synchronisation worker, the reply decoder and the
// arrival and removal watcher, and the smart home over the link. Events of other
// threads come out as signals on the thread that owns the session (queued).
//
// Replies with image data wait in the inbound queue; the read thread asks this
// thread to drain it, which it does only while it owns the image (during a
// synchronisation run the worker drains it instead).
class DeviceSession : public DeviceAccess {
    Q_OBJECT
public:
    DeviceSession(DeviceImage& image, SessionOptions options, QObject* parent = nullptr);
    ~DeviceSession() override;

    bool emulated() const { return m_options.emulate; }
    bool linkOpen() const override;
    bool openLink();
    // What the last search for the processor found: opened, none, or one this
    // user may not open.
    SearchResult lastSearch() const { return m_link->lastSearch(); }
    void closeLink(bool sayGoodbye);
    // The end of the program: what the user did last goes out, then the goodbye,
    // all within about a second whatever the processor does (see UsbLink::hurry).
    void closeForExit();
    // A removal of `path`: true when it was the opened interface and the link closed.
    bool interfaceRemoved(const QString& path);

    // Follows HID arrival and removal (real hardware only). False when the
    // watch cannot start; the text and caption then say why.
    bool startWatching(QString* failureText = nullptr, QString* failureCaption = nullptr);

    // Senders on the user-interface thread hand their reports here; never blocks.
    ReportWriter& writer() { return *m_writer; }
    ReportSink& uiSink() override { return *m_writer; }
    void releasePacing() override { m_writer->releasePacing(); }
    PollingGate& polling() override { return m_polling; }
    SmartHome* smartHome() override { return m_home.get(); }
    SyncRunner& sync() { return *m_sync; }
    UsbLink& link() { return *m_link; }
    DebugLog& log() { return m_log; }
    // Applies the replies waiting in the inbound queue, if this thread owns the image.
    void drainInbound();
    const SyncTimings& syncTimings() const { return m_options.syncTimings; }

    // The emulated processor and its transport; null unless emulating.
    Emulator* emulator() { return m_emulator.get(); }
    EmulatorTransport* emulatorTransport() { return m_emulatorTransport; }
    // Writes the emulator's state to the emulator file, if one was given and it
    // loaded (or did not exist yet).
    bool saveEmulatorState(QString* error = nullptr);
    // What loading the emulator file said at start (empty when all was well).
    QString emulatorLoadError() const { return m_emulatorLoadError; }

signals:
    void deviceArrived(const QString& path);
    void deviceRemoved(const QString& path);
    // A synchronisation ended: direction 0 pull, 1 push; `run` as startPull/startPush gave.
    void syncDone(int direction, quint64 run);
    // The synchronisation worker handed the image back (also after a cancelled run).
    void imageReturned();
    // A read or write failed: the processor is lost until it is found again.
    void readFailed();
    // The processor reported a parameter error (once per run).
    void parameterError(int code, int module, int param);
    // A scene step chose an HDMI input; the image holds it now.
    void hdmiSelected(int input);

private:
    class Events;
    class HomeEvents;

    // Asks this thread to drain the inbound queue; one request waits at a time.
    void requestDrain();
    // A scene's HDMI step, into the image once this thread owns it.
    void applyHdmi(int input);

    DeviceImage& m_image;
    SessionOptions m_options;
    DebugLog m_log;
    PollingGate m_polling;
    std::atomic<bool> m_drainRequested{false};
    MainThreadPoster m_poster;

    std::unique_ptr<Emulator> m_emulator;
    EmulatorTransport* m_emulatorTransport = nullptr;
    QString m_emulatorLoadError;
    std::unique_ptr<HidTransport> m_transport;
    std::unique_ptr<Events> m_events;
    std::unique_ptr<InboundDispatcher> m_dispatcher;
    std::unique_ptr<InboundQueue> m_inbound;
    std::unique_ptr<UsbLink> m_link;
    std::unique_ptr<ReportWriter> m_writer;
    std::unique_ptr<LinkSink> m_pacedSink;
    std::unique_ptr<DrainingSink> m_syncSink;
    std::unique_ptr<SyncRunner> m_sync;
    std::unique_ptr<ZwavePort> m_zwaveLinkPort;
    std::unique_ptr<ZwavePort> m_zwaveUiPort;
    std::unique_ptr<HomeEvents> m_homeEvents;
    std::unique_ptr<SmartHome> m_home;
    int m_pendingHdmi = -1; // waiting for the image to come back from a run
    std::unique_ptr<DeviceWatcher> m_watcher;
    QSocketNotifier* m_watchNotifier = nullptr;
};

} // namespace quilo
