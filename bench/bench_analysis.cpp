// Times adding every type of a company of installation types (6 to 12 module groups each) to the
// analysis table of a 96-period project, on the database file or a server, and prints the time
// per candidate.
//
//   bench_analysis [--store postgresql://...] [TYPES ...]
//
// The default sizes, 1,000 and 10,000 types, show the growth in candidates.
#include "BenchStore.h"
#include "BenchTimer.h"
#include "core/Messages.h"
#include "core/compensation/AnalysisCommands.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/graphs/GraphCommands.h"
#include "core/project/ProjectCommands.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

using namespace korvan;

namespace {

constexpr int Periods = 96;

QList<LoadPeriod> day()
{
    QList<LoadPeriod> out;
    const double step = 24.0 / Periods;
    for (int i = 0; i < Periods; ++i) {
        const double t = i * step;
        const double p = std::round(300 + 200 * std::sin(t / 24 * 6.2832));
        out.append({t, (i + 1) * step, p, std::round(p * 0.75)});
    }
    return out;
}

void addCatalogue(TDataModule1 &data, int typeCount)
{
    Store::Transaction tx(data.store());
    TTable &c = *data.tblsKU0, &t = *data.tblsKU1, &m = *data.tblsKU2;
    c.append();
    c.setValue(QStringLiteral("Company"), QStringLiteral("Испытательная"));
    c.post();
    for (int i = 0; i < typeCount; ++i) {
        const int groups = 6 + i % 7;
        const double step = 2.5 + (i % 20) * 2.5;
        t.append();
        t.setValue(QStringLiteral("Name"), QStringLiteral("КУ-%1").arg(i));
        t.setValue(QStringLiteral("Q"), step * groups * 2);
        t.setValue(QStringLiteral("Pp"), 0.004);
        t.setValue(QStringLiteral("Unom"), 400);
        if (i % 10 != 0)
            t.setValue(QStringLiteral("Cena"), 20000 + i * 50);
        t.post();
        for (int g = 0; g < groups; ++g) {
            m.append();
            m.setValue(QStringLiteral("Qstup"), step * (1 + g % 4));
            m.setValue(QStringLiteral("Kol_vo"), 1 + g % 3);
            m.post();
        }
    }
    tx.commit();
}

bench::Elapsed run(int typeCount, const QString &server)
{
    QTemporaryDir dir;
    auto store = bench::freshStore(server, dir);
    TDataModule1 data(*store);
    addCatalogue(data, typeCount);
    ProjectParams p = newProjectParams(data);
    p.name = QStringLiteral("Большой проект");
    createProject(data, p);
    replaceProjectGraph(data, day());
    restrictAnalysisToProject(data);
    data.tblsKU1->first();
    SelectionInput input;
    input.mode.mode = CosInRange;
    int added = 0;
    const bench::Elapsed e = bench::timed([&] { added = addCompanyCandidates(data, input); });
    if (added != typeCount || data.tblSel_KU->recordCount() != typeCount)
        std::fprintf(stderr, "добавлено %d из %d\n", added, typeCount);
    return e;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const QString server = bench::takeStoreOption(arguments);
    const auto sizes = bench::sizesFromArguments(arguments, "Число типов КУ", {1000, 10000});
    if (!sizes)
        return 2;
    const QList<int> counts = *sizes;
    std::printf("Анализ: все типы КУ компании (6-12 групп модулей), %d периодов, режим 3, %s\n", Periods,
                qPrintable(bench::storeText(server)));
    std::printf("%-10s %14s %14s %20s\n", "типов КУ", "по часам, мс", "процессора, мс", "процессора на КУ, мс");
    for (int n : counts) {
        bench::Elapsed e;
        try {
            e = run(n, server);
        } catch (const KorvanError &error) {
            std::fprintf(stderr, "%s\n", qPrintable(error.message()));
            return 2;
        }
        std::printf("%-10d %14.1f %14.1f %20.4f\n", n, e.wallMs, e.cpuMs, e.cpuMs / n);
        std::fflush(stdout);
    }
    return 0;
}
