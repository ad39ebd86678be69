#include "emulator/Outbox.h"

#include <iterator>

namespace quilo {

void Outbox::post(EmulatorTime due, const Report& report, Tag tag) {
    m_entries.emplace(std::pair{due, m_sequence++}, Entry{tag, report, {}});
}

void Outbox::call(EmulatorTime due, Action action, Tag tag) {
    m_entries.emplace(std::pair{due, m_sequence++}, Entry{tag, std::nullopt, std::move(action)});
}

void Outbox::cancel(Tag tag, EmulatorTime after) {
    if (tag == kNoTag) {
        return;
    }
    std::erase_if(m_entries, [tag, after](const auto& e) {
        return e.second.tag == tag && e.first.first > after;
    });
}

std::optional<Report> Outbox::popDue(EmulatorTime now) {
    while (!m_entries.empty() && m_entries.begin()->first.first <= now) {
        auto node = m_entries.extract(m_entries.begin());
        Entry& entry = node.mapped();
        if (entry.report) {
            return entry.report;
        }
        if (entry.action) {
            entry.action(node.key().first); // may post further entries
        }
    }
    return std::nullopt;
}

std::optional<EmulatorTime> Outbox::nextDue() const {
    if (m_entries.empty()) {
        return std::nullopt;
    }
    return m_entries.begin()->first.first;
}

} // namespace quilo
