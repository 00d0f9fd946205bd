// Times the project commands on large projects, on the database file: import (the project, its
// graph and every variant in one transaction), graph replacement with the rebuild of every
// variant, recalculation and copy.
//
//   bench_project_commands [--store postgresql://...] [PERIODSxVARIANTS ...]
//
// The default sizes show the growth: periods and variants each ten times apart. With --store the
// commands run on a PostgreSQL server instead of a file; that database is emptied before each
// size (give it one of its own, e.g. createdb korvan_bench).
#include "BenchStore.h"
#include "BenchTimer.h"
#include "LargeProject.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

using namespace korvan;

namespace {

// The types that bench::addTypes puts in the catalogue.
constexpr int TypeCount = 20;
using bench::addTypes;
using bench::day;

struct Size {
    int periods = 0, variants = 0;
};

struct Times {
    bench::Elapsed import, replace, recalc, copy;
};

Times run(const Size &size, const QString &server)
{
    QTemporaryDir dir;
    auto store = bench::freshStore(server, dir);
    TDataModule1 data(*store);
    const QList<qint64> types = addTypes(data);
    Times t;
    t.import = bench::timed([&] {
        Store::Transaction tx(*store);
        ProjectParams p = newProjectParams(data);
        p.name = QStringLiteral("Большой проект");
        createProject(data, p);
        replaceProjectGraph(data, day(size.periods, 0));
        for (int v = 0; v < size.variants; ++v) {
            data.tblsKU1->locate(QStringLiteral("Kod"), types[v % TypeCount]);
            VariantParams vp;
            vp.varNum = QString::number(v + 1);
            vp.mode.mode = v % 5;
            addVariant(data, vp);
        }
        tx.commit();
    });
    t.replace = bench::timed([&] { replaceProjectGraph(data, day(size.periods, 3)); });
    t.recalc = bench::timed([&] { recalculateProject(data); });
    t.copy = bench::timed([&] { copyProject(data, QStringLiteral("Копия")); });
    return t;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QList<Size> sizes;
    QStringList arguments = app.arguments().mid(1);
    const QString server = bench::takeStoreOption(arguments);
    for (const QString &arg : std::as_const(arguments)) {
        const QStringList parts = arg.split(QLatin1Char('x'));
        Size s;
        if (parts.size() == 2)
            s = {parts[0].toInt(), parts[1].toInt()};
        if (s.periods <= 0 || s.variants <= 0) {
            std::fprintf(stderr, "Размер задаётся как ПЕРИОДЫxВАРИАНТЫ, например 96x20: «%s»\n", qPrintable(arg));
            return 2;
        }
        sizes << s;
    }
    if (sizes.isEmpty())
        sizes = {{96, 20}, {144, 100}, {1440, 10}, {1440, 100}};
    std::printf("Команды проекта, %s; варианты по %d типам КУ из 12 модулей\n", qPrintable(bench::storeText(server)),
                TypeCount);
    std::printf("время в мс: по часам / процессора\n");
    std::printf("%-20s %17s %17s %17s %17s\n", "периоды x варианты", "import", "replace+rebuild", "recalc", "copy");
    const auto cell = [](const bench::Elapsed &e) {
        return QStringLiteral("%1 / %2").arg(e.wallMs, 0, 'f', 1).arg(e.cpuMs, 0, 'f', 1);
    };
    for (const Size &s : sizes) {
        Times t;
        try {
            t = run(s, server);
        } catch (const KorvanError &e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 2;
        }
        std::printf("%8d x %-9d %17s %17s %17s %17s\n", s.periods, s.variants, qPrintable(cell(t.import)),
                    qPrintable(cell(t.replace)), qPrintable(cell(t.recalc)), qPrintable(cell(t.copy)));
        std::fflush(stdout);
    }
    return 0;
}
