#pragma once

// The large project the benchmarks work on: 96 periods a day and 20 variants of 12-module
// installations of one company.
#include "core/compensation/VariantCommands.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/graphs/GraphCommands.h"
#include "core/project/ProjectCommands.h"

#include <cmath>

namespace korvan::bench {

inline QList<LoadPeriod> day(int periods, double phase)
{
    QList<LoadPeriod> out;
    const double step = 24.0 / periods;
    for (int i = 0; i < periods; ++i) {
        const double t = i * step;
        const double p = std::round(300 + 200 * std::sin((t + phase) / 24 * 6.2832));
        out.append({t, (i + 1) * step, p, std::round(p * 0.75)});
    }
    return out;
}

// Twenty catalogue types of twelve modules each, in one company of their own.
inline QList<qint64> addTypes(TDataModule1 &data)
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

// What "import" does: the project, its graph and one variant per type, in one transaction.
inline void addLargeProject(TDataModule1 &data, const QList<qint64> &types)
{
    Store::Transaction tx(data.store());
    ProjectParams p = newProjectParams(data);
    p.name = QStringLiteral("Большой проект");
    createProject(data, p);
    replaceProjectGraph(data, day(96, 0));
    for (int v = 0; v < types.size(); ++v) {
        data.tblsKU1->locate(QStringLiteral("Kod"), types[v]);
        VariantParams vp;
        vp.varNum = QString::number(v + 1);
        vp.mode.mode = v % 5;
        addVariant(data, vp);
    }
    tx.commit();
}

} // namespace korvan::bench
