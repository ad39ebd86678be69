#pragma once

#include "emulator/EmulatorState.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quilo {

// How long the emulated processor, its Z-Wave module, the plugs and the
// emulated user take. Tests shorten them.
struct EmulatorTimings {
    std::chrono::milliseconds learnKeyPress{1500}; // until the user's remote is pressed (LearnKey)
    std::chrono::milliseconds zwaveResponse{10};   // serial-API response after the acknowledgement
    std::chrono::milliseconds zwaveCallback{60};   // send-data callback from a plug that heard us
    std::chrono::milliseconds zwaveNoAck{600};     // send-data callback when no plug answered
    std::chrono::milliseconds learnReady{100};     // inclusion or exclusion ready
    std::chrono::milliseconds buttonPress{2500};   // until the user presses a plug's button
    std::chrono::milliseconds inclusionStep{300};  // between node found, adding and done
    std::chrono::milliseconds networkReset{300};   // SetDefault callback
    std::chrono::milliseconds plugReport{150};     // a plug's report after its command
    std::chrono::milliseconds irKeyPress{2000}; // until the user points a remote at a learning plug
    std::chrono::milliseconds irLearnTimeout{10000}; // a learning plug gives up waiting for a key
};

struct EmulatorOptions {
    EmulatorTimings timings;
    // The plugs lying beside the processor, in the order the emulated user picks them.
    std::vector<PlugKind> plugs{PlugKind::Switch, PlugKind::Dimmer, PlugKind::Infrared};
    // A processor never set up: its band store answers as never written (FF).
    bool blankBandStore = false;
    // How many received reports the log keeps (the oldest go first).
    std::size_t logCapacity = 4096;
};

// Misbehaviour of the Z-Wave module and its plugs, one step at a time.
struct ZwaveFaults {
    bool noNodeList = false;      // GetInitData is acknowledged and never answered
    bool noMemoryReplies = false; // ZwaveReadMemory gets no reply
    bool noResetCallback = false; // SetDefault empties the network but never says so
    bool nobodyPresses = false;   // the emulated user never presses a plug's button
    bool inclusionFails = false;  // the pressed plug is found, then the inclusion fails (7)
    bool exclusionFails = false;  // the pressed plug is found, then the exclusion fails (7)
    bool plugsDeaf = false;       // no plug hears a send: its end of send has status 1
    bool noSendCallback = false;  // a send reaches its plug but its end is never reported
    // How an infrared plug's learning ends: 3 learned, 4 the code failed its
    // check, 5 no key came in time (after irLearnTimeout).
    std::uint8_t learnOutcome = 3;
    bool emitFails = false; // emitting even a learned key fails (7)
};

// Misbehaviour on demand, for tests of the host.
struct EmulatorFaults {
    bool silent = false;                     // never answers (state still changes)
    std::chrono::milliseconds replyDelay{0}; // every reply and later frame comes this much later
    // Unplugged once this many more reports have arrived: that last report is
    // handled, then nothing more is answered and reads and writes fail.
    std::optional<std::size_t> unplugAfterReports;
    std::optional<std::string> modelName;        // instead of "MIVRAX"
    std::optional<std::uint8_t> protocolVersion; // instead of 18
    std::uint8_t paramErrorCode = 0;             // status byte of every 0x0A reply
    // Plugged in, but this user may not open it (no udev rule): listed with the
    // processor's ids, and opening it is refused for lack of permission.
    bool locked = false;
    // Unasked status replies (PollStatus) this often, on top of every answer.
    std::optional<std::chrono::microseconds> statusFlood;
    ZwaveFaults zwave;
};

} // namespace quilo
