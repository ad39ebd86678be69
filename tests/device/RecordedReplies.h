#pragma once

// Every reply the emulated processor sends during a whole read-back, plus a few
// of the kinds a read-back does not bring: real replies for the random tests to
// damage and for the fuzz target's seeds.
#include "InboundHelpers.h"
#include "device/ReportSink.h"
#include "emulator/EmulatorHarness.h"
#include "model/Synchroniser.h"

#include <memory>
#include <vector>

namespace quilo::test {

inline std::vector<Report> recordedReplies() {
    struct Collector : ReportSink {
        EmulatorHarness& h;
        std::vector<Report> replies;
        explicit Collector(EmulatorHarness& harness) : h(harness) {}
        int send(const Report& r) override {
            for (const Report& x : h.send(r)) {
                replies.push_back(x);
            }
            return 61;
        }
        void pause(std::chrono::milliseconds d) override {
            for (const Report& x : h.advance(d)) {
                replies.push_back(x);
            }
        }
    };
    EmulatorHarness harness;
    Collector sink(harness);
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    image->info.modelName = u"MIVRAX";
    image->info.protocolVersion = 18;
    Synchroniser(*image, sink).pullAll();
    std::vector<Report> out = sink.replies;
    out.push_back(reply(0x60, {0x01, 4, 0x2C}));
    out.push_back(reply(0x09, {}));
    out.push_back(reply(0x12, {0x09, 0x01, 0x07, 0x00, 0x04, 0x00, 0x05, 0x03, 0x20, 0x03, 0x63}));
    out.push_back(reply(0x0E, {10, 20, 30, 40, 50, 60, 0xFA, 1, 9, 8, 7, 6, 5, 4, 3, 2}));
    out.push_back(reply(0x7E, {'2', '0', '1', '3', '-', '0', '1', '-', '0', '1'}));
    return out;
}

} // namespace quilo::test
