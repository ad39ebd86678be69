// Key learning against the emulated processor: the request, the learned code in
// the table and on its way to the window, cancelling, and sending the table.
#include "device/InboundHelpers.h"
#include "emulator/HostSink.h"
#include "model/InboundDispatcher.h"
#include "remote/RemoteKeys.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <unistd.h>

using namespace quilo;
using namespace quilo::test;
using std::chrono::milliseconds;

namespace {

struct Learning : ::testing::Test {
    EmulatorHarness h; // the user presses the key 1500 ms after LearnKey
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    RecordingEvents events;
    InboundDispatcher dispatcher{*image, events};
    HostSink sink{h, dispatcher};
    RemoteKeys keys{image->remoteKeys, sink};

    void SetUp() override { image->resetToDefaults(); }
    Report lastReceived() const { return h.emulator.received().back(); }
};

} // namespace

TEST_F(Learning, ALearnedKeyReachesTheTableAndTheWindowButNotTheProcessorsTable) {
    const RemoteKeyTable stored = h.emulator.state().remoteTable;
    EXPECT_EQ(keys.learn(10), 61);
    EXPECT_EQ(hex(lastReceived()), hex(reportOf({0x02, 0x60, 0x0A})));
    sink.pause(milliseconds(1400));
    EXPECT_TRUE(events.keys.empty());
    sink.pause(milliseconds(100)); // the key is pressed
    EXPECT_EQ(events.keys, std::vector<int>{0x4A});
    EXPECT_EQ(learnedCodeText(events.keys[0]), "4A");
    EXPECT_EQ(image->remoteKeys[10], 0x4A);
    EXPECT_EQ(image->remoteKeys[0], 0x20);
    EXPECT_EQ(h.emulator.state().remoteTable, stored);

    // Apply hands the whole table over.
    EXPECT_EQ(keys.apply(), 61);
    Report expected = reportOf({0x02, 0x63});
    std::copy(image->remoteKeys.begin(), image->remoteKeys.end(), expected.begin() + 2);
    EXPECT_EQ(hex(lastReceived()), hex(expected));
    EXPECT_EQ(h.emulator.state().remoteTable, image->remoteKeys);
}

TEST_F(Learning, CancellingReleasesThePacingAndNoCodeComesAfterIt) {
    const RemoteKeyTable before = image->remoteKeys;
    keys.learn(3);
    int sentAtRelease = -1;
    keys.stopLearning([&] { sentAtRelease = sink.sent; });
    EXPECT_EQ(sentAtRelease, 1); // released before StopLearn went out
    EXPECT_EQ(hex(lastReceived()), hex(reportOf({0x02, 0x61})));
    sink.pause(milliseconds(5000));
    EXPECT_TRUE(events.keys.empty());
    EXPECT_EQ(image->remoteKeys, before);

    // Keys outside 1-17 are not sent at all.
    for (int key : {0, 18, -1, 255}) {
        EXPECT_EQ(keys.learn(key), 0) << key;
    }
    EXPECT_EQ(sink.sent, 2);
}

TEST_F(Learning, ALoadedFileIsSentAsTheTableAndABadOneSendsNothing) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("remote-learning-" + std::to_string(::getpid()) + ".remo");
    {
        std::ofstream out(path, std::ios::binary);
        for (char c = 0; c < 18; ++c) {
            out.put(c);
        }
    }
    ASSERT_TRUE(keys.loadAndApply(path).ok());
    EXPECT_EQ(hex(lastReceived()), hex(reportOf({0x02, 0x63, 0,  1,  2,  3,  4,  5,  6,  7,
                                                 8,    9,    10, 11, 12, 13, 14, 15, 16, 17})));
    std::filesystem::remove(path);

    const int sent = sink.sent;
    const RemoteKeyTable before = image->remoteKeys;
    EXPECT_EQ(keys.loadAndApply(path).status, RemoteFileStatus::CannotOpen);
    EXPECT_EQ(sink.sent, sent);
    EXPECT_EQ(image->remoteKeys, before);
}

// Keys 16-17 are never reported: what a file, a learning or a send set is kept per
// processor model, and every later table carries it.
TEST_F(Learning, KeysSixteenAndSeventeenAreSentAsLastKnownPerModel) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("remote-tail-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    const auto store = remoteTailPath(dir);
    std::u16string model = u"MIVRAX";
    keys.keepTail(store, [&model] { return model; });
    const auto sentTail = [&] {
        const Report r = lastReceived();
        return std::pair{r[18], r[19]};
    };

    // Nothing known: said, and the host's bytes go out; from then on they are known.
    EXPECT_NE(keys.tailNotice(1).find("00 00"), std::string::npos);
    EXPECT_FALSE(keys.tailNotice(0).empty());
    keys.apply();
    EXPECT_TRUE(keys.tailNotice(1).empty());

    struct Step {
        const char* what;
        std::function<void()> act;
        std::pair<std::uint8_t, std::uint8_t> sent;
    } const steps[] = {
        {"learned 17", [&] { keys.noteLearned(17, 0x5D); }, {0x00, 0x5D}},
        {"learned 5 changes nothing", [&] { keys.noteLearned(5, 0x99); }, {0x00, 0x5D}},
        {"a file of 17 bytes sets key 16 only",
         [&] {
             image->remoteKeys[16] = 0x31;
             keys.tookBytes(0, 17);
         },
         {0x31, 0x5D}},
        {"a host table of zeros",
         [&] { image->remoteKeys[16] = image->remoteKeys[17] = 0; },
         {0x31, 0x5D}},
    };
    for (const Step& s : steps) {
        s.act();
        keys.apply();
        EXPECT_EQ(sentTail(), s.sent) << s.what;
    }
    // Another model knows nothing of these; the first keeps its codes.
    model = u"OTHER 2";
    EXPECT_FALSE(keys.tailNotice(1).empty());
    EXPECT_EQ(RemoteTailFile(store).known(u"MIVRAX").keys[1], std::optional<std::uint8_t>(0x5D));
    keys.apply();
    EXPECT_EQ(RemoteTailFile(store).known(u"MIVRAX").keys[0], std::optional<std::uint8_t>(0x31));
    std::filesystem::remove_all(dir);
}
