#pragma once

// Wall-clock and processor time of one piece of work. On a machine shared with other builds the
// wall clock mostly measures the wait for a processor; the processor time of this process is
// what the work itself costs (the wait for the disk shows in the difference).
#include <QElapsedTimer>
#include <QList>
#include <QStringList>
#include <cstdio>
#include <ctime>
#include <optional>

namespace korvan::bench {

struct Elapsed {
    double wallMs = 0;
    double cpuMs = 0;
};

inline double processCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

template <typename F>
Elapsed timed(F &&f)
{
    const double cpu = processCpuMs();
    QElapsedTimer timer;
    timer.start();
    f();
    return {timer.nsecsElapsed() / 1e6, processCpuMs() - cpu};
}

// The sizes given on the command line, or the defaults when none is; nothing (after a message
// naming what the number counts) when one is not a whole positive number.
inline std::optional<QList<int>> sizesFromArguments(const QStringList &arguments, const char *what,
                                                    const QList<int> &defaults)
{
    QList<int> sizes;
    for (const QString &arg : arguments) {
        const int n = arg.toInt();
        if (n <= 0) {
            std::fprintf(stderr, "%s должно быть целым положительным: «%s»\n", what, qPrintable(arg));
            return std::nullopt;
        }
        sizes << n;
    }
    return sizes.isEmpty() ? defaults : sizes;
}

} // namespace korvan::bench
