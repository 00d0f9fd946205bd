// Times the analysis of one company's installation types whose module groups hold COUNT modules
// each, to show what the count of a group costs: a group is switched module by module only as
// far as the load needs, and a refused power skips the rest of its group at once.
//
//   bench_module_counts [COUNT ...]
//
// The default counts are 1, 10, 100, 1000 (the most a catalogue group may hold now) and
// 10,000,000 (what a store written before that limit may hold).
#include "BenchTimer.h"
#include "core/compensation/AnalysisCommands.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/graphs/GraphCommands.h"
#include "core/project/ProjectCommands.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace korvan;

namespace {

constexpr int Periods = 96, Types = 50, Groups = 6;

bench::Elapsed run(int count)
{
    QTemporaryDir dir;
    auto store = Store::open(dir.path());
    TDataModule1 data(*store);
    {
        Store::Transaction tx(data.store());
        TTable &c = *data.tblsKU0, &t = *data.tblsKU1, &m = *data.tblsKU2;
        // Counts beyond the catalogue's limit as a store written before it would hold them.
        m.beforePost = nullptr;
        c.append();
        c.setValue(QStringLiteral("Company"), QStringLiteral("Испытательная"));
        c.post();
        for (int i = 0; i < Types; ++i) {
            t.append();
            t.setValue(QStringLiteral("Name"), QStringLiteral("КУ-%1").arg(i));
            t.setValue(QStringLiteral("Q"), 500);
            t.setValue(QStringLiteral("Pp"), 0.004);
            t.setValue(QStringLiteral("Unom"), 400);
            t.post();
            for (int g = 0; g < Groups; ++g) {
                m.append();
                m.setValue(QStringLiteral("Qstup"), 2.5 * (1 + (i + g) % 8));
                m.setValue(QStringLiteral("Kol_vo"), count);
                m.post();
            }
        }
        tx.commit();
    }
    ProjectParams p = newProjectParams(data);
    p.name = QStringLiteral("Проект");
    createProject(data, p);
    QList<LoadPeriod> day;
    for (int i = 0; i < Periods; ++i)
        day.append({i * 0.25, (i + 1) * 0.25, 300.0 + i, 200.0 + i % 24 * 5});
    replaceProjectGraph(data, day);
    restrictAnalysisToProject(data);
    data.tblsKU1->first();
    SelectionInput input;
    input.mode.mode = FullCompensation;
    int added = 0;
    const bench::Elapsed e = bench::timed([&] { added = addCompanyCandidates(data, input); });
    if (added != Types || data.tblSel_KU->recordCount() != Types)
        std::fprintf(stderr, "добавлено %d из %d\n", added, Types);
    return e;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const auto sizes =
        bench::sizesFromArguments(app.arguments().mid(1), "Количество модулей", {1, 10, 100, 1000, 10000000});
    if (!sizes)
        return 2;
    const QList<int> counts = *sizes;
    std::printf("Анализ: %d типов КУ по %d групп модулей, %d периодов, полная компенсация, файл базы данных\n", Types,
                Groups, Periods);
    std::printf("%-18s %14s %14s %20s\n", "модулей в группе", "по часам, мс", "процессора, мс", "процессора на КУ, мс");
    for (int n : counts) {
        const bench::Elapsed e = run(n);
        std::printf("%-18d %14.1f %14.1f %20.4f\n", n, e.wallMs, e.cpuMs, e.cpuMs / Types);
        std::fflush(stdout);
    }
    return 0;
}
