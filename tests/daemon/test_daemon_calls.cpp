// quilod's side of the long bus calls, without a bus: one at a time, each answered when
// its run ends, and a file that does not read is refused before anything of it changes.
#include "daemon/Daemon.h"
#include "model/ImageDiff.h"
#include "model/ModeFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <optional>

using namespace quilo;
using LongStart = ServiceBackend::LongStart;

namespace {

bool waitUntil(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) {
            return false;
        }
        QTest::qWait(5);
    }
    return true;
}

} // namespace

TEST(DaemonCalls, OneLongCallAtATimeEachAnsweredWhenItsRunEnds) {
    QTemporaryDir dir;
    Daemon::Options options;
    options.emulate = true;
    options.emulatorFile = dir.filePath(QStringLiteral("state.emu"));
    Daemon daemon(options);
    ASSERT_TRUE(daemon.refusal().isEmpty()) << daemon.refusal().toStdString();
    daemon.start();
    const auto idle = [&] {
        return daemon.connected() && daemon.image().mainThreadOwns() &&
               !daemon.connection().sync().busy();
    };
    ASSERT_TRUE(waitUntil(idle));

    ASSERT_EQ(daemon.setField(FieldRef{"micVolume", {}}, 40, QStringLiteral("test")), "");
    const std::string pulled = dir.filePath(QStringLiteral("pulled.quilo")).toStdString();
    std::optional<std::string> answer;
    ASSERT_EQ(daemon.pull(pulled, [&](const std::string& p) { answer = p; }), LongStart::Started);
    // While it runs, every other long call is refused as busy and answers nothing.
    bool answeredBusy = false;
    const auto never = [&](const std::string&) { answeredBusy = true; };
    std::string problem;
    EXPECT_EQ(daemon.pull(pulled, never), LongStart::Busy);
    EXPECT_EQ(daemon.push(pulled, never, &problem), LongStart::Busy);
    EXPECT_EQ(daemon.recallMode(1, never), LongStart::Busy);
    EXPECT_EQ(daemon.storeMode(1, never), LongStart::Busy);
    EXPECT_EQ(daemon.runScene(1, never), LongStart::Busy);
    EXPECT_EQ(daemon.setPlug(2, 99, never), LongStart::Busy);
    ASSERT_TRUE(waitUntil([&] { return answer.has_value(); }));
    EXPECT_EQ(*answer, "");
    EXPECT_FALSE(answeredBusy);
    DeviceImage read;
    read.resetToDefaults();
    ASSERT_TRUE(readModeFile(pulled, read).ok());
    EXPECT_EQ(read.params.micVolume, 40);

    // A file that does not read is refused with its reason; the image stays as it was.
    ASSERT_TRUE(waitUntil(idle));
    const std::string bad = dir.filePath(QStringLiteral("bad.quilo")).toStdString();
    QFile badFile(QString::fromStdString(bad));
    ASSERT_TRUE(badFile.open(QIODevice::WriteOnly));
    badFile.write("not a mode file");
    badFile.close();
    const std::vector<std::string> before = modeFieldLines(daemon.image());
    EXPECT_EQ(daemon.push(bad, never, &problem), LongStart::Refused);
    EXPECT_FALSE(problem.empty());
    EXPECT_EQ(modeFieldLines(daemon.image()), before);
    EXPECT_FALSE(answeredBusy);
    EXPECT_TRUE(daemon.stop());
}

TEST(DaemonCalls, APlugJoinsWithItsRecordAndLeavesAgain) {
    QTemporaryDir dir;
    Daemon::Options options;
    options.emulate = true;
    options.emulatorFile = dir.filePath(QStringLiteral("state.emu"));
    Daemon daemon(options);
    daemon.start();
    ASSERT_TRUE(waitUntil([&] {
        return daemon.connected() && daemon.image().mainThreadOwns() &&
               !daemon.connection().sync().busy() &&
               !daemon.connection().smartHome().workers().busy();
    }));

    // Names that are not text are refused before the module hears of anything.
    using Answer = std::optional<std::pair<std::string, int>>;
    const auto never = [](const std::string&, int) { ADD_FAILURE() << "answered"; };
    for (const std::string& bad : {std::string("\xC3\x28"), std::string("\xED\xA0\x80"),
                                   std::string("\xC0\xAF"), std::string("ab\xE7\x81")}) {
        std::string problem;
        EXPECT_EQ(daemon.includePlug(1, bad, never, &problem), LongStart::Refused);
        EXPECT_FALSE(problem.empty());
    }

    Answer joined;
    std::string problem;
    ASSERT_EQ(daemon.includePlug(
                  2, "Lamp \xE7\x81\xAF",
                  [&](const std::string& p, int id) { joined.emplace(p, id); }, &problem),
              LongStart::Started);
    EXPECT_EQ(daemon.excludePlug(never), LongStart::Busy);
    ASSERT_TRUE(waitUntil([&] { return joined.has_value(); }, 20000));
    EXPECT_EQ(joined->first, "");
    const int id = joined->second;
    ASSERT_GE(id, kFirstPlugId);
    const PlugTable& table = *daemon.plugs();
    EXPECT_TRUE(table.present(id));
    EXPECT_EQ(table.record(id).type(), kDimmerPlug);
    EXPECT_EQ(table.record(id).name(), u"Lamp \u706F");

    Answer left;
    ASSERT_EQ(daemon.excludePlug([&](const std::string& p, int gone) { left.emplace(p, gone); }),
              LongStart::Started);
    ASSERT_TRUE(waitUntil([&] { return left.has_value(); }, 20000));
    EXPECT_EQ(left->first, "");
    // The emulated user presses a plug beside that is in no network first: it leaves
    // none, and the one that joined stays.
    EXPECT_EQ(left->second, 0);
    EXPECT_TRUE(table.present(id));
}
