#include "cli/Interrupt.h"

#include "core/ChildProcessGroup.h"
#include "core/ProgressControl.h"

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace korvan::cli {

namespace {

ProgressControl control(QStringLiteral("Команда прервана (Ctrl+C). Данные остались без изменений."));

extern "C" void onInterrupt(int signal)
{
    if (!control.cancelRequested()) {
        control.cancel();
        return;
    }
    // The second request ends the program at once, and the helpers it started with it.
    ChildProcessGroup::killAllFromSignal();
    ::_exit(128 + signal);
}

} // namespace

void installInterruptHandler()
{
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // The second Ctrl+C (or SIGTERM) ends the program. The first only asks the command to stop:
    // a read, write or lock that it interrupts is restarted instead of failing with EINTR in code
    // that would not retry it (stdio drops its output then, and a reader may take a short read
    // for the end).
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

ProgressControl &commandControl() { return control; }

bool interruptRequested() { return control.cancelRequested(); }

void throwIfInterrupted() { control.throwIfCancelled(); }

Progress commandProgress(const char *what)
{
    const bool terminal = ::isatty(STDERR_FILENO);
    return control.progress([terminal, what](int value, int maximum) {
        if (terminal && maximum > 0) {
            std::fprintf(stderr, "\r%s: %d из %d", what, value, maximum);
            if (value >= maximum)
                std::fputc('\n', stderr);
            std::fflush(stderr);
        }
    });
}

} // namespace korvan::cli
