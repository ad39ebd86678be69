#pragma once

#include <cstdint>

namespace quilo {

// A frame of the Z-Wave module as the windows hear of it: its function id (0x04
// a plug's command, 0x13 end of a send, 0x42 reset done, 0x4A inclusion, 0x4B
// exclusion) and a word whose high 16 bits hold a plug id or callback id and whose
// low 16 bits a status or value.
struct ZwaveEvent {
    std::uint8_t function = 0;
    std::uint32_t word = 0;
    int high() const { return static_cast<int>(word >> 16); }
    int low() const { return static_cast<int>(word & 0xFFFF); }
    bool operator==(const ZwaveEvent&) const = default;
};

// What the smart-home workers tell the windows; as two numbers (1, 0), (1, 1)
// and (8, 0).
enum class WorkerNotice { SceneStarted, SceneFinished, PlugDataRefreshed };

// How the smart-home core reaches the user interface. zwaveEvent comes on the
// read thread, workerNotice on a worker thread, hdmiSelected on whichever thread
// runs a scene step (a worker, or the user-interface thread for runStep). An
// implementation queues each call onto its own thread and returns at once: it must
// not wait for the user-interface thread, which may itself be waiting for the
// workers to stop. Bodies are empty, so this class also serves as "nobody listens".
class SmartHomeEvents {
public:
    virtual ~SmartHomeEvents() = default;

    virtual void zwaveEvent(const ZwaveEvent& /*event*/) {}
    // The worker's work is done when it reports; nothing of it follows the notice.
    virtual void workerNotice(WorkerNotice /*notice*/) {}
    // A scene step chose HDMI input `input` (0-3) and has sent it to the
    // processor; the image's `hdmiSelect` takes it on the user-interface thread.
    virtual void hdmiSelected(int /*input*/) {}
};

} // namespace quilo
