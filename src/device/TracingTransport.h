#pragma once

#include "device/HidTransport.h"
#include "device/TraceSink.h"

#include <memory>
#include <mutex>

namespace quilo {

// A transport that tells a trace sink every report it reads or writes and otherwise
// passes everything to the transport it wraps. Put around whichever transport a program
// makes, it traces the real processor and the emulated one alike.
class TracingTransport : public HidTransport {
public:
    TracingTransport(std::unique_ptr<HidTransport> inner, std::shared_ptr<TraceSink> sink);

    std::vector<std::string> interfacePaths() override { return m_inner->interfacePaths(); }
    bool open(const std::string& path) override { return m_inner->open(path); }
    OpenFailure lastOpenFailure() const override { return m_inner->lastOpenFailure(); }
    std::optional<HidAttributes> listedAttributes(const std::string& path) override {
        return m_inner->listedAttributes(path);
    }
    std::optional<HidAttributes> attributes() override { return m_inner->attributes(); }
    int read(Report& into, std::chrono::milliseconds timeout) override;
    int write(const Report& report) override;
    void close() override { m_inner->close(); }

    HidTransport& inner() { return *m_inner; }

private:
    std::unique_ptr<HidTransport> m_inner;
    std::shared_ptr<TraceSink> m_sink;
    std::mutex m_order;
};

} // namespace quilo
