// Times adding every type of a company of 1000 installation types (6 to 12 module groups each)
// to the analysis table of a 96-period project, on the database file and on an in-memory store,
// and prints the time per candidate and the ratio.
#include "compensation/AnalysisCommands.h"
#include "data/Store.h"
#include "data/TDataModule1.h"
#include "graphs/GraphCommands.h"
#include "project/ProjectCommands.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

using namespace korvan;

namespace {

constexpr int TypeCount = 1000;
constexpr int Periods = 96;

QList<GraphPeriod> day()
{
    QList<GraphPeriod> out;
    const double step = 24.0 / Periods;
    for (int i = 0; i < Periods; ++i) {
        const double t = i * step;
        const double p = std::round(300 + 200 * std::sin(t / 24 * 6.2832));
        out.append({t, (i + 1) * step, p, std::round(p * 0.75)});
    }
    return out;
}

void addCatalogue(TDataModule1 &data)
{
    Store::Transaction tx(data.store());
    TTable &c = *data.tblsKU0, &t = *data.tblsKU1, &m = *data.tblsKU2;
    c.append();
    c.setValue(QStringLiteral("Company"), QStringLiteral("Испытательная"));
    c.post();
    for (int i = 0; i < TypeCount; ++i) {
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

double run(Store &store)
{
    TDataModule1 data(store);
    addCatalogue(data);
    ProjectParams p = newProjectParams(data);
    p.name = QStringLiteral("Большой проект");
    createProject(data, p);
    replaceProjectGraph(data, day());
    restrictAnalysisToProject(data);
    data.tblsKU1->first();
    SelectionInput input;
    input.mode.mode = CosInRange;
    QElapsedTimer timer;
    timer.start();
    const int added = addCompanyCandidates(data, input);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (added != TypeCount || data.tblSel_KU->recordCount() != TypeCount)
        std::fprintf(stderr, "добавлено %d из %d\n", added, TypeCount);
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    auto file = Store::open(dir.path());
    const double f = run(*file);
    auto memory = Store::openMemory();
    const double m = run(*memory);
    std::printf("%d типов КУ по 6-12 групп модулей, %d периодов, режим 3\n", TypeCount, Periods);
    std::printf("%-10s %12s %16s\n", "хранилище", "всего, мс", "на одну КУ, мс");
    std::printf("%-10s %12.1f %16.3f\n", "файл", f, f / TypeCount);
    std::printf("%-10s %12.1f %16.3f\n", "память", m, m / TypeCount);
    std::printf("файл/память: %.2f\n", f / m);
    return 0;
}
