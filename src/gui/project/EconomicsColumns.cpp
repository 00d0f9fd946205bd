#include "EconomicsColumns.h"

#include "data/TDataModule1.h"
#include "project/EconomicsCommands.h"

namespace korvan {

namespace {

using Figures = std::function<EconomicFigures(const TTable::Row &, const EconomicParams &)>;

QVector<CursorModel::Column> economicsColumns(TDataModule1 &data, const QColor &background, Figures figures)
{
    using Computed = CursorModel::Column::Computed;
    TDataModule1 *d = &data;
    const auto column = [&](const char *title, std::function<Computed(const EconomicFigures &, const EconomicParams &)> pick) {
        CursorModel::Column c({}, QString::fromUtf8(title), background, true);
        c.compute = [d, figures, pick](const TTable::Row &row) {
            const EconomicParams params = currentEconomics(*d);
            return pick(figures(row, params), params);
        };
        return c;
    };
    return {column("ЧДД, грн", [](const EconomicFigures &f, const EconomicParams &) { return Computed{f.NPV, {}}; }),
            column("ВНД, %", [](const EconomicFigures &f, const EconomicParams &) { return Computed{f.IRR, {}}; }),
            column("Срок диск., лет", [](const EconomicFigures &f, const EconomicParams &p) {
                return Computed{f.DPP, f.DPP && *f.DPP > p.Life ? QColor(Qt::red) : QColor()};
            })};
}

} // namespace

QVector<CursorModel::Column> variantEconomicsColumns(TDataModule1 &data, const QColor &background)
{
    const TTable *variants = data.tblProj2;
    return economicsColumns(data, background, [variants](const TTable::Row &row, const EconomicParams &p) {
        return variantEconomics(*variants, row, p);
    });
}

QVector<CursorModel::Column> analysisEconomicsColumns(TDataModule1 &data, const QColor &background)
{
    const TTable *table = data.tblSel_KU;
    Store *store = &data.store();
    return economicsColumns(data, background, [table, store](const TTable::Row &row, const EconomicParams &p) {
        return candidateEconomics(*store, *table, row, p);
    });
}

} // namespace korvan
