#pragma once

#include "device/DeviceEvents.h"
#include "device/InboundHandler.h"
#include "model/DeviceImage.h"

#include <atomic>
#include <string>

namespace quilo {

// Decodes every report the processor sends and passes on what the user interface
// must hear of: learned keys, Z-Wave frames and controller memory, and the first
// parameter error of its lifetime. Any 61 bytes are safe to hand it: codes,
// modules, parameters and addresses it does not know are ignored, and lengths
// never reach outside a report or past the end of the block they name.
//
// Its work comes in two halves, so that the read thread never writes the image
// (see DeviceImage): takeOnReadThread() keeps what is safe from any thread and
// passes events on; applyToImage() decodes the rest for the image's owner.
class InboundDispatcher : public SplitInboundHandler {
public:
    InboundDispatcher(DeviceImage& image, DeviceEvents& events)
        : m_image(image), m_events(events) {}

    // Both halves at once, for a caller that owns the image.
    void handleReport(const Report& report) override;
    // Zeroes the live status.
    void linkClosing() override;

    // The read thread's half: live status, acknowledgements and the current mode
    // go into the image (they are safe from any thread), events go out. True when
    // the report carries image data for applyToImage.
    bool takeOnReadThread(const Report& report) override;
    // The owner's half: decodes image data (parameters, memory blocks, texts,
    // machine settings, remote table) into the image.
    void applyToImage(const Report& report);
    void applyLater(const Report& report) override { applyToImage(report); }

    // Whether the parameter error has been passed on; never cleared.
    bool errorShown() const { return m_errorShown.load(); }

private:
    DeviceImage& m_image;
    DeviceEvents& m_events;
    std::atomic<bool> m_errorShown{false};
};

// Caption and text of the box that shows a parameter error (UTF-8).
inline constexpr const char* kParameterErrorCaption = "Error";
std::string parameterErrorText(int code, int module, int param);

} // namespace quilo
