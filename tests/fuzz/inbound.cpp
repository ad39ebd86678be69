// Replies of the processor through the dispatcher into a factory image: the
// input is cut into 61-byte reports (the last one padded with zeros), and each
// may change only the part of the image its reply code and address name.
#include "FuzzCheck.h"
#include "device/InboundChecker.h"

#include <algorithm>

using namespace quilo;
using namespace quilo::test;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InboundChecker c;
    ImageSnapshot state(*c.image);
    for (std::size_t at = 0; at < size && c.failures.empty(); at += kReportSize) {
        Report r{};
        std::copy_n(data + at, std::min(kReportSize, size - at), r.begin());
        state = c.check(r, state);
    }
    FUZZ_CHECK(c.failures.empty(), c.failures.empty() ? "" : c.failures.front().c_str());
    FUZZ_CHECK(c.events.errors.size() <= 1, "the parameter error is passed on at most once");
    return 0;
}
