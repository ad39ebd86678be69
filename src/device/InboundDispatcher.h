#pragma once

#include "device/DeviceEvents.h"
#include "device/InboundHandler.h"
#include "model/DeviceImage.h"

#include <atomic>
#include <string>

namespace quilo {

// Decodes every report the processor sends into the image, on the read thread,
// and passes on what the user interface must hear of: learned keys, Z-Wave
// frames and controller memory, and the first parameter error of its lifetime.
// Any 61 bytes are safe to hand it: codes, modules, parameters and addresses it
// does not know are ignored, and lengths never reach outside a report or past
// the end of the block they name.
class InboundDispatcher : public InboundHandler {
public:
    InboundDispatcher(DeviceImage& image, DeviceEvents& events)
        : m_image(image), m_events(events) {}

    void handleReport(const Report& report) override;

    // Whether the parameter error has been passed on; never cleared.
    bool errorShown() const { return m_errorShown.load(); }

private:
    void parameterReply(const Report& report);
    void learnedKey(const Report& report);

    DeviceImage& m_image;
    DeviceEvents& m_events;
    std::atomic<bool> m_errorShown{false};
};

// Caption and text of the box that shows a parameter error (UTF-8).
inline constexpr const char* kParameterErrorCaption = "Error";
std::string parameterErrorText(int code, int module, int param);

} // namespace quilo
