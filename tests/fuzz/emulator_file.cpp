// The emulated processor's state files: a file is taken whole or refused; what
// is taken saves and loads again as the same state, and the processor it
// describes answers a read-back, every stored mode and the Z-Wave requests.
#include "FuzzCheck.h"
#include "device/ReportBuilder.h"
#include "emulator/EmulatorFile.h"
#include "emulator/HostSink.h"
#include "model/InboundDispatcher.h"
#include "model/Synchroniser.h"
#include "smarthome/PlugFrames.h"

#include <memory>
#include <string>

using namespace quilo;
using namespace quilo::test;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto state = decodeEmulatorState({data, size}, error);
    if (!state) {
        FUZZ_CHECK(!error.empty(), "a refusal without a reason");
        return 0;
    }
    const auto bytes = encodeEmulatorState(*state);
    const auto again = decodeEmulatorState(bytes, error);
    FUZZ_CHECK(again && *again == *state, "a saved state loads differently");

    EmulatorHarness harness;
    harness.emulator.restore(*state);
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    DeviceEvents nobody;
    InboundDispatcher dispatcher(*image, nobody);
    HostSink sink(harness, dispatcher);
    Synchroniser(*image, sink, kNoPauses).pullAll();
    FUZZ_CHECK(checkIdentity(*image) == IdentityVerdict::Ok, "the emulator's identity");
    for (std::uint8_t mode = 0; mode < kEmulatorModes; ++mode) {
        sink.send(buildCommand(Command::LoadMode, {mode}));
    }
    sink.send(buildGetInitData());
    sink.send(buildZwaveReadMemory(0, kMemoryPieceSize));
    for (const PlugState& plug : state->plugs) {
        sink.send(buildSendBasicSet(plug.nodeId, 0xFF));
        sink.pause(std::chrono::seconds(1));
    }
    return 0;
}
