#pragma once

class QWidget;

namespace quilo {

class Prompter;
class ProtocolTrace;

// "Record a diagnostic trace…": stops a running trace, or asks where to write one and
// starts it there. Returns whether the trace runs afterwards.
bool toggleTrace(ProtocolTrace& trace, Prompter& prompter, QWidget* parent, int language);

} // namespace quilo
