// The window and a script on one processor: the program owns it and serves it on a
// private session bus (the test runs under dbus-run-session), quiloctl goes through it,
// and after every step the window, the script and the emulated processor agree.
#include "AppHarness.h"
#include "app/ProgramBus.h"
#include "model/ImageDiff.h"
#include "model/ModeFile.h"

#include <QProcess>
#include <QSlider>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

struct CtlRun {
    int status = -1;
    QString out;
};

// quiloctl on the same emulated processor; the event loop keeps running meanwhile,
// so that the program can answer it.
CtlRun quiloctl(const QString& state, const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(QUILOCTL_PATH),
            QStringList{QStringLiteral("--emulate=") + state} + args);
    waitUntil([&] { return p.state() == QProcess::NotRunning; }, 20000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()).trimmed()};
}

} // namespace

TEST(SharedProcessor, AScriptAndTheWindowChangeOneProcessorAndAllAgree) {
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        GTEST_SKIP() << "needs a session bus (ctest runs it under dbus-run-session)";
    }
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("state.emu"));
    auto h = std::make_unique<AppHarness>(true, kEnglish,
                                          [&](AppOptions& o) { o.session.emulatorFile = state; });
    h->start();
    ASSERT_TRUE(h->app->connected());
    auto bus = std::make_unique<ProgramBus>(*h->app, *h->app->mainFrame(), true);
    ASSERT_TRUE(bus->service().onBus());

    QSlider* mic = h->ribbon().slider(ribbon::Slider::Mic, ribbon::kInput);
    QSlider* music = h->ribbon().slider(ribbon::Slider::Music, ribbon::kInput);
    struct Step {
        const char* who; // "script" or "window"
        QSlider* slider;
        const char* field;
        int value;
    };
    const Step steps[] = {{"script", mic, "micVolume", 33},
                          {"window", music, "musicVolume", 44},
                          {"script", music, "musicVolume", 45},
                          {"window", mic, "micVolume", 30},
                          {"script", mic, "micVolume", 31}};
    for (const Step& s : steps) {
        const QString field = QString::fromLatin1(s.field);
        if (QByteArray(s.who) == "script") {
            EXPECT_EQ(
                quiloctl(state, {QStringLiteral("set"), field, QString::number(s.value)}).status, 0)
                << s.field;
        } else {
            s.slider->setValue(s.value);
        }
        h->drain();
        // The window shows it, and the script reads back what the window holds.
        EXPECT_EQ(s.slider->value(), s.value) << s.who << ' ' << s.field;
        const CtlRun got = quiloctl(state, {QStringLiteral("get"), field});
        EXPECT_EQ(got.status, 0);
        EXPECT_EQ(got.out, QString::number(s.value)) << s.who << ' ' << s.field;
    }

    // The emulated processor holds what the window holds: read back on its own once
    // the program has let it go.
    h->drain();
    const std::vector<std::string> window = modeFieldLines(h->image());
    bus.reset();
    ASSERT_TRUE(h->app->session().saveEmulatorState());
    h.reset();
    const QString pulled = dir.filePath(QStringLiteral("pulled.quilo"));
    ASSERT_EQ(quiloctl(state, {QStringLiteral("pull"), pulled}).status, 0);
    auto read = std::make_unique<DeviceImage>();
    read->resetToDefaults();
    ASSERT_TRUE(readModeFile(pulled.toStdString(), *read).ok());
    EXPECT_EQ(modeFieldLines(*read), window);
}
