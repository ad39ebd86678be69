#pragma once

#include "device/ReportBuilder.h"
#include "device/ReportSink.h"

#include <span>

namespace quilo {

// The processor's operations, each built and handed to a sink. Every call
// returns what the sink returned for its last report (61 or 0).
class DeviceOps {
public:
    explicit DeviceOps(ReportSink& sink) : m_sink(sink) {}

    ReportSink& sink() { return m_sink; }

    int send(const Report& report) { return m_sink.send(report); }
    int SetParam(int module, int param, std::uint32_t word, int count = 1) {
        return send(buildSetParamRepeated(module, param, word, count));
    }
    int SetParamBlock(int module, int param, std::span<const std::uint32_t> words) {
        return send(buildSetParam(module, param, words));
    }
    int SetEqCoefficients(int module, int param, const BiquadCoefficients& c) {
        return send(buildSetEqCoefficients(module, param, c));
    }
    int GetParam(int module, int param, int count) {
        return send(buildGetParam(module, param, count));
    }
    // Any length, in 56-byte pieces.
    int WriteMemory(std::uint16_t address, std::span<const std::uint8_t> data);
    int ReadMemory(std::uint16_t address, std::size_t length);

private:
    ReportSink& m_sink;
};

} // namespace quilo
