// The protocol trace: its line format, the transport that feeds it and the file it keeps.
#include "device/ProtocolTrace.h"
#include "device/TracingTransport.h"

#include "FakeTransport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace quilo;
using namespace quilo::test;

namespace {

std::vector<std::string> linesOf(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

struct TraceFolder {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("quilo-trace-" + std::to_string(::getpid()));
    TraceFolder() {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TraceFolder() { std::filesystem::remove_all(path); }
};

Report reportOf(std::uint8_t code, std::uint8_t last) {
    Report r{};
    r[0] = kReportId;
    r[1] = code;
    r[60] = last;
    return r;
}

} // namespace

TEST(TraceLine, ReadsBackWhatItWritesAndRefusesAnythingElse) {
    TraceEntry e{123456789012ULL, TraceDirection::In, reportOf(0x0A, 0xFE), kReportSize};
    const std::string line = formatTraceLine(e);
    EXPECT_TRUE(line.starts_with("123456789012 in 02 0A 00")) << line;
    EXPECT_TRUE(line.ends_with(" FE")) << line;
    const auto back = parseTraceLine(line + "\r");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->timeUs, e.timeUs);
    EXPECT_EQ(back->direction, e.direction);
    EXPECT_EQ(back->bytes, e.bytes);
    EXPECT_EQ(back->length, kReportSize);

    const auto shortRead = parseTraceLine("5 out 02 09 ab");
    ASSERT_TRUE(shortRead);
    EXPECT_EQ(shortRead->length, 3u);
    EXPECT_EQ(shortRead->bytes[2], 0xAB);

    std::string tooLong = "1 out";
    for (int i = 0; i < 62; ++i) {
        tooLong += " 00";
    }
    for (const std::string bad : {"", "# note", "x out 02", "1 sideways 02", "1 out", "1 out 2",
                                  "1 out 0209", "1 out 0g", "-1 in 02", tooLong.c_str()}) {
        EXPECT_FALSE(parseTraceLine(bad)) << bad;
    }
}

TEST(ProtocolTrace, RecordsEveryReportThatPassesInOrderAndAppends) {
    const TraceFolder dir;
    const auto file = dir.path / "t.trace";
    std::ofstream(file) << "earlier line\n";

    auto trace = std::make_shared<ProtocolTrace>();
    auto fake = std::make_unique<FakeTransport>();
    FakeTransport& inner = *fake;
    TracingTransport transport(std::move(fake), trace);
    ASSERT_TRUE(transport.open("/dev/hidraw0"));

    transport.write(reportOf(0x80, 1)); // not traced yet
    ASSERT_TRUE(trace->open(file));
    transport.write(reportOf(0x09, 2));
    inner.pushInbound(reportOf(0x09, 3));
    Report got{};
    EXPECT_EQ(transport.read(got, std::chrono::milliseconds(500)), 61);
    EXPECT_EQ(transport.read(got, std::chrono::milliseconds(1)), 0); // nothing: no line
    inner.setWriteResult(-1);
    transport.write(reportOf(0x0E, 4)); // failed: no line
    trace->close();
    inner.setWriteResult(std::nullopt);
    transport.write(reportOf(0x0E, 5)); // off again

    const auto lines = linesOf(file);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "earlier line");
    const auto out = parseTraceLine(lines[1]);
    const auto in = parseTraceLine(lines[2]);
    ASSERT_TRUE(out && in);
    EXPECT_EQ(out->direction, TraceDirection::Out);
    EXPECT_EQ(out->bytes, reportOf(0x09, 2));
    EXPECT_EQ(in->direction, TraceDirection::In);
    EXPECT_EQ(in->bytes, reportOf(0x09, 3));
    EXPECT_LE(out->timeUs, in->timeUs);
    EXPECT_EQ(inner.written().size(), 4u); // the trace never stands in the way
}

TEST(ProtocolTrace, MovesAFullFileAsideAndStartsANewOne) {
    const TraceFolder dir;
    const auto file = dir.path / "t.trace";
    const TraceEntry e{1, TraceDirection::Out, reportOf(0x09, 0), kReportSize};
    const std::size_t lineBytes = formatTraceLine(e).size() + 1;
    ProtocolTrace trace(lineBytes * 3);
    ASSERT_TRUE(trace.open(file));
    for (std::uint64_t t = 1; t <= 8; ++t) {
        trace.record({t, TraceDirection::Out, reportOf(0x09, 0), kReportSize});
    }
    trace.close();
    auto older = file;
    older += ".1";
    // 8 lines, three to a file: lines 7-8 in the file, 4-6 in the older one, 1-3 gone.
    const auto now = linesOf(file);
    const auto before = linesOf(older);
    ASSERT_EQ(now.size(), 2u);
    ASSERT_EQ(before.size(), 3u);
    EXPECT_EQ(parseTraceLine(now[0])->timeUs, 7u);
    EXPECT_EQ(parseTraceLine(before[0])->timeUs, 4u);
    EXPECT_LE(std::filesystem::file_size(older), lineBytes * 3);

    EXPECT_FALSE(trace.open(dir.path / "no-such-folder" / "t.trace"));
    EXPECT_FALSE(trace.isOpen());
}
