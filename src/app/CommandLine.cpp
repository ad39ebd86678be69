#include "app/CommandLine.h"

#include "app/ProgramArguments.h"

#include <QFile>
#include <QFileInfo>

#include <string>
#include <vector>

namespace quilo {

namespace {

QString absolute(const std::string& path) {
    return path.empty()
               ? QString()
               : QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).absoluteFilePath();
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    std::vector<std::string> local;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        local.push_back(QFile::encodeName(arguments[i]).toStdString());
    }
    const std::vector<std::string_view> views(local.begin(), local.end());
    const ProgramArguments p = parseProgramArguments(views);
    CommandLine cl;
    cl.emulate = p.emulate;
    cl.emulatorFile = absolute(p.emulatorFile);
    cl.modeFile = absolute(p.file);
    cl.traceFile = absolute(p.traceFile);
    cl.error = QFile::decodeName(QByteArray::fromStdString(p.error));
    return cl;
}

} // namespace quilo
