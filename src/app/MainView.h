#pragma once

#include "app/CPage.h"
#include "app/RibbonIds.h"
#include "app/TrayNotifier.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace quilo {

class CMFCMyRibbonStatusBar;
class CMyMFCRibbonBar;
class CVORNEXv13App;

// The main view: the page area below the ribbon and the controller of
// everything global — master volumes and mutes, stored modes and mode files,
// the connection, the status poll, the wireless-microphone lines, tray balloons,
// keyboard shortcuts, machine reset and the equaliser bypass and reset.
class CVORNEXv13View : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinPageWidth = 1024;
    static constexpr int kMinPageHeight = 520;
    static constexpr int kConnectedBalloonMs = 5000;
    static constexpr int kArrivalBalloonMs = 4000;
    static constexpr int kRemovedBalloonMs = 5000;

    CVORNEXv13View(CVORNEXv13App& app, CMyMFCRibbonBar& ribbon, CMFCMyRibbonStatusBar& status,
                   QWidget* parent = nullptr);
    ~CVORNEXv13View() override;

    // Resets the image, creates the first page, applies the language and arms
    // the connection timer.
    void initialise();

    // --- page area ---
    CPage* currentPage() const { return m_page; }
    // Shows `page` (the view takes it) and destroys the previous one.
    void setPage(CPage* page);
    void categoryChanged(int category);

    // --- ribbon commands ---
    void onCommand(int id);
    void onSliderChanged(int id, int value);
    void volumeChanged(ribbon::Slider which);
    void toggleMute(ribbon::Mute which);
    void toggleEqSwitch();
    void resetCurrentEq();
    void resetMachine();

    // --- stored modes and files ---
    void loadStoredMode(int mode);
    void saveStoredMode(int mode, bool fromKeyboard = false);
    // Returns a stored mode to its factory setting and reads it back (machine settings).
    void resetStoredMode(int mode);
    void openModeFile();
    void saveModeFile();
    void openModeFileByPath(const QString& path);
    void loadPreset(int entry);
    // The unsaved-changes question of closing; false keeps the program open.
    bool confirmClose();

    // --- connection ---
    void connectAtStart();
    void onDeviceArrival(const QString& path);
    void onDeviceRemoval(const QString& path);
    void onSyncDone(int direction, quint64 run);
    void startPull(const QString& dialogText = {});
    void startPush();
    // Closes the link as the program ends (Goodbye) and stops the poll.
    void closeLinkForExit();

    // Sets the master controls from the image, then the page and tool windows.
    void refreshFromImage();
    void refreshMasterControls();
    // Relabels the ribbon's value texts, the status bar and the page.
    void applyLanguage(int language);
    // Connection pane, mode pane, mute marks, mode marks, microphone lines.
    void updateIndicators();

    // --- state ---
    bool announced = false;
    bool mismatchBoxAllowed = true;
    bool peakEnabled() const { return m_peakEnabled; }
    void setPeakEnabled(bool on) { m_peakEnabled = on; }
    bool pollRunning() const { return m_poll.isActive(); }
    TrayNotifier& tray() { return m_tray; }
    // Keys examined before any window sees them; true when consumed.
    bool handleShortcut(QKeyEvent* event);

signals:
    // Learned remote key, Z-Wave reports: for the windows that listen.
    void learnedKey(int code);
    void zwaveReport(const QByteArray& report);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void announceConnection(int balloonMs);
    // Reads a mode file into the image and pushes it; a bad file is reported.
    void loadModeFileAndPush(const QString& path);
    // Stores the current mode in the processor and writes the image to `path`;
    // a failed write is reported and leaves the changes marked unsaved.
    bool saveModeAndFile(const QString& path);
    void pollStatus();
    void stepVolume(ribbon::Slider which, bool up, bool leftCtrl);
    void closeToolWindowsForArrival();
    bool keyboardBlocked() const;
    void layoutPage();
    int volumeLimit(ribbon::Slider which) const;
    QString volumeLabel(ribbon::Slider which, int value) const;

    CVORNEXv13App& m_app;
    CMyMFCRibbonBar& m_ribbon;
    CMFCMyRibbonStatusBar& m_status;
    QPointer<CPage> m_page;
    QTimer m_connectTimer; // timer 1
    QTimer m_poll;         // timer 3
    QTimer m_indicators;   // what the framework's idle update refreshes
    TrayNotifier m_tray;
    bool m_peakEnabled = true;
    bool m_rightCtrlDown = false;
    quint64 m_lastSyncRun = 0;
    qint64 m_modeKeysBlockedUntil = 0;
};

} // namespace quilo
