#pragma once

#include <chrono>

namespace quilo {

// Pauses, polls and time-outs of the smart-home code; tests and benchmarks
// shorten them. A poll of `n` rounds of `d` waits at most n·d and ends as soon as
// what it waits for has happened.
struct SmartHomeTimings {
    std::chrono::milliseconds ackPause{20};     // read thread, after acknowledging a frame
    std::chrono::milliseconds syncSettle{2000}; // before a synchronisation asks for the node list
    std::chrono::milliseconds initDataPoll{30}; // node list poll: 200 rounds of 30 ms
    int initDataPolls = 200;
    std::chrono::milliseconds ackPoll{10}; // end-of-send or reset poll: 600 rounds of 10 ms
    int ackPolls = 600;
    std::chrono::milliseconds readAllStart{30}; // before the plug records are read
    std::chrono::milliseconds readAllGap{50};   // between the records and the scenes
    std::chrono::milliseconds workerTail{
        100};                              // after a synchronisation or reset, before its notice
    std::chrono::milliseconds stepGap{20}; // after every non-empty scene step
    std::chrono::milliseconds delaySecond{1000}; // one second of a scene's delay step

    std::chrono::milliseconds initDataTimeout() const { return initDataPoll * initDataPolls; }
    std::chrono::milliseconds ackTimeout() const { return ackPoll * ackPolls; }
};

} // namespace quilo
