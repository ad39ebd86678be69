#include "app/RunApplication.h"

#include "app/ProgramBus.h"
#include "app/WindowRegistry.h"
#include "mqtt/MqttBridge.h"

#include "app/CMainFrame.h"
#include "app/CVORNEXv13App.h"
#include "app/CommandLine.h"
#include "app/ExitSignals.h"
#include "app/SingleInstance.h"
#include "device/ProtocolTrace.h"
#include "mqtt/MqttBridge.h"
#include "ui/DialogLook.h"
#include "ui/Texts.h"
#include "web/gui/ProgramWeb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>

#include <cstdio>

#include <unistd.h>

namespace quilo {

namespace {

// Milliseconds since the process started (10 ms steps), from /proc; -1 if unknown.
long long processAgeMs() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray s = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold spaces.
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    constexpr int kStartTimeField = 22 - 3; // field 22, counted from field 3
    if (fields.size() <= kStartTimeField) {
        return -1;
    }
    const double started = fields[kStartTimeField].toDouble() / sysconf(_SC_CLK_TCK);
    const double now = uptime.readAll().split(' ').value(0).toDouble();
    return static_cast<long long>((now - started) * 1000.0);
}

// With QUILO_STARTUP_REPORT=1 the time to the main window's first paint goes to
// standard error.
class FirstPaintReporter : public QObject {
public:
    explicit FirstPaintReporter(const QElapsedTimer& clock) : m_clock(clock) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            std::fprintf(stderr, "quilo: first paint after %lld ms in main, %lld ms after exec\n",
                         static_cast<long long>(m_clock.elapsed()), processAgeMs());
            watched->removeEventFilter(this);
        }
        return false;
    }

private:
    const QElapsedTimer& m_clock;
};

// --trace wins over QUILO_TRACE.
QString traceFileOf(const CommandLine& cl) {
    if (!cl.traceFile.isEmpty()) {
        return cl.traceFile;
    }
    const auto fromEnvironment = ProtocolTrace::fileFromEnvironment();
    return fromEnvironment ? QFile::decodeName(fromEnvironment->c_str()) : QString();
}

void fail(const char* text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("QUILO"), QString::fromUtf8(text));
    box.exec();
}

} // namespace

int runApplication(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QUILO"));
    QApplication::setOrganizationName(QString::fromLatin1(AppSettings::kOrganisation));
    QApplication::setApplicationVersion(QStringLiteral("1.3.4"));
    // The installed desktop entry, so that the desktop groups the window under it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quilo.Quilo"));
    QApplication::setFont(cjkFont(12));

    const CommandLine cl = parseCommandLine(QApplication::arguments());
    if (!cl.error.isEmpty()) {
        std::fprintf(stderr,
                     "quilo: unknown option %s\nusage: quilo [--emulate[=FILE]] [--trace FILE] "
                     "[MODEFILE.quilo | REMOTEFILE.remo]\n",
                     cl.error.toLocal8Bit().constData());
        return 2;
    }

    SingleInstance instance;
    switch (instance.acquire(cl.modeFile)) {
    case SingleInstance::Outcome::Primary:
        break;
    case SingleInstance::Outcome::HandedOver:
        return 0;
    case SingleInstance::Outcome::NoWindow:
        fail("已有一个实例在运行，但找不到它的主窗口！");
        return 1;
    case SingleInstance::Outcome::LockFailed:
        fail("创建信标对象失败，程序退出！");
        return 1;
    }

    AppOptions options;
    options.session.emulate = cl.emulate;
    options.session.emulatorFile = cl.emulatorFile;
    options.session.trace = std::make_shared<ProtocolTrace>();
    if (const QString trace = traceFileOf(cl);
        !trace.isEmpty() && !options.session.trace->open(QFile::encodeName(trace).toStdString())) {
        std::fprintf(stderr, "quilo: cannot write the trace file %s\n",
                     trace.toLocal8Bit().constData());
    }
    CVORNEXv13App app(options);
    if (const auto& owner = app.session().connection().heldBy()) {
        std::fprintf(stderr, "quilo: the processor is in use by %s\n", ownerText(*owner).c_str());
        return 1;
    }
    registerWindows(app.windowFactories());
    QObject::connect(&instance, &SingleInstance::activationRequested, &app,
                     &CVORNEXv13App::activate);

    if (!cl.emulate) {
        QString text;
        QString caption;
        if (!app.session().startWatching(&text, &caption)) {
            app.prompter().message(nullptr, Prompter::Icon::Warning, caption, text);
        }
    }

    FirstPaintReporter reporter(clock);
    app.InitInstance({}, false);
    // The program serves the processor it owns on the bus; plain emulation is its own.
    const bool serveOnBus = !cl.emulate || !cl.emulatorFile.isEmpty();
    auto bus = std::make_unique<ProgramBus>(app, *app.mainFrame(), serveOnBus);
    // The home-automation bridge beside the bus service; off unless its settings say on.
    MqttBridge mqtt(bus->service());
    registerHomeAutomation(app.windowFactories(), mqtt);
    mqtt.startWith({});
    ProgramWeb web(app.windowFactories(), app.languageState(), bus->service());
    if (qEnvironmentVariableIntValue("QUILO_STARTUP_REPORT") == 1) {
        app.mainFrame()->installEventFilter(&reporter);
    }
    app.mainFrame()->show();
    if (!app.session().emulatorLoadError().isEmpty()) {
        app.prompter().message(app.mainFrame(), Prompter::Icon::Warning, QStringLiteral("QUILO"),
                               app.session().emulatorLoadError() +
                                   text::kEmulatorFileKept.pick(app.language()));
    }
    if (!cl.modeFile.isEmpty()) {
        app.OpenDocumentFile(cl.modeFile);
    }
    // A signal or the session's logout closes as the close button does, asking nothing.
    ExitSignals exitSignals;
    QObject::connect(&exitSignals, &ExitSignals::closeRequested, app.mainFrame(),
                     &CMainFrame::closeWithoutQuestions);
    QObject::connect(&qt, &QGuiApplication::commitDataRequest, app.mainFrame(),
                     &CMainFrame::closeWithoutQuestions);
    const int status = QApplication::exec();
    return status != 0 ? status : app.exitStatus();
}

} // namespace quilo
