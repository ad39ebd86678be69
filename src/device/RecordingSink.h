#pragma once

#include "device/ReportSink.h"

#include <chrono>
#include <variant>
#include <vector>

namespace quilo {

// Keeps every report and pause handed to it, in order. Used by the command-line
// tool to print what a setter sends, and by tests.
class RecordingSink : public ReportSink {
public:
    using Entry = std::variant<Report, std::chrono::milliseconds>;

    explicit RecordingSink(int result = 61) : m_result(result) {}

    int send(const Report& report) override {
        m_entries.emplace_back(report);
        return m_result;
    }
    void pause(std::chrono::milliseconds duration) override { m_entries.emplace_back(duration); }

    const std::vector<Entry>& entries() const { return m_entries; }
    std::vector<Report> reports() const {
        std::vector<Report> out;
        for (const auto& e : m_entries) {
            if (const auto* r = std::get_if<Report>(&e)) {
                out.push_back(*r);
            }
        }
        return out;
    }
    void clear() { m_entries.clear(); }

private:
    int m_result;
    std::vector<Entry> m_entries;
};

} // namespace quilo
