// Times the project commands on a large project (96 periods, 20 variants of 12-module
// installations), on the database file and on an in-memory store, and prints the ratio.
#include "LargeProject.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

using namespace korvan;

namespace {

using namespace korvan::bench;

struct Times {
    double import = 0, replace = 0, recalc = 0, copy = 0;
};

template<typename F>
double timed(F &&f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return timer.nsecsElapsed() / 1e6;
}

Times run(Store &store)
{
    TDataModule1 data(store);
    const QList<qint64> types = addTypes(data);
    Times t;
    // What "import" does: the project, its graph and one variant per entry, in one transaction.
    t.import = timed([&] { addLargeProject(data, types); });
    t.replace = timed([&] { replaceProjectGraph(data, day(96, 3)); });
    t.recalc = timed([&] { recalculateProject(data); });
    t.copy = timed([&] { copyProject(data, QStringLiteral("Копия")); });
    return t;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    auto file = Store::open(dir.path());
    const Times f = run(*file);
    auto memory = Store::openMemory();
    const Times m = run(*memory);
    std::printf("96 периодов, 20 вариантов по 12 модулей\n");
    std::printf("%-28s %12s %12s %8s\n", "команда", "файл, мс", "память, мс", "файл/память");
    const auto line = [](const char *name, double a, double b) {
        std::printf("%-28s %12.1f %12.1f %8.2f\n", name, a, b, a / b);
    };
    line("import", f.import, m.import);
    line("replace graph + rebuild", f.replace, m.replace);
    line("recalc", f.recalc, m.recalc);
    line("copy", f.copy, m.copy);
    return 0;
}
