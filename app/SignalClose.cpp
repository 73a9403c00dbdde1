#include "SignalClose.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int CloseSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only do async-signal-safe things: it writes one byte into a pipe whose other
// end the event loop watches, and hands later signals back to their default action.
int PipeEnds[2] = {-1, -1};
std::function<void()> CloseCallback;
QPointer<QSocketNotifier> Notifier; // goes with the application that owns it

void RestoreDefaults() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    for (int sig : CloseSignals)
        sigaction(sig, &action, nullptr);
}

void OnSignal(int sig) {
    int saved = errno;
    char byte = static_cast<char>(sig);
    [[maybe_unused]] ssize_t n = write(PipeEnds[1], &byte, 1);
    RestoreDefaults();
    errno = saved;
}

void OnReadable() {
    char buffer[16];
    while (read(PipeEnds[0], buffer, sizeof buffer) > 0) {
    }
    if (CloseCallback)
        CloseCallback();
}

bool WatchPipe() {
    if (PipeEnds[0] < 0 && pipe2(PipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    if (Notifier)
        return true;
    Notifier =
        new QSocketNotifier(PipeEnds[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(Notifier, &QSocketNotifier::activated, Notifier, &OnReadable);
    return true;
}

} // namespace

bool InstallCloseOnSignals(std::function<void()> close) {
    if (!QCoreApplication::instance() || !WatchPipe())
        return false;
    CloseCallback = std::move(close);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (int sig : CloseSignals)
        sigaddset(&action.sa_mask, sig);
    action.sa_flags = SA_RESTART;
    bool ok = true;
    for (int sig : CloseSignals)
        ok = sigaction(sig, &action, nullptr) == 0 && ok;
    return ok;
}
