#include "smarthome/PlugJoining.h"

#include "smarthome/PlugFrames.h"
#include "smarthome/PlugNames.h"
#include "smarthome/SmartHome.h"

namespace quilo {

namespace {

// The module's progress of an inclusion (0x4A) or exclusion (0x4B).
constexpr int kJoined = 5;
constexpr int kLeft = 6;
constexpr int kFailed = 7;

} // namespace

bool PlugJoining::start(Kind kind, int type, const std::string& name, std::string* problem) {
    PlugTable& table = m_home.table();
    if (kind == Kind::Add) {
        const auto plugType = static_cast<std::uint8_t>(type);
        std::optional<std::u16string> units =
            name.empty() ? defaultPlugName(plugType, table.snapshot()) : utf16FromUtf8(name);
        if (!units) {
            *problem = "a plug's name must be UTF-8 text";
            return false;
        }
        if (checkPlugName(*units) == PlugNameCheck::Empty) {
            *problem = "a plug's name cannot be blank";
            return false;
        }
        table.setPendingRecord(PlugRecord::make(plugType, *units));
    }
    table.setAddAfterRemove(kind == Kind::Add);
    m_phase = kind == Kind::Add ? Phase::Clearing : Phase::Removing;
    m_home.commands().sendFrame(buildRemoveNodeStart());
    return true;
}

PlugJoining::Outcome PlugJoining::handle(const ZwaveEvent& event) {
    if (m_phase == Phase::Idle) {
        return {};
    }
    const int id = event.high();
    const int status = event.low();
    if (event.function == zwave_function::kExclusion && m_phase != Phase::Including) {
        if (status == kFailed) {
            return finish(0, "the Z-Wave module could not take the plug out of its network");
        }
        if (status != kLeft) {
            return {};
        }
        m_home.finishExclusion();
        m_home.keys().deleteKeyFile(id);
        if (m_phase == Phase::Removing) {
            return finish(id, {});
        }
        m_phase = Phase::Including;
        m_home.commands().sendFrame(buildAddNodeStart());
        return {};
    }
    if (event.function == zwave_function::kInclusion && m_phase == Phase::Including) {
        if (status == kFailed) {
            return finish(0, "the Z-Wave module could not add the plug");
        }
        if (status == kJoined) {
            m_home.commands().writePlugRecord(id);
            return finish(id, {});
        }
    }
    return {};
}

PlugJoining::Outcome PlugJoining::abandon() {
    if (m_phase == Phase::Including) {
        m_home.commands().sendFrame(buildAddNodeStop());
    } else if (m_phase != Phase::Idle) {
        m_home.commands().sendFrame(buildRemoveNodeStop(RemoveStop::Cancelled));
    }
    return finish(0, "no plug answered; press its button within the time");
}

PlugJoining::Outcome PlugJoining::finish(int id, std::string problem) {
    m_phase = Phase::Idle;
    m_home.table().setAddAfterRemove(false);
    return {true, id, std::move(problem)};
}

} // namespace quilo
