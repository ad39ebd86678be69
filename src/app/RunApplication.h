#pragma once

namespace quilo {

// The desktop program: command line, single instance, settings, main window and
// the event loop. Returns the process exit status.
int runApplication(int argc, char** argv);

} // namespace quilo
