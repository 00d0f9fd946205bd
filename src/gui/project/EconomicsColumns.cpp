#include "gui/project/EconomicsColumns.h"

#include "core/calc/Numbers.h"
#include "core/data/TDataModule1.h"
#include "core/project/EconomicsCommands.h"
#include "gui/widgets/StoreCache.h"

#include <QBrush>

namespace korvan {

namespace {

using Figures = std::function<EconomicFigures(const TTable::Row &, const EconomicParams &)>;

// A figure of the row and, when it is to be shown in red, true.
struct Shown {
    std::optional<double> value;
    bool warning = false;
};

QVector<CursorModel::Column> economicsColumns(TDataModule1 &data, const QColor &background, Figures figures)
{
    TDataModule1 *d = &data;
    // The project's parameters and each row's figures are read once per change of the store.
    const auto params = StoreCache<EconomicParams>::make(data.store());
    const auto rowFigures = StoreCache<EconomicFigures>::make(data.store());
    const auto column = [&](const char *title,
                            std::function<Shown(const EconomicFigures &, const EconomicParams &)> pick) {
        CursorModel::Column c({}, QString::fromUtf8(title), background, true);
        c.computed = [d, figures, pick, params, rowFigures](const TTable::Row &row, int role) -> QVariant {
            switch (role) {
            case Qt::DisplayRole:
            case Qt::EditRole:
            case Qt::ForegroundRole: {
                const EconomicParams &p =
                    params->value(d->tblProj0->currentKod(), [d] { return currentEconomics(*d); });
                const EconomicFigures &f =
                    rowFigures->value(row.value(0).toLongLong(), [&] { return figures(row, p); });
                const Shown shown = pick(f, p);
                if (role == Qt::ForegroundRole)
                    return shown.warning ? QVariant(QBrush(Qt::red)) : QVariant();
                return shown.value ? numberText(*shown.value) : QString();
            }
            case Qt::TextAlignmentRole:
                return int(Qt::AlignRight | Qt::AlignVCenter);
            default:
                return {};
            }
        };
        return c;
    };
    return {column("ЧДД, грн", [](const EconomicFigures &f, const EconomicParams &) { return Shown{f.NPV}; }),
            column("ВНД, %", [](const EconomicFigures &f, const EconomicParams &) { return Shown{f.IRR}; }),
            column("Срок диск., лет", [](const EconomicFigures &f, const EconomicParams &p) {
                return Shown{f.DPP, f.DPP && *f.DPP > p.Life};
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
