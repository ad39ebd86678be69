#pragma once

#include "device/Report.h"
#include "emulator/EmulatorOptions.h"
#include "emulator/EmulatorState.h"
#include "emulator/Outbox.h"

#include <cstdint>
#include <optional>
#include <span>

namespace quilo {

// The Z-Wave module inside the processor and the network of virtual plugs.
// Every data frame from the host is acknowledged at once with a lone ACK (a bad
// frame gets a NAK); answers and callbacks follow later as a real module sends
// them:
//   GetInitData  -> response 02: version 5, capabilities 8, a 29-byte node mask
//                   (node 1 is the module itself), chip type 5, version 0
//   SetDefault   -> every plug leaves the network; callback 42 cb
//   AddNode      -> callbacks 4A cb status node len info: 1 ready; on the emulated
//                   button press 2 found, 3 adding (node, node info), 5 protocol
//                   done (node); 7 when the pressed plug already is in the network
//   RemoveNode   -> callbacks 4B cb status node 00: 1 ready; on the press 2, 3 and
//                   6 done with the node that left (0 for a plug of no network);
//                   7 when the removal fails
//   SendData     -> response 13 01, then callback 13 cb status: 0 when the plug
//                   heard it, 1 when no plug has that node id; the plug's own
//                   Basic Reports follow as ApplicationCommand frames
//                   04 00 node 03 20 03 value
// A stop (mode 5) of an inclusion or exclusion ends it; a callback id of 0 asks
// for no callbacks. SendData without parameters aborts the sends in progress.
// The faults make any of these steps fail or stay unanswered.
class ZwaveController {
public:
    ZwaveController(EmulatorState& state, Outbox& outbox, const EmulatorTimings& timings,
                    const ZwaveFaults& faults)
        : m_state(state), m_outbox(outbox), m_timings(timings), m_faults(faults) {}

    // One ZwaveFrame report from the host.
    void receive(const Report& report, EmulatorTime now);

    // The plug whose button the emulated user presses at the next inclusion or
    // exclusion (once). Without one: an inclusion takes the first plug of no
    // network; an exclusion the first plug of no network as well (the first
    // half of adding a plug), or the plug with the highest node id when all are in it.
    void setButtonTarget(std::optional<std::size_t> plug) { m_buttonTarget = plug; }

    // Forgets an inclusion or exclusion in progress.
    void reset();

private:
    enum class Mode { Idle, Including, Excluding };

    void sendData(std::span<const std::uint8_t> payload, EmulatorTime now);
    void startInclusion(std::uint8_t callback, EmulatorTime now);
    void startExclusion(std::uint8_t callback, EmulatorTime now);
    void stop(Mode mode, EmulatorTime now);
    void pressForInclusion(EmulatorTime now);
    void pressForExclusion(EmulatorTime now);
    void networkReset(std::uint8_t callback, EmulatorTime now);

    void post(EmulatorTime due, std::span<const std::uint8_t> payload,
              Outbox::Tag tag = Outbox::kNoTag);
    void progress(EmulatorTime due, std::uint8_t function, std::uint8_t callback,
                  std::uint8_t status, std::uint8_t node, std::span<const std::uint8_t> info,
                  Outbox::Tag tag);
    Report initData() const;
    std::optional<std::size_t> plugOfNode(std::uint8_t node) const;
    std::optional<std::size_t> takeTarget();
    std::uint8_t freeNodeId() const;

    EmulatorState& m_state;
    Outbox& m_outbox;
    const EmulatorTimings& m_timings;
    const ZwaveFaults& m_faults;
    Mode m_mode = Mode::Idle;
    std::uint8_t m_callback = 0;
    std::optional<std::size_t> m_buttonTarget;
};

} // namespace quilo
