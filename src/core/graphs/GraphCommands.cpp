#include "GraphCommands.h"

#include "Messages.h"
#include "calc/Numbers.h"
#include "compensation/VariantPeriods.h"
#include "data/Store.h"
#include "data/TDataModule1.h"
#include "data/TotalsBatch.h"

#include <cmath>

namespace korvan {

void replaceProjectGraph(TDataModule1 &data, const QList<GraphPeriod> &periods)
{
    if (data.tblProj0->isEmpty())
        throw KorvanError(QStringLiteral("Нет текущего проекта."));
    TTable &p = *data.tblProj1;
    Store::Transaction tx(data.store());
    try {
        TDataModule1::deleteAllRows(p);
        TotalsBatch batch(*data.tblProj0);
        appendPeriods(p, periods);
        batch.commit();
        rebuildVariants(data);
        tx.commit();
    } catch (...) {
        p.cancel();
        throw;
    }
}

QList<GraphPeriod> scaledTypicalGraph(const TTable &typical, double pmax, double qmax)
{
    QList<GraphPeriod> out;
    TTable &t = const_cast<TTable &>(typical);
    const auto mark = t.bookmark();
    for (t.first(); !t.eof(); t.next())
        out.append({t.asFloat(QStringLiteral("T1")), t.asFloat(QStringLiteral("T2")),
                    std::nearbyint(pmax * t.asFloat(QStringLiteral("P")) / 100),
                    std::nearbyint(qmax * t.asFloat(QStringLiteral("Q")) / 100)});
    t.gotoBookmark(mark);
    return out;
}

void rebuildVariants(TDataModule1 &data)
{
    TTable &variants = *data.tblProj2;
    const auto mark = variants.bookmark();
    Store::Transaction tx(data.store());
    for (variants.first(); !variants.eof(); variants.next()) {
        TDataModule1::deleteAllRows(*data.tblProj3);
        buildVariantPeriods(data, modeOfVariant(variants));
    }
    variants.gotoBookmark(mark);
    tx.commit();
}

} // namespace korvan
