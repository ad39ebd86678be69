#pragma once

#include "device/DeviceOps.h"
#include "model/DeviceImage.h"
#include "model/FieldSetters.h"

#include <chrono>
#include <string_view>

namespace quilo {

// Pauses of a synchronisation; tests and benchmarks shorten them.
struct SyncTimings {
    std::chrono::milliseconds pullSettle{3200}; // before a read-back starts
    std::chrono::milliseconds pullTail{200};    // after it
    std::chrono::milliseconds pushSettle{100};
    std::chrono::milliseconds pushTail{50};
    std::chrono::milliseconds volumeStep{100}; // between steps of a volume ramp
    std::chrono::milliseconds modeSaveGap{20}; // between selecting and storing a mode
};

// Reads the whole image back from the processor or writes it out. The sink must
// be the paced write path (each report waits for the previous reply), so that a
// reply has been decoded into the image before the next request goes out. Timed
// waits are the sink's pauses.
class Synchroniser {
public:
    Synchroniser(DeviceImage& image, ReportSink& pacedSink, SyncTimings timings = {})
        : m_image(image), m_ops(pacedSink), m_setters(image, pacedSink), m_timings(timings) {}

    // Identity (two attempts), protocol check, every parameter, memory block,
    // machine settings and remote table. Stops early on a wrong model or protocol.
    void pullAll();
    // Every parameter in the processor's order, all memory, all coefficients, the
    // volume ramps of volume recall, then reads the two volumes back.
    void pushAll();
    // After a push of a file named for a stored mode: select that mode and store it.
    void storeIntoMode(int slot);
    // Asks for model, protocol and firmware dates, a second time when the model
    // does not match after the first; the pull's first step.
    bool requestIdentityTwice();

    const SyncTimings& timings() const { return m_timings; }
    int pullRequestCount() const;

private:
    void requestIdentity();
    void sendAllParams(bool volumeRecall);
    void writeAllMemory();
    void sendAllEqCoefficients();
    void rampVolumes();
    void wait(std::chrono::milliseconds d) { m_ops.sink().pause(d); }

    DeviceImage& m_image;
    DeviceOps m_ops;
    FieldSetters m_setters;
    SyncTimings m_timings;
};

enum class IdentityVerdict { Ok, ModelMismatch, ProtocolMismatch };

constexpr std::uint8_t kExpectedProtocol = 18;
bool isExpectedModel(std::u16string_view modelName); // "MIVRAX", any letter case
IdentityVerdict checkIdentity(const DeviceImage& image);

} // namespace quilo
