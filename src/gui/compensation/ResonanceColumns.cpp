#include "gui/compensation/ResonanceColumns.h"

#include "core/calc/Numbers.h"
#include "core/compensation/ResonanceCommands.h"
#include "core/data/ResonanceTables.h"
#include "core/data/TDataModule1.h"
#include "gui/widgets/StoreCache.h"

#include <QBrush>

namespace korvan {

namespace {

const QColor RiskColor(255, 160, 160);

QVariant numberCell(const std::optional<double> &v) { return v ? numberText(*v) : QString(); }

} // namespace

QVector<CursorModel::Column> resonanceColumns(Store &store, ResonanceRows rows)
{
    Store *s = &store;
    const auto cache = StoreCache<ResonanceValues>::make(store);
    const auto values = [s, rows, cache](const QVector<QVariant> &row) {
        const qint64 kod = row.value(0).toLongLong(); // Kod leads every table
        return cache->value(kod, [&] {
            return rows == ResonanceRows::Variants ? resonance_tables::variantValues(*s, kod)
                                                   : resonance_tables::candidateValues(*s, kod);
        });
    };
    const auto column = [values](const QString &title, std::function<QVariant(const ResonanceValues &)> text,
                                 bool risk = false) {
        CursorModel::Column c({}, title);
        c.readOnly = true;
        c.computed = [values, text, risk](const QVector<QVariant> &row, int role) -> QVariant {
            switch (role) {
            case Qt::DisplayRole:
            case Qt::EditRole:
                return text(values(row));
            case Qt::TextAlignmentRole:
                return int((risk ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            case Qt::BackgroundRole:
                if (risk) {
                    const auto orders = values(row).Resonance;
                    if (orders && !orders->empty())
                        return QBrush(RiskColor);
                }
                return {};
            default:
                return {};
            }
        };
        return c;
    };
    return {column(QStringLiteral("hрез мин"), [](const ResonanceValues &v) { return numberCell(v.Hr_min); }),
            column(QStringLiteral("hрез макс"), [](const ResonanceValues &v) { return numberCell(v.Hr_max); }),
            column(
                QStringLiteral("Резонанс"),
                [](const ResonanceValues &v) { return QVariant(resonanceText(v.Resonance)); }, true),
            column(QStringLiteral("dU, %"), [](const ResonanceValues &v) { return numberCell(v.dU_max); }),
            column(QStringLiteral("Ч опер., ч"),
                   [](const ResonanceValues &v) { return QVariant(numberText(v.Hours_lead)); })};
}

CursorModel::Column detuningColumn(TDataModule1 &data)
{
    TDataModule1 *d = &data;
    CursorModel::Column c({}, QStringLiteral("p, %"));
    const auto cache = StoreCache<std::optional<double>>::make(data.store());
    c.computed = [d, cache](const QVector<QVariant> &row, int role) -> QVariant {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: {
            const qint64 kod = row.value(0).toLongLong();
            const auto p = cache->value(kod, [&] { return resonance_tables::detuning(d->store(), kod); });
            return p ? numberText(*p) : QString();
        }
        case Qt::TextAlignmentRole:
            return int(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return {};
        }
    };
    c.write = [d](const QVector<QVariant> &row, const QString &text) {
        if (row.value(0).isNull())
            throw KorvanError(QStringLiteral("Сначала сохраните конденсаторную установку."));
        setTypeDetuning(*d, row.value(0).toLongLong(), text);
    };
    return c;
}

} // namespace korvan
