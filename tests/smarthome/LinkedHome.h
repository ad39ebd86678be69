#pragma once

#include "SmartHomeTestSupport.h"
#include "device/UsbLink.h"
#include "emulator/EmulatorTransport.h"
#include "model/InboundDispatcher.h"
#include "smarthome/LinkZwavePort.h"
#include "smarthome/SmartHome.h"
#include "support/EmulatedNetwork.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

namespace quilo::test {

// The smart-home pauses removed; polls end as soon as their flag is set and give
// up after 5 s; a delay step's second is 1 ms.
inline SmartHomeTimings noPauses() {
    using std::chrono::milliseconds;
    SmartHomeTimings t;
    t.ackPause = t.syncSettle = t.readAllStart = t.readAllGap = t.workerTail = t.stepGap =
        milliseconds(0);
    t.initDataPoll = t.ackPoll = milliseconds(1);
    t.initDataPolls = t.ackPolls = 5000;
    t.delaySecond = milliseconds(1);
    return t;
}

// The smart-home core over the real link, its read thread and the emulated
// processor's transport, with the key files in a folder of its own.
class LinkedHome {
public:
    explicit LinkedHome(EmulatorOptions options, SmartHomeTimings timings = noPauses())
        : emulator(std::move(options)),
          folder(std::filesystem::temp_directory_path() /
                 ("quilo-home-" + std::to_string(::getpid()) + "-" +
                  std::to_string(reinterpret_cast<std::uintptr_t>(this)))),
          home(port, port, events, folder / "Plug", &log, timings) {
        image->resetToDefaults();
        forward.target = &home.receiver();
    }
    // The read thread stops before the smart home goes.
    ~LinkedHome() {
        link.closeLink(false);
        std::filesystem::remove_all(folder);
    }

    bool open() { return link.openLink(); }
    template <typename F> auto withEmulator(F&& f) { return transport.withEmulator(f); }

    // The reports the emulator received, without the acknowledgements of frames.
    std::vector<Report> received() {
        std::vector<Report> out;
        for (const Report& r : transport.withEmulator([](Emulator& e) { return e.received(); })) {
            if (!(r[1] == 0x12 && r[2] == 1 && r[3] == 0x06)) {
                out.push_back(r);
            }
        }
        return out;
    }
    std::size_t acksReceived() {
        std::size_t n = 0;
        for (const Report& r : transport.withEmulator([](Emulator& e) { return e.received(); })) {
            n += r[1] == 0x12 && r[2] == 1 && r[3] == 0x06;
        }
        return n;
    }
    // Waits until `count` memory replies have reached the table (the last ones of a
    // read may come after a worker without pauses has finished).
    bool waitMemoryReplies(std::uint64_t count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (home.receiver().memoryReplies() < count) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }

private:
    // Hands the read thread's Z-Wave replies to the smart home.
    struct Forward : DeviceEvents {
        DeviceEvents* target = nullptr;
        void zwaveFrame(const Report& r) override { target->zwaveFrame(r); }
        void zwaveMemory(const Report& r) override { target->zwaveMemory(r); }
    };

public:
    Emulator emulator;
    EmulatorTransport transport{emulator};
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    Forward forward;
    InboundDispatcher dispatcher{*image, forward};
    DebugLog log;
    UsbLink link{transport, dispatcher, log};
    LinkZwavePort port{link};
    RecordingHomeEvents events;
    std::filesystem::path folder;
    SmartHome home;
};

} // namespace quilo::test
