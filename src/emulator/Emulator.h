#pragma once

#include "device/Report.h"
#include "emulator/EmulatorOptions.h"
#include "emulator/EmulatorState.h"
#include "emulator/Outbox.h"
#include "emulator/ZwaveController.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string_view>
#include <vector>

namespace quilo {

// The emulated processor: keeps the processor's state and answers every report
// the way the firmware does. It is driven by the caller's clock: handle() takes
// a report and the time it arrived and queues the replies with their due times;
// popDue() hands them out when they fall due. Not thread-safe: the transport
// serialises access.
//
// Reply layouts where the host decodes only the code, chosen here:
//   0x03-0x06 mode commands    [2] the mode index as received
//   0x09 SetParam              [2] status, [3] module, [4] parameter, [5] count
//   0x13 / 0x85 memory writes  [2-3] address, [4] bytes stored
//   0x61, 0x63, 0x91           the code alone
//   ResetMachine, Goodbye, unknown codes: no answer
// GetFirmwareDate prompts 0x81 and then 0x7E; GetModeNames four 0xDB replies.
class Emulator {
public:
    static constexpr std::string_view kModelName = "MIVRAX";
    static constexpr std::uint8_t kProtocolVersion = 18;
    static constexpr std::string_view kFirmwareDateA = "2013-06-18";
    static constexpr std::string_view kFirmwareDateB = "2013-07-02";

    explicit Emulator(EmulatorOptions options = {});
    Emulator(const Emulator&) = delete;
    Emulator& operator=(const Emulator&) = delete;

    // One report from the host, arriving at `now`.
    void handle(const Report& report, EmulatorTime now);

    // The next reply due at `now`, if any.
    std::optional<Report> popDue(EmulatorTime now);
    std::optional<EmulatorTime> nextDue() const;
    // Forgets every reply and delayed action not delivered yet (link closed).
    void dropPending();

    const EmulatorState& state() const { return m_state; }
    // Replaces the whole remembered state (a loaded file); pending work is dropped.
    void restore(EmulatorState state);

    const EmulatorFaults& faults() const { return m_faults; }
    // Takes effect at once; the unplug count starts from here.
    void setFaults(const EmulatorFaults& faults);
    bool unplugged() const;
    // Plugged in again: clears the unplug fault.
    void replug();

    // The plug whose button the emulated user presses next (Z-Wave inclusion
    // and exclusion).
    void setButtonTarget(std::optional<std::size_t> plug) { m_zwave.setButtonTarget(plug); }

    // Reports received, oldest first (at most logCapacity of them).
    std::vector<Report> received() const { return {m_log.begin(), m_log.end()}; }
    std::size_t receivedCount() const { return m_receivedCount; }
    void clearLog() { m_log.clear(); }

private:
    void dispatch(const Report& in, EmulatorTime at);
    void reply(EmulatorTime at, const Report& report) { m_outbox.post(at, report); }

    EmulatorOptions m_options;
    EmulatorState m_state;
    Outbox m_outbox;
    EmulatorFaults m_faults;
    ZwaveController m_zwave;
    std::size_t m_faultBase = 0; // receivedCount when the faults were set
    EmulatorTime m_nextFlood{};  // the next unasked status reply of a flood
    std::deque<Report> m_log;
    std::size_t m_receivedCount = 0;
};

} // namespace quilo
