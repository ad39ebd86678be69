// quilod: owns the processor and serves it on the session bus.
#include "app/ExitSignals.h"
#include "bus/ProcessorService.h"
#include "daemon/Daemon.h"
#include "device/ProtocolTrace.h"
#include "mqtt/MqttBridge.h"
#include "web/DaemonWeb.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr const char* kUsage =
    "usage: quilod [--emulate[=FILE]] [--trace FILE] [--mqtt=mqtt[s]://HOST:PORT]\n"
    "              [--web[=ADDR:PORT]]\n";

void say(const QString& text) {
    std::fprintf(stderr, "quilod: %s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    quilo::Daemon::Options options;
    // --trace wins over QUILO_TRACE.
    std::optional<std::string> traceFile = quilo::ProtocolTrace::fileFromEnvironment();
    QString mqttUrl;                  // --mqtt: the home-automation bridge on, to this broker
    std::optional<QString> webOption; // --web[=ADDR:PORT]
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--trace") && i + 1 < argc) {
            traceFile = argv[++i];
        } else if (arg.startsWith(QLatin1String("--trace=")) && arg.size() > 8) {
            traceFile = std::string(argv[i] + 8);
        } else if (arg == QLatin1String("--emulate")) {
            options.emulate = true;
        } else if (arg.startsWith(QLatin1String("--emulate=")) && arg.size() > 10) {
            options.emulate = true;
            options.emulatorFile = arg.mid(10);
        } else if (arg.startsWith(QLatin1String("--mqtt="))) {
            mqttUrl = arg.mid(7);
            if (quilo::MqttSettings probe; !probe.setBrokerUrl(mqttUrl)) {
                say(QStringLiteral("--mqtt needs mqtt://HOST:PORT or mqtts://HOST:PORT"));
                return 2;
            }
        } else if (quilo::isWebOption(arg)) {
            if (!quilo::webOptionReads(arg)) {
                say(QStringLiteral("--web takes ADDR:PORT, e.g. --web=192.168.1.5:8830"));
                return 2;
            }
            webOption = arg;
        } else if (arg == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            say(QStringLiteral("unknown option %1").arg(arg));
            std::fputs(kUsage, stderr);
            return 2;
        }
    }

    if (traceFile) {
        auto trace = std::make_shared<quilo::ProtocolTrace>();
        // As the program does: the processor is served all the same, untraced.
        if (trace->open(*traceFile)) {
            options.trace = std::move(trace);
        } else {
            say(QStringLiteral("cannot write the trace file %1")
                    .arg(QFile::decodeName(traceFile->c_str())));
        }
    }
    quilo::Daemon daemon(options);
    if (const QString refusal = daemon.refusal(); !refusal.isEmpty()) {
        say(refusal);
        return 1;
    }
    quilo::ProcessorService service(daemon);
    quilo::MqttBridge mqtt(service);
    quilo::DaemonWeb web(service, webOption);
    // Scripts reach the processor only through the bus; without it there is no point.
    if (QString problem; !service.start(&problem)) {
        say(problem);
        return 1;
    }
    if (QString problem; !mqtt.startWith(mqttUrl, &problem)) {
        say(QStringLiteral("mqtt: %1").arg(problem));
    }
    quilo::ExitSignals exitSignals;
    QObject::connect(&exitSignals, &quilo::ExitSignals::closeRequested, &app, [&] {
        QString problem;
        if (!daemon.stop(&problem)) {
            say(QStringLiteral("the emulated processor's state was not saved: %1").arg(problem));
        }
        app.exit(0);
    });
    daemon.start();
    if (const QString problem = web.start(); !problem.isEmpty()) {
        say(QStringLiteral("the phone remote is off: %1").arg(problem));
    }
    return app.exec();
}
