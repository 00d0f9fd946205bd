// Time and peak memory of `korvan-vkp-cli list` on a store whose analysis table holds many rows
// (of many projects, most of them deleted: the table keeps them), against an empty store.
//
//   bench_store_list [ROWS]      (100,000 by default)
//
// The command-line program runs as a child process, five times each, and the medians are shown.
#include "core/data/Store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvan;

namespace {

struct Sample {
    double ms = 0;    // by the clock
    double cpuMs = 0; // processor time of the program, user and system
    double mib = 0;
};

// One run of the program; peak resident memory from the kernel's accounting of the child.
Sample runList(const QString &dataDir)
{
    const QByteArray program = KORVAN_CLI_PATH, dir = dataDir.toLocal8Bit();
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen("/dev/null", "w", stdout))
            _exit(127);
        execl(program.constData(), program.constData(), "--data", dir.constData(), "list",
              static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Sample s;
    s.ms = timer.nsecsElapsed() / 1e6;
    s.cpuMs =
        (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    s.mib = usage.ru_maxrss / 1024.0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "list завершилась с ошибкой (%d)\n", status);
    return s;
}

Sample median(const QString &dataDir)
{
    QList<Sample> runs;
    for (int i = 0; i < 5; ++i)
        runs << runList(dataDir);
    const auto by = [&](auto field) {
        QList<double> v;
        for (const Sample &s : runs)
            v << s.*field;
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    return {by(&Sample::ms), by(&Sample::cpuMs), by(&Sample::mib)};
}

void fillAnalysisTable(const QString &dataDir, int rows)
{
    auto store = Store::open(dataDir);
    Store::Transaction tx(*store);
    store->exec(
        QStringLiteral(
            "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < %1) "
            "INSERT INTO \"sel_ku.DB\" (\"Kod0\", \"KodKU0\", \"KodKU1\", \"Company\", \"TipKU\", \"Qk\", "
            "\"Qku_min\", \"Qku_max\", \"Cosf_sr\", \"Cosf_min\", \"Cosf_max\", \"Tgf_sr\", \"DSWsk\", \"DSWskm\", "
            "\"DSWskg\", \"Srok\", \"Rejim\", \"PCosf_min\", \"PCosf_max\") "
            "SELECT 1 + x / 1000, 1, 1 + x % 40, 'ЭнергоКосинус-Запад', 'УКРМ-0,4-' || (x % 40) || ' У3', 50 + x % 40, "
            "10, 300, 0.95, 0.9, 0.99, 0.33, 12.5, 262.5, 3250, 8.98 + (x % 97) / 10.0, "
            "'cos(f) в заданном диапазоне значений', 0.92, 0.98 FROM n")
            .arg(rows));
    tx.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    if (rows <= 0) {
        std::fprintf(stderr, "Число строк должно быть целым положительным.\n");
        return 2;
    }
    QTemporaryDir empty, full;
    Store::open(empty.path()).reset(); // a new store: created with its delivered contents
    fillAnalysisTable(full.path(), rows);
    const Sample e = median(empty.path()), f = median(full.path());
    std::printf("korvan-vkp-cli list, медиана 5 запусков\n");
    std::printf("%-26s %14s %16s %16s\n", "хранилище", "по часам, мс", "процессора, мс", "пик памяти, МиБ");
    std::printf("%-26s %14.1f %16.1f %16.1f\n", "пустое", e.ms, e.cpuMs, e.mib);
    std::printf("%-26s %14.1f %16.1f %16.1f\n", qPrintable(QStringLiteral("%1 строк анализа").arg(rows)), f.ms, f.cpuMs,
                f.mib);
    std::printf("отношение: процессора %.2f, памяти %.2f\n", f.cpuMs / e.cpuMs, f.mib / e.mib);
    return 0;
}
