// The worker that runs read-backs and write-outs: flags around a run, the done
// report, and cancellation of an older run by a newer one.
#include "model/SyncRunner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

using namespace quilo;
using namespace std::chrono_literals;

namespace {

// Notes what every report saw of the shared state when it was sent.
class ObservingSink : public ReportSink {
public:
    ObservingSink(DeviceImage& image, PollingGate& polling) : m_image(image), m_polling(polling) {}
    int send(const Report& report) override {
        std::lock_guard lock(m_mutex);
        codes.push_back(report[1]);
        pollingSeen.push_back(m_polling.open());
        statusSeen.push_back(m_image.liveStatus.load());
        ownerSeen.push_back(m_image.owner.load());
        return 61;
    }
    void pause(std::chrono::milliseconds) override {}

    std::mutex m_mutex;
    std::vector<std::uint8_t> codes;
    std::vector<bool> pollingSeen;
    std::vector<LiveStatusBytes> statusSeen;
    std::vector<ImageOwner> ownerSeen;

private:
    DeviceImage& m_image;
    PollingGate& m_polling;
};

SyncTimings fast() {
    SyncTimings t;
    t.pullSettle = t.pullTail = t.pushSettle = t.pushTail = t.volumeStep = t.modeSaveGap = 1ms;
    return t;
}

struct Done {
    std::mutex mutex;
    std::vector<std::pair<SyncRunner::Direction, std::uint64_t>> calls;
    std::vector<IdentityVerdict> identities;
    std::vector<ImageOwner> owners; // whose the image was when the run was reported
    void operator()(SyncRunner::Direction d, std::uint64_t run, IdentityVerdict identity,
                    ImageOwner owner) {
        std::lock_guard lock(mutex);
        calls.emplace_back(d, run);
        identities.push_back(identity);
        owners.push_back(owner);
    }
};

struct SyncRunnerTest : ::testing::Test {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    PollingGate polling;
    ObservingSink sink{*image, polling};
    Done done;
    std::atomic<int> handBacks{0};

    void SetUp() override {
        image->resetToDefaults();
        LiveStatusBytes busy{};
        busy.fill(0x55);
        image->liveStatus.store(busy);
    }
    std::unique_ptr<SyncRunner> runner(SyncTimings t = fast()) {
        auto r = std::make_unique<SyncRunner>(*image, sink, polling, t);
        r->setDoneCallback([this](SyncRunner::Direction d, std::uint64_t run, IdentityVerdict id) {
            done(d, run, id, image->owner.load());
        });
        r->setHandBackCallback([this] { ++handBacks; });
        return r;
    }
};

} // namespace

TEST_F(SyncRunnerTest, PullRunsWithPollingOffAndReportsItsDirection) {
    image->info.modelName = u"MIVRAX";
    image->info.protocolVersion = 18;
    auto r = runner();
    const auto run = r->startPull();
    EXPECT_EQ(image->owner.load(), ImageOwner::Sync); // from the start
    r->waitIdle();

    // 3 identity requests, current mode and names, 192 parameters, 23 + 1 + 1 + 1
    // memory pieces (1253 band bytes in 56-byte pieces, then 32, 20 and 2 bytes),
    // machine settings and remote table.
    ASSERT_EQ(sink.codes.size(), 3u + 2u + 192u + 26u + 2u);
    EXPECT_EQ(sink.codes.front(), 0x80);
    EXPECT_EQ(sink.codes.back(), 0x62);
    for (std::size_t i = 0; i < sink.codes.size(); ++i) {
        EXPECT_FALSE(sink.pollingSeen[i]) << "report " << i;
        EXPECT_EQ(sink.statusSeen[i], LiveStatusBytes{}) << "report " << i;
        EXPECT_EQ(sink.ownerSeen[i], ImageOwner::Sync) << "report " << i;
    }
    EXPECT_TRUE(polling.open());
    ASSERT_EQ(done.calls.size(), 1u);
    EXPECT_EQ(done.calls[0].first, SyncRunner::Direction::Pull);
    EXPECT_EQ(done.calls[0].second, run);
    // Handed back before the report, with what the image says of the processor.
    EXPECT_EQ(done.owners[0], ImageOwner::Main);
    EXPECT_EQ(done.identities[0], IdentityVerdict::Ok);
    EXPECT_EQ(image->owner.load(), ImageOwner::Main);
    EXPECT_EQ(handBacks.load(), 1);
}

TEST_F(SyncRunnerTest, PushReportsPushAndLeavesPollingOn) {
    auto r = runner();
    r->startPush();
    r->waitIdle();
    EXPECT_FALSE(sink.codes.empty());
    EXPECT_TRUE(polling.open());
    ASSERT_EQ(done.calls.size(), 1u);
    EXPECT_EQ(done.calls[0].first, SyncRunner::Direction::Push);
}

TEST_F(SyncRunnerTest, ANewerRunCancelsTheOlderOneSilently) {
    SyncTimings t = fast();
    t.pullSettle = 60s; // the pull would wait a minute before its first report
    auto r = runner(t);
    r->startPull();
    std::this_thread::sleep_for(20ms);
    const auto push = r->startPush();
    r->waitIdle();

    ASSERT_EQ(done.calls.size(), 1u);
    EXPECT_EQ(done.calls[0].first, SyncRunner::Direction::Push);
    EXPECT_EQ(done.calls[0].second, push);
    // The image stayed with the runner from the pull until the push ended.
    EXPECT_EQ(done.owners[0], ImageOwner::Main);
    EXPECT_EQ(done.identities[0], IdentityVerdict::ModelMismatch); // nobody answered
    for (ImageOwner seen : sink.ownerSeen) {
        EXPECT_EQ(seen, ImageOwner::Sync);
    }
    // Nothing of the pull went out: the push starts with the first equaliser switch.
    ASSERT_FALSE(sink.codes.empty());
    EXPECT_EQ(sink.codes.front(), 0x09);
}

TEST_F(SyncRunnerTest, CancelAndDestroyEndAWaitingRunWithoutReport) {
    SyncTimings t = fast();
    t.pushSettle = 60s;
    {
        auto r = runner(t);
        r->startPush();
        std::this_thread::sleep_for(20ms);
        EXPECT_TRUE(r->busy());
        r->cancel();
        r->waitIdle();
        EXPECT_FALSE(r->busy());
        EXPECT_EQ(image->owner.load(), ImageOwner::Main);
        EXPECT_EQ(handBacks.load(), 1); // also without a report
        r->startPush();                 // destroyed while this one waits
    }
    EXPECT_EQ(image->owner.load(), ImageOwner::Main);
    EXPECT_TRUE(done.calls.empty());
    EXPECT_TRUE(sink.codes.empty());
    EXPECT_TRUE(polling.open());
}

// A stored mode loaded while the smart-plug window is open: the write-out ends, but
// the window still holds its pause, so the poll stays off until the window lets go.
TEST_F(SyncRunnerTest, ARunEndingLeavesAnotherOwnersPauseInPlace) {
    PollingGate::Pause window(polling, true);
    PollingGate::Pause peakOff(polling);
    peakOff.hold(true);
    peakOff.hold(true); // twice is still one request
    auto r = runner();
    r->startPush();
    r->waitIdle();
    ASSERT_EQ(done.calls.size(), 1u);
    EXPECT_FALSE(polling.open());
    window.hold(false);
    window.hold(false); // letting go twice does not lift the other pause
    EXPECT_FALSE(polling.open());
    peakOff.hold(false);
    EXPECT_TRUE(polling.open());
}
