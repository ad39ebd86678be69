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
