#pragma once

#include "support/StallMeter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <random>
#include <string>

namespace quilo {
class CVORNEXv13App;
namespace test {
class ScriptedPrompter;
}

// Plays a restless user against the whole program on the emulated processor: ribbon
// sliders and drags, mutes, every page and tool window, stored modes, presets, mode
// files saved and loaded, the language, and the processor pulled out and plugged in
// again. Acts only when a person could (no modal window, no synchronisation running).
// Watches the longest event-loop stall and the resident memory; at the end it checks
// that a read-back gives the image the user left.
class SoakDriver : public QObject {
public:
    // Resident bytes, anonymous and backed by files.
    struct Resident {
        qint64 anon = 0;
        qint64 file = 0;
    };
    struct Options {
        int seconds = 120;
        int stallLimitMs = 250;
        unsigned seed = 1;
        QStringList skip; // actions by name the user never takes (to find a cause)
    };

    SoakDriver(CVORNEXv13App& app, test::ScriptedPrompter& prompter, const QDir& folder,
               Options options);

    // Starts acting; the event loop quits when the time is up and the end checks ran.
    void start();
    // Prints the figures with the time the program took to close; the exit status (0 all
    // well, 1 a stall past the limit, a setting lost or a status bar that was wrong).
    int report(qint64 exitMs) const;

private:
    enum class Action {
        Slider,
        Drag,
        Mute,
        Category,
        Page,
        ToolWindow,
        LoadMode,
        SaveMode,
        Preset,
        SaveFile,
        LoadFile,
        Language,
        Equaliser,
        MachineReset,
        Unplug,
    };

    void step();
    void act(Action action);
    void moveSlider(int steps);
    void unplug();
    void replug();
    bool userMayAct();
    void sampleMemory();
    // Keeps the longest stall so far and tells every long one with the action before it.
    void noteStall();
    // Replugged, read back, a last change, read back again: does the image stay?
    void finish();
    bool readBack();
    void closeProgram();
    int rnd(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_random); }

    CVORNEXv13App& m_app;
    test::ScriptedPrompter& m_prompter;
    QDir m_folder;
    Options m_options;
    std::mt19937 m_random;
    test::StallMeter m_stalls;
    QTimer m_stepTimer;
    QTimer m_memoryTimer;
    QElapsedTimer m_clock;
    QStringList m_savedFiles;
    std::map<std::string, int> m_counts;
    bool m_unplugged = false;
    qint64 m_replugAt = 0;
    Resident m_rssWarm;
    Resident m_rssAt10;
    Resident m_rssEnd;
    qint64 m_rssMost = 0;
    qint64 m_memoryLines = 0;
    qint64 m_longestStall = 0;
    qint64 m_slowestActionMs = 0;
    const char* m_slowestAction = "none";
    std::deque<std::pair<qint64, const char*>> m_recent; // the last actions and when
    qint64 m_lastStep = 0;
    qint64 m_modalSince = -1;
    int m_untruths = 0; // moments the status bar disagreed with the link
    int m_lost = -1;    // fields the last read-back changed; -1 when it did not finish
    QStringList m_lostNames;
};

} // namespace quilo
