#include "core/project/EconomicsCommands.h"
#include "core/data/Fields.h"

#include "core/calc/AnalysisRules.h"
#include "core/calc/Numbers.h"
#include "core/compensation/AnalysisTable.h"
#include "core/data/Statement.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/NumericChecks.h"

#include <cmath>

namespace korvan {

namespace {

// A project's economics replace the ones it had (both engines read this upsert alike).
const char *const EconomicsUpdate = "\"Rate\"=excluded.\"Rate\", \"Life\"=excluded.\"Life\", "
                                    "\"Maint\"=excluded.\"Maint\", \"Mont\"=excluded.\"Mont\"";

struct FieldRange {
    double low, high;
};

FieldRange rangeOf(EconomicInput::Field field)
{
    switch (field) {
    case EconomicInput::Rate:
        return {0, 100};
    case EconomicInput::Life:
        return {1, 40};
    case EconomicInput::Maint:
        return {0, 20};
    case EconomicInput::Mont:
        return {0, 100};
    }
    return {0, 0};
}

const QString &textOf(const EconomicInput &input, EconomicInput::Field field)
{
    switch (field) {
    case EconomicInput::Rate:
        return input.rate;
    case EconomicInput::Life:
        return input.life;
    case EconomicInput::Maint:
        return input.maint;
    case EconomicInput::Mont:
        return input.mont;
    }
    return input.rate;
}

std::optional<double> optionalIn(const TTable::Row &row, int position)
{
    const QVariant &v = row[position];
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    return v.toDouble();
}

StoredCandidate candidateOf(const TTable &table, const TTable::Row &row)
{
    const auto at = [&](const QString &field) { return optionalIn(row, table.fieldIndex(field)); };
    StoredCandidate c;
    c.Rejim = row[table.fieldIndex(fld::Rejim)].toString();
    c.Cosf_sr = at(fld::Cosf_sr);
    c.Cosf_min = at(fld::Cosf_min);
    c.Cosf_max = at(fld::Cosf_max);
    c.PCosf_min = at(fld::PCosf_min);
    c.PCosf_max = at(fld::PCosf_max);
    return c;
}

} // namespace

EconomicInput EconomicInput::of(const EconomicParams &p)
{
    return {numberText(p.Rate), QString::number(p.Life), numberText(p.Maint), numberText(p.Mont)};
}

QString economicFieldCaption(EconomicInput::Field field)
{
    switch (field) {
    case EconomicInput::Rate:
        return QStringLiteral("Ставка дисконтирования, % в год");
    case EconomicInput::Life:
        return QStringLiteral("Срок службы установки, лет");
    case EconomicInput::Maint:
        return QStringLiteral("Ежегодное обслуживание, % от цены");
    case EconomicInput::Mont:
        return QStringLiteral("Монтаж и наладка, % от цены");
    }
    return {};
}

std::optional<InputProblem> checkEconomicInput(const EconomicInput &input)
{
    for (const auto field : {EconomicInput::Rate, EconomicInput::Life, EconomicInput::Maint, EconomicInput::Mont}) {
        const QString &text = textOf(input, field);
        const QString caption = economicFieldCaption(field);
        if (auto message = numberProblem(text, QStringLiteral("поля \"%1\"").arg(caption)))
            return InputProblem{field, *message};
        const double v = numberValue(text);
        if (field == EconomicInput::Life && v != std::floor(v))
            return InputProblem{
                field,
                QStringLiteral("Значение поля \"%1\" должно быть целым числом, а не \"%2\".").arg(caption, text)};
        const FieldRange range = rangeOf(field);
        if (!(v >= range.low && v <= range.high))
            return InputProblem{field, QStringLiteral("Значение поля \"%1\" должно быть в пределах от %2 до %3.")
                                           .arg(caption, numberText(range.low), numberText(range.high))};
    }
    return std::nullopt;
}

EconomicParams economicParams(const EconomicInput &input)
{
    EconomicParams p;
    p.Rate = numberValue(input.rate);
    p.Life = int(numberValue(input.life));
    p.Maint = numberValue(input.maint);
    p.Mont = numberValue(input.mont);
    return p;
}

EconomicParams projectEconomics(Store &store, qint64 projectKod)
{
    Statement &q = store.prepared(
        QStringLiteral("SELECT \"Rate\", \"Life\", \"Maint\", \"Mont\" FROM \"econom.db\" WHERE \"Kod0\"=?"));
    q.bind(0, projectKod);
    EconomicParams p;
    if (q.next()) {
        p.Rate = q.column(0).toDouble();
        p.Life = q.column(1).toInt();
        p.Maint = q.column(2).toDouble();
        p.Mont = q.column(3).toDouble();
    }
    q.reset();
    return p;
}

EconomicParams currentEconomics(const TDataModule1 &data)
{
    return projectEconomics(data.store(), data.tblProj0->currentKod());
}

void setProjectEconomics(TDataModule1 &data, const EconomicInput &input)
{
    if (data.tblProj0->isEmpty())
        throw KorvanError(QStringLiteral("Нет текущего проекта."));
    throwIf(checkEconomicInput(input));
    const EconomicParams p = economicParams(input);
    Store &store = data.store();
    {
        Store::Transaction tx(store);
        Statement &q =
            store.prepared(QStringLiteral("INSERT INTO \"econom.db\" "
                                          "(\"Kod0\", \"Rate\", \"Life\", \"Maint\", \"Mont\") VALUES (?, ?, ?, ?, ?) "
                                          "ON CONFLICT (\"Kod0\") DO UPDATE SET %1")
                               .arg(QLatin1String(EconomicsUpdate)));
        q.bind(0, data.tblProj0->currentKod());
        q.bind(1, p.Rate);
        q.bind(2, p.Life);
        q.bind(3, p.Maint);
        q.bind(4, p.Mont);
        q.run();
        tx.commit();
    }
    // The figures are computed as they are read: re-reading shows them, and re-sorts by them.
    data.tblProj2->refresh();
    data.tblSel_KU->refresh();
}

void copyProjectEconomics(Store &store, qint64 sourceKod, qint64 copyKod)
{
    // The key is cast: the server does not guess a parameter's type in a select list.
    Statement &q = store.prepared(QStringLiteral("INSERT INTO \"econom.db\" "
                                                 "SELECT CAST(? AS BIGINT), \"Rate\", \"Life\", \"Maint\", \"Mont\" "
                                                 "FROM \"econom.db\" WHERE \"Kod0\"=? "
                                                 "ON CONFLICT (\"Kod0\") DO UPDATE SET %1")
                                      .arg(QLatin1String(EconomicsUpdate)));
    q.bind(0, copyKod);
    q.bind(1, sourceKod);
    q.run();
}

EconomicFigures variantEconomics(const TTable &variants, const TTable::Row &row, const EconomicParams &params)
{
    return economicFigures(optionalIn(row, variants.fieldIndex(fld::Cena)),
                           optionalIn(row, variants.fieldIndex(fld::DPayWs_g)), params);
}

EconomicFigures currentVariantEconomics(const TDataModule1 &data)
{
    const TTable &variants = *data.tblProj2;
    if (variants.isEmpty())
        return {};
    return variantEconomics(variants, variants.currentRow(), currentEconomics(data));
}

EconomicFigures candidateEconomics(Store &store, const TTable &table, const TTable::Row &row,
                                   const EconomicParams &params)
{
    Statement &q = store.prepared(QStringLiteral("SELECT \"Cena\" FROM \"sKU1.DB\" WHERE \"Kod\"=?"));
    q.bind(0, row[table.fieldIndex(fld::KodKU1)]);
    std::optional<double> price;
    if (q.next() && !q.column(0).isNull())
        price = q.column(0).toDouble();
    q.reset();
    return economicFigures(price, optionalIn(row, table.fieldIndex(fld::DSWskg)), params);
}

void installNpvOrder(TDataModule1 &data)
{
    TTable *table = data.tblSel_KU;
    Store *store = &data.store();
    const int project = table->fieldIndex(fld::Kod0);
    table->addComputedOrder(
        QLatin1String(NpvSortIndex),
        [store, table, project](const TTable::Row &row) {
            const EconomicParams params = projectEconomics(*store, row[project].toLongLong());
            return candidateEconomics(*store, *table, row, params).NPV;
        },
        true);
}

QString noNpvOptimumMessage()
{
    return QStringLiteral(
        "Нет строк с рассчитанным ЧДД, удовлетворяющих критериям по среднесуточному значению cos(f).");
}

std::optional<qint64> gotoNpvOptimum(TDataModule1 &data)
{
    ensureAnalysisRestricted(data);
    TTable &table = *data.tblSel_KU;
    const EconomicParams params = currentEconomics(data);
    std::optional<qint64> best;
    double bestNpv = 0;
    for (const TTable::Row &row : table.rows()) {
        if (failsDailyCriteria(candidateOf(table, row)))
            continue;
        const std::optional<double> npv = candidateEconomics(data.store(), table, row, params).NPV;
        // Strictly larger: on a tie the first in the current order stays.
        if (npv && (!best || *npv > bestNpv)) {
            best = row[0].toLongLong();
            bestNpv = *npv;
        }
    }
    if (best)
        table.locate(fld::Kod, *best);
    return best;
}

} // namespace korvan
