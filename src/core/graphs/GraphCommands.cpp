#include "core/graphs/GraphCommands.h"

#include "core/calc/Numbers.h"
#include "core/data/VariantPeriods.h"
#include "core/data/CommandScope.h"
#include "core/data/Records.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/data/ProjectResults.h"
#include "core/Messages.h"

#include <cmath>

namespace korvan {

void replaceProjectGraph(TDataModule1 &data, const QList<LoadPeriod> &periods)
{
    if (data.tblProj0->isEmpty())
        throw KorvanError(QStringLiteral("Нет текущего проекта."));
    TTable &p = *data.tblProj1;
    CommandScope command(data.store(), {&p});
    TDataModule1::deleteAllRows(p);
    appendPeriods(p, periods);
    rebuildVariants(data);
    refreshProjectResults(data.store(), data.tblProj0->currentKod());
    command.commit();
}

QList<LoadPeriod> scaledTypicalGraph(const TTable &typical, double pmax, double qmax)
{
    QList<LoadPeriod> out = loadPeriodsOf(typical);
    for (LoadPeriod &period : out) {
        period.P = std::nearbyint(pmax * period.P / 100);
        period.Q = std::nearbyint(qmax * period.Q / 100);
    }
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
