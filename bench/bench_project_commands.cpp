// Times the project commands on a large project (96 periods, 20 variants of 12-module
// installations), on the database file and on an in-memory store, and prints the ratio.
#include "compensation/VariantCommands.h"
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

QList<GraphPeriod> day(int periods, double phase)
{
    QList<GraphPeriod> out;
    const double step = 24.0 / periods;
    for (int i = 0; i < periods; ++i) {
        const double t = i * step;
        const double p = std::round(300 + 200 * std::sin((t + phase) / 24 * 6.2832));
        out.append({t, (i + 1) * step, p, std::round(p * 0.75)});
    }
    return out;
}

// Twenty catalogue types of twelve modules each, in one company of their own.
QList<qint64> addTypes(TDataModule1 &data)
{
    Store::Transaction tx(data.store());
    TTable &c = *data.tblsKU0, &t = *data.tblsKU1, &m = *data.tblsKU2;
    c.append();
    c.setValue(QStringLiteral("Company"), QStringLiteral("Испытательная"));
    c.post();
    QList<qint64> kods;
    for (int i = 0; i < 20; ++i) {
        const double step = 5 + i * 2.5;
        t.append();
        t.setValue(QStringLiteral("Name"), QStringLiteral("КУ-%1").arg(i));
        t.setValue(QStringLiteral("Q"), step * 12);
        t.setValue(QStringLiteral("Pp"), 0.004);
        t.setValue(QStringLiteral("Unom"), 400);
        t.setValue(QStringLiteral("Cena"), 30000 + i * 1000);
        t.post();
        kods << t.currentKod();
        for (int g = 0; g < 12; ++g) {
            m.append();
            m.setValue(QStringLiteral("Qstup"), step * (1 + g % 3));
            m.setValue(QStringLiteral("Kol_vo"), 1);
            m.post();
        }
    }
    tx.commit();
    return kods;
}

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
    t.import = timed([&] {
        Store::Transaction tx(store);
        ProjectParams p = newProjectParams(data);
        p.name = QStringLiteral("Большой проект");
        createProject(data, p);
        replaceProjectGraph(data, day(96, 0));
        for (int v = 0; v < 20; ++v) {
            data.tblsKU1->locate(QStringLiteral("Kod"), types[v]);
            VariantParams vp;
            vp.varNum = QString::number(v + 1);
            vp.mode.mode = v % 5;
            addVariant(data, vp);
        }
        tx.commit();
    });
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
