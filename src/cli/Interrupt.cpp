#include "cli/Interrupt.h"

#include "core/Messages.h"

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace korvan::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) { interrupted = 1; }

} // namespace

void installInterruptHandler()
{
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // The second Ctrl+C ends the program. The first only sets the flag: a read, write or lock
    // that it interrupts is restarted instead of failing with EINTR in code that would not
    // retry it (stdio drops its output then, and a reader may take a short read for the end).
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
}

bool interruptRequested() { return interrupted != 0; }

void throwIfInterrupted()
{
    if (interrupted)
        throw KorvanError(QStringLiteral("Команда прервана (Ctrl+C). Данные остались без изменений."));
}

Progress commandProgress(const char *what)
{
    const bool terminal = ::isatty(STDERR_FILENO);
    return [terminal, what](int value, int maximum) {
        throwIfInterrupted();
        if (terminal && maximum > 0) {
            std::fprintf(stderr, "\r%s: %d из %d", what, value, maximum);
            if (value >= maximum)
                std::fputc('\n', stderr);
            std::fflush(stderr);
        }
    };
}

} // namespace korvan::cli
