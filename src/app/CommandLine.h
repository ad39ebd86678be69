#pragma once

#include <QString>
#include <QStringList>

namespace quilo {

// What the desktop program was started with:
//   quilo [--emulate[=STATEFILE]] [--trace FILE] [MODEFILE.quilo | REMOTEFILE.remo]
struct CommandLine {
    bool emulate = false;
    QString emulatorFile; // may be empty with --emulate
    QString traceFile;    // --trace FILE or --trace=FILE: absolute, or empty
    QString modeFile;     // the file to open (a mode or remote data file): absolute, or empty
    QString error;        // an option that is not known
};

CommandLine parseCommandLine(const QStringList& arguments);

} // namespace quilo
