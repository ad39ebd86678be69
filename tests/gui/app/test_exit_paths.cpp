// How the program ends and what it leaves: the emulator's state file is saved,
// or told when it cannot be, and never written over when it did not load; a
// signal closes as the close button does without asking, and leaves no lock.
#include "AppHarness.h"
#include "app/ExitSignals.h"
#include "device/ReportBuilder.h"
#include "emulator/EmulatorFile.h"
#include "support/RunCommand.h"

#include <QFile>
#include <QSlider>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

using namespace quilo;
using namespace quilo::test;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray factoryState() {
    const auto emulator = std::make_unique<Emulator>();
    const std::vector<std::uint8_t> bytes = encodeEmulatorState(emulator->state());
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

struct ExitCase {
    const char* name;
    QByteArray stateAtStart; // empty: no state file
    bool folderMissing;      // the state file's folder is gone: the save fails
    bool bySignal;           // SIGTERM instead of the close button
    bool stateWritten;       // the file holds the state of this run afterwards
    int exitStatus;
    int messages; // notices the user saw at the end
};

void PrintTo(const ExitCase& c, std::ostream* os) {
    *os << c.name;
}

class ExitPaths : public ::testing::TestWithParam<ExitCase> {};

} // namespace

TEST_P(ExitPaths, TheStateFileIsSavedOrToldAndNeverLost) {
    const ExitCase& c = GetParam();
    QTemporaryDir files;
    const QString state = c.folderMissing ? files.filePath(QStringLiteral("gone/state.emu"))
                                          : files.filePath(QStringLiteral("state.emu"));
    if (!c.stateAtStart.isEmpty()) {
        writeFile(state, c.stateAtStart);
    }
    AppHarness h(true, kEnglish, [&](AppOptions& o) { o.session.emulatorFile = state; });
    h.start();
    ASSERT_TRUE(h.app->connected());
    const bool damaged = !c.stateAtStart.isEmpty() && !c.stateWritten;
    EXPECT_EQ(h.app->session().emulatorLoadError().isEmpty(), !damaged);
    // A change the user has not saved: the close button would ask about it.
    h.ribbon().slider(ribbon::Slider::Mic, 0)->setValue(41);
    h.drain();
    h.clearReceived();

    ExitSignals exitSignals;
    QObject::connect(&exitSignals, &ExitSignals::closeRequested, h.app->mainFrame(),
                     &CMainFrame::closeWithoutQuestions);
    if (c.bySignal) {
        std::raise(SIGTERM);
    } else {
        h.prompter->yesNoCancel.push_back(Prompter::Answer::No);
        h.app->mainFrame()->close();
    }
    ASSERT_TRUE(waitUntil([&] { return !h.app->mainFrame()->isVisible(); }));
    EXPECT_EQ(h.prompter->count(QStringLiteral("yesnocancel")), c.bySignal ? 0 : 1);
    EXPECT_EQ(h.prompter->count(QStringLiteral("message")), c.messages);
    EXPECT_EQ(h.app->exitStatus(), c.exitStatus);
    const std::vector<Report> sent = h.received();
    EXPECT_NE(std::find(sent.begin(), sent.end(), buildCommand(Command::Goodbye)), sent.end());

    const QByteArray after = fileBytes(state);
    if (c.stateWritten) {
        const auto loaded = std::make_unique<Emulator>();
        EXPECT_TRUE(loadEmulatorFile(QFile::encodeName(state).toStdString(), *loaded).ok());
    } else {
        EXPECT_EQ(after, c.stateAtStart);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Exits, ExitPaths,
    ::testing::Values(
        ExitCase{"Saved", factoryState(), false, false, true, 0, 0},
        ExitCase{"SavedAfterASignal", factoryState(), false, true, true, 0, 0},
        // One stray byte: the file is the user's, it is not replaced by factory state.
        ExitCase{"NotLoadedNotWritten", factoryState() + QByteArray(1, '\0'), false, false, false,
                 0, 0},
        ExitCase{"SaveFailsAndIsTold", {}, true, false, false, 1, 1}),
    [](const ::testing::TestParamInfo<ExitCase>& info) { return std::string(info.param.name); });

// The whole program: a SIGTERM saves the state, removes the lock and ends it with 0.
TEST(ExitSignal, TheProgramEndsCleanlyOnSigterm) {
    QTemporaryDir dir;
    const std::string d = QFile::encodeName(dir.path()).toStdString();
    // Ready for the signal once the window has painted: the handlers are in place by then.
    const std::string script =
        "export XDG_RUNTIME_DIR=" + d + " XDG_CONFIG_HOME=" + d +
        " QT_QPA_PLATFORM=offscreen QUILO_STARTUP_REPORT=1; " + std::string(QUILO_PATH) +
        " --emulate=" + d + "/state.emu >/dev/null 2>" + d + "/log & pid=$!; " +
        "for i in $(seq 600); do grep -q \"first paint\" " + d + "/log && break; sleep 0.05; " +
        "done; kill -TERM $pid; wait $pid; echo status=$?; " + "[ -e " + d +
        "/PARVO\\ V1.0.lock ] && echo lock-left; [ -s " + d + "/state.emu ] && echo state-saved";
    const CommandResult r = runCommand(script);
    EXPECT_NE(r.out.find("status=0"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("lock-left"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("state-saved"), std::string::npos) << r.out;
}
