// Frames of the Z-Wave module (0x12) and Z-Wave memory replies (any other code)
// into the plug table: the input is cut into 61-byte reports (the last one
// padded with zeros), and each may change only what its function or address names.
#include "FuzzCheck.h"
#include "smarthome/ZwaveChecker.h"

#include <algorithm>

using namespace quilo;
using namespace quilo::test;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ZwaveChecker c;
    PlugTableData state = c.table->snapshot();
    for (std::size_t at = 0; at < size && c.failures.empty(); at += kReportSize) {
        Report r{};
        std::copy_n(data + at, std::min(kReportSize, size - at), r.begin());
        state = c.check(r, state);
    }
    FUZZ_CHECK(c.failures.empty(), c.failures.empty() ? "" : c.failures.front().c_str());
    return 0;
}
