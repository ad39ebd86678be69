#include "app/TraceToggle.h"

#include "device/ProtocolTrace.h"
#include "ui/BiText.h"
#include "ui/Prompter.h"

#include <QFile>

namespace quilo {

namespace {

constexpr BiText kCaption{"诊断跟踪", "Diagnostic trace"};
constexpr BiText kCannotOpen{"无法写入跟踪文件：", "The trace file cannot be written: "};
constexpr const char* kTraceFilter = "Trace (*.trace);;All files (*)";

} // namespace

bool toggleTrace(ProtocolTrace& trace, Prompter& prompter, QWidget* parent, int language) {
    if (trace.isOpen()) {
        trace.close();
        return false;
    }
    const QString path =
        prompter.saveFileName(parent, QStringLiteral("quilo.trace"), QStringLiteral("trace"),
                              QString::fromLatin1(kTraceFilter));
    if (path.isEmpty()) {
        return false;
    }
    if (!trace.open(QFile::encodeName(path).toStdString())) {
        prompter.message(parent, Prompter::Icon::Warning, kCaption.pick(language),
                         kCannotOpen.pick(language) + path);
        return false;
    }
    return true;
}

} // namespace quilo
