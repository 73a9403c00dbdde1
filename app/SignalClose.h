#pragma once
// SIGTERM (a desktop logging out), SIGINT and SIGHUP turned into an ordinary close of the
// book on the GUI thread, so the close writes every setting before the process ends.
#include <functional>

// Call once the QCoreApplication exists. `close` runs on the GUI thread, from the event loop
// (possibly a modal dialog's), once for the first of these signals; a second signal ends the
// process at once, for a close that hangs. Calling again replaces `close` and re-arms.
// False when the signals could not be caught.
bool InstallCloseOnSignals(std::function<void()> close);
