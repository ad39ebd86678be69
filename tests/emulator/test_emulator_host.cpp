// The host's own complete read-back and write-out against the emulated
// processor: every request must be one the processor knows, every reply must
// carry what was asked, and after a write-out the processor holds exactly the
// words the host sent.
#include "EmulatorHarness.h"
#include "device/ReportSink.h"
#include "model/Synchroniser.h"

#include <gtest/gtest.h>

#include <map>

using namespace quilo;
using namespace quilo::test;

namespace {

// A paced sink in miniature: each report reaches the emulator and its replies
// are collected before the next one goes out; pauses move the clock.
class EmulatorSink : public ReportSink {
public:
    explicit EmulatorSink(EmulatorHarness& h) : m_h(h) {}
    int send(const Report& r) override {
        sent.push_back(r);
        for (const Report& x : m_h.send(r)) {
            replies.push_back(x);
        }
        return 61;
    }
    void pause(std::chrono::milliseconds d) override {
        for (const Report& x : m_h.advance(d)) {
            replies.push_back(x);
        }
    }
    std::vector<Report> sent;
    std::vector<Report> replies;

private:
    EmulatorHarness& m_h;
};

int countCode(const std::vector<Report>& reports, std::uint8_t code) {
    return static_cast<int>(std::count_if(reports.begin(), reports.end(),
                                          [code](const Report& r) { return r[1] == code; }));
}

} // namespace

TEST(EmulatorWithHost, ReadBackFindsEveryParameterAndBlock) {
    EmulatorHarness h;
    EmulatorSink sink(h);
    DeviceImage image;
    image.resetToDefaults();
    image.info.modelName = u"MIVRAX"; // nothing decodes the identity replies here
    image.info.protocolVersion = 18;
    Synchroniser(image, sink).pullAll();

    ASSERT_EQ(countCode(sink.sent, 0x0A), 192);
    ASSERT_EQ(countCode(sink.replies, 0x0A), 192);
    for (const Report& r : sink.replies) {
        if (r[1] == 0x0A) {
            EXPECT_EQ(r[2], 0) << "parameter " << int(r[3]) << "/" << int(r[4]);
        }
    }
    // Memory: 23 band-store pieces and three blocks, each with the length asked.
    ASSERT_EQ(countCode(sink.replies, 0x86), 26);
    for (std::size_t i = 0, j = 0; i < sink.sent.size(); ++i) {
        if (sink.sent[i][1] != 0x86) {
            continue;
        }
        while (sink.replies[j][1] != 0x86) {
            ++j;
        }
        EXPECT_EQ(hex(reportOf({0x02, 0x86, sink.sent[i][2], sink.sent[i][3], sink.sent[i][4]})),
                  hex(reportOf(
                      {0x02, 0x86, sink.replies[j][2], sink.replies[j][3], sink.replies[j][4]})));
        ++j;
    }
    EXPECT_EQ(countCode(sink.replies, 0xDB), 4);
    EXPECT_EQ(countCode(sink.replies, 0x92), 1);
    EXPECT_EQ(countCode(sink.replies, 0x62), 1);
    EXPECT_EQ(countCode(sink.replies, 0x80), 1);
}

TEST(EmulatorWithHost, WriteOutIsAcceptedWordForWord) {
    EmulatorHarness h;
    EmulatorSink sink(h);
    DeviceImage image;
    image.resetToDefaults();
    image.machine.applied[machine::kVolumeRecall] = 1; // with the volume ramps
    image.params.micVolume = 83;
    image.params.musicVolume = 72;
    Synchroniser(image, sink).pushAll();

    std::map<ParamKey, std::vector<std::uint32_t>> last;
    for (const Report& r : sink.sent) {
        if (r[1] != 0x09) {
            continue;
        }
        std::vector<std::uint32_t> words;
        for (int i = 0; i < r[5]; ++i) {
            words.push_back(wordAt(r, 6 + 4 * static_cast<std::size_t>(i)));
        }
        last[{r[3], r[4]}] = words;
    }
    ASSERT_GT(last.size(), 300u);
    ASSERT_EQ(countCode(sink.replies, 0x09), countCode(sink.sent, 0x09));
    for (const Report& r : sink.replies) {
        if (r[1] == 0x09) {
            EXPECT_EQ(r[2], 0) << "parameter " << int(r[3]) << "/" << int(r[4]);
        }
    }
    for (const auto& [key, words] : last) {
        const auto& held = h.emulator.state().params.at(key);
        EXPECT_EQ(std::vector<std::uint32_t>(held.begin(), held.begin() + words.size()), words)
            << "parameter " << int(key.module) << "/" << int(key.param);
    }
    // The memory written is the memory held.
    EXPECT_TRUE(
        std::equal(image.eqBands.begin(), image.eqBands.end(), h.emulator.state().memory.begin()));
    // The two volumes were read back after the ramps.
    EXPECT_EQ(countCode(sink.replies, 0x0A), 2);
}
