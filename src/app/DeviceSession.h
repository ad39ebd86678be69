#pragma once

#include "bus/MainThreadPoster.h"
#include "connection/ProcessorConnection.h"
#include "device/ObservedSink.h"
#include "emulator/EmulatorOptions.h"
#include "smarthome/SmartHomeTimings.h"
#include "ui/DeviceAccess.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace quilo {

class DeviceWatcher;
class ProtocolTrace;

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

// The program's connection to the processor: the one ProcessorConnection, run
// on the user-interface thread with a poster onto its event loop, and the arrival
// and removal watcher. What the connection tells comes out as signals on that
// thread.
class DeviceSession : public DeviceAccess {
    Q_OBJECT
public:
    DeviceSession(DeviceImage& image, SessionOptions options, QObject* parent = nullptr);
    ~DeviceSession() override;

    bool emulated() const { return m_connection->emulated(); }
    bool linkOpen() const override { return m_connection->linkOpen(); }
    bool openLink() { return m_connection->openLink(); }
    // What the last search for the processor found: opened, none, or one this
    // user may not open.
    SearchResult lastSearch() const { return m_connection->lastSearch(); }
    void closeLink(bool sayGoodbye) { m_connection->closeLink(sayGoodbye); }
    // The end of the program: what the user did last goes out, then the goodbye,
    // all within about a second whatever the processor does (see UsbLink::hurry).
    void closeForExit() { m_connection->closeForExit(); }
    // A removal of `path`: true when it was the opened interface and the link closed.
    bool interfaceRemoved(const QString& path) {
        return m_connection->interfaceRemoved(path.toStdString());
    }

    // Follows HID arrival and removal (real hardware only). False when the
    // watch cannot start; the text and caption then say why.
    bool startWatching(QString* failureText = nullptr, QString* failureCaption = nullptr);

    ProcessorConnection& connection() { return *m_connection; }
    // Senders on the user-interface thread hand their reports here; never blocks.
    ReportWriter& writer() { return m_connection->writer(); }
    ReportSink& uiSink() override { return *m_uiSink; }
    // Called after every report a sender on this thread hands to uiSink.
    void setSentObserver(std::function<void()> sent) { m_uiSink->setObserver(std::move(sent)); }
    void releasePacing() override { m_connection->writer().releasePacing(); }
    PollingGate& polling() override { return m_connection->polling(); }
    SmartHome* smartHome() override { return &m_connection->smartHome(); }
    SyncRunner& sync() { return m_connection->sync(); }
    UsbLink& link() { return m_connection->link(); }
    DebugLog& log() { return m_connection->log(); }
    // Applies the replies waiting in the inbound queue, if this thread owns the image.
    void drainInbound() { m_connection->drainInbound(); }
    const SyncTimings& syncTimings() const { return m_connection->syncTimings(); }

    // The emulated processor and its transport; null unless emulating.
    Emulator* emulator() { return m_connection->emulator(); }
    EmulatorTransport* emulatorTransport() { return m_connection->emulatorTransport(); }
    // Writes the emulator's state to the emulator file, if one was given and it
    // loaded (or did not exist yet).
    bool saveEmulatorState(QString* error = nullptr);
    // What loading the emulator file said at start (empty when all was well).
    QString emulatorLoadError() const {
        return QString::fromStdString(m_connection->emulatorLoadError());
    }

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

    SessionOptions m_options;
    MainThreadPoster m_poster;
    std::unique_ptr<Events> m_events;
    std::unique_ptr<ProcessorConnection> m_connection;
    std::unique_ptr<ObservedSink> m_uiSink;
    std::unique_ptr<DeviceWatcher> m_watcher;
    QSocketNotifier* m_watchNotifier = nullptr;
};

} // namespace quilo
