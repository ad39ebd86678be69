#include "app/CommandLine.h"

#include <QFileInfo>

namespace quilo {

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine cl;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--emulate")) {
            cl.emulate = true;
        } else if (a.startsWith(QLatin1String("--emulate="))) {
            cl.emulate = true;
            cl.emulatorFile = QFileInfo(a.mid(10)).absoluteFilePath();
        } else if (a == QLatin1String("--trace") && i + 1 < arguments.size()) {
            cl.traceFile = QFileInfo(arguments[++i]).absoluteFilePath();
        } else if (a.startsWith(QLatin1String("--trace=")) && a.size() > 8) {
            cl.traceFile = QFileInfo(a.mid(8)).absoluteFilePath();
        } else if (a.startsWith(QLatin1String("--"))) {
            cl.error = a;
        } else if (cl.modeFile.isEmpty()) {
            cl.modeFile = QFileInfo(a).absoluteFilePath();
        }
    }
    return cl;
}

} // namespace quilo
