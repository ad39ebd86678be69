#pragma once

#include "app/TrayNotifier.h"
#include "model/PollingGate.h"
#include "ui/SyncStarter.h"

#include <QObject>
#include <QTimer>

class QWidget;

namespace quilo {

class DeviceSession;
class Language;
class Prompter;
class SyncProgress;
struct DeviceImage;

struct ConnectionTimings {
    int connectDelayMs = 250; // from start to the first attempt
    int pollIntervalMs = 300; // status poll
};

// The connection to the processor as the user sees it: the attempt at start,
// arrival and removal, the status poll, the read-backs and write-outs under the
// progress dialog and what their end says of the processor, tray announcements,
// machine reset and the goodbye at exit.
//
// While a run owns the image (DeviceImage) nothing here reads it. If the progress
// dialog gives up waiting, user input stays held until the image is back, and a
// close of the main window cancels the run and happens once it is back.
class ConnectionController : public QObject, public SyncStarter {
    Q_OBJECT
public:
    static constexpr int kConnectedBalloonMs = 5000;
    static constexpr int kArrivalBalloonMs = 4000;
    static constexpr int kRemovedBalloonMs = 5000;
    // Long enough to read the rule and the command it names.
    static constexpr int kPermissionMessageMs = 15000;

    ConnectionController(DeviceSession& session, DeviceImage& image, SyncProgress& progress,
                         Language& language, Prompter& prompter, QWidget& window,
                         ConnectionTimings timings);
    ~ConnectionController() override;

    // Arms the attempt at start.
    void start();
    void connectAtStart();
    void onDeviceArrival(const QString& path);
    void onDeviceRemoval(const QString& path);

    void startPull(const QString& dialogText = {}) override;
    void startPush() override;
    // The id of the run startPull or startPush started last.
    quint64 lastSyncRun() const { return m_lastSyncRun; }

    // Asks, then resets the processor (it needs a restart by hand).
    void resetMachine();
    // False while a run owns the image: the run is cancelled (a write of it waiting
    // for a reply goes ahead at once) and closeRequested() comes when the image is back.
    bool readyToClose();
    // Stops the timers and the synchronisation, lets the queued reports go out and
    // says goodbye, within about a second whatever the processor does.
    void closeForExit();

    bool announced() const { return m_announced; }
    // The attempt 250 ms after start has been made.
    bool startAttempted() const { return m_startAttempted; }
    // A processor is attached that this user may not open (the last search said
    // so and it has not been removed since); its node, or empty.
    QString permissionProblemPath() const { return m_permissionPath; }
    bool pollRunning() const { return m_poll.isActive(); }
    // The peak display (the status poll) as the user switched it.
    bool peakEnabled() const { return !m_peakOff.held(); }
    void setPeakEnabled(bool on) { m_peakOff.hold(!on); }
    TrayNotifier& tray() { return m_tray; }

signals:
    // The attempt at start was made; `opened` when it found the processor.
    void startAttemptDone(bool opened);
    // A read-back or write-out starts: the image is about to be replaced.
    void syncStarted();
    // A processor was plugged in and opened; tool windows close before it is read back.
    void arrived();
    // A run ended with the expected processor: whatever waits for it, then a refresh.
    void synchronised();
    // The connection, the mode or the marks the indicators show may have changed.
    void indicatorsChanged();
    // A close was held back until the image came back; it may go on now.
    void closeRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void announce(int balloonMs);
    // The link to the processor is gone: no polls, the tray and the status bar say so.
    void lostProcessor();
    // After a search that opened nothing: says once that the processor is there but
    // may not be opened, and what to do about it.
    void reportFailedSearch();
    void onSyncDone(int direction, quint64 run);
    void onImageReturned();
    void pollStatus();
    void holdInput(bool hold);

    DeviceSession& m_session;
    DeviceImage& m_image;
    SyncProgress& m_progress;
    Language& m_language;
    Prompter& m_prompter;
    QWidget& m_window;
    ConnectionTimings m_timings;
    QTimer m_connectTimer; // timer 1
    QTimer m_poll;         // timer 3
    TrayNotifier m_tray;
    bool m_announced = false;
    bool m_startAttempted = false;
    QString m_permissionPath;
    PollingGate::Pause m_peakOff;
    bool m_mismatchBoxAllowed = true;
    bool m_inputHeld = false;
    bool m_closePending = false;
    quint64 m_lastSyncRun = 0;
};

} // namespace quilo
