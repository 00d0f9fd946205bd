#include "ResonanceTables.h"
#include "data/Fields.h"

#include "Statement.h"
#include "Store.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace korvan::resonance_tables {

namespace {

const char *const ValueColumns = "\"Hr_min\" REAL, \"Hr_max\" REAL, \"Resonance\" TEXT, \"dU_max\" REAL, "
                                 "\"Hours_lead\" REAL";

// A row of a new table that goes with a row of one of the program's tables.
void createTable(Store &store, const QString &table, const QString &owner, const QString &columns)
{
    store.exec(QStringLiteral("CREATE TABLE \"%1\" (\"Kod0\" INTEGER PRIMARY KEY, %2)").arg(table, columns));
    store.exec(QStringLiteral("CREATE TRIGGER \"%1:delete\" AFTER DELETE ON \"%2\" "
                              "BEGIN DELETE FROM \"%1\" WHERE \"Kod0\" = OLD.\"Kod\"; END")
                   .arg(table, owner));
}

QVariant toVariant(const std::optional<double> &v) { return v ? QVariant(*v) : QVariant(); }
std::optional<double> toOptional(const QVariant &v)
{
    if (v.isNull())
        return std::nullopt;
    return v.toDouble();
}

QVariant resonanceText(const std::optional<std::vector<int>> &orders)
{
    if (!orders)
        return QVariant();
    return harmonicsText(*orders);
}

// Stores the row of a table that goes with the row kod of its owner; no values delete it.
void writeRow(Store &store, const QString &table, qint64 kod, const QVariantList &values)
{
    if (values.isEmpty()) {
        Statement &q = store.prepared(QStringLiteral("DELETE FROM \"%1\" WHERE \"Kod0\" = ?").arg(table));
        q.bind(0, kod);
        q.run();
        return;
    }
    Statement &q = store.prepared(QStringLiteral("INSERT OR REPLACE INTO \"%1\" VALUES (?%2)")
                                      .arg(table, QStringLiteral(", ?").repeated(values.size())));
    q.bind(0, kod);
    for (int i = 0; i < values.size(); ++i)
        q.bind(i + 1, values[i]);
    q.run();
}

ResonanceValues readValues(Store &store, const QString &table, qint64 kod)
{
    Statement &q = store.prepared(QStringLiteral("SELECT \"Hr_min\", \"Hr_max\", \"Resonance\", \"dU_max\", \"Hours_lead\" "
                                                 "FROM \"%1\" WHERE \"Kod0\" = ?")
                                      .arg(table));
    q.bind(0, kod);
    ResonanceValues v;
    if (q.next()) {
        v.Hr_min = toOptional(q.column(0));
        v.Hr_max = toOptional(q.column(1));
        if (!q.column(2).isNull())
            v.Resonance = parseHarmonics(q.column(2).toString()).value_or(std::vector<int>{});
        v.dU_max = toOptional(q.column(3));
        v.Hours_lead = q.column(4).toDouble();
    }
    q.reset();
    return v;
}

void writeValues(Store &store, const QString &table, qint64 kod, const ResonanceValues &v)
{
    writeRow(store, table, kod,
             {toVariant(v.Hr_min), toVariant(v.Hr_max), resonanceText(v.Resonance), toVariant(v.dU_max), v.Hours_lead});
}

QList<qint64> kods(Store &store, const QString &sql, qint64 key)
{
    Statement &q = store.prepared(sql);
    q.bind(0, key);
    QList<qint64> out;
    while (q.next())
        out << q.column(0).toLongLong();
    return out;
}

} // namespace

void create(Store &store)
{
    createTable(store, QStringLiteral("supply.db"), tbl::project0,
                QStringLiteral("\"Str\" REAL NOT NULL, \"Uk\" REAL NOT NULL, \"Ssc_net\" REAL, \"Harmonics\" TEXT NOT NULL"));
    createTable(store, QStringLiteral("sKU1_detuning.db"), tbl::sKU1, QStringLiteral("\"Detuning\" REAL"));
    createTable(store, QStringLiteral("project2_harmonics.db"), tbl::project2, QLatin1String(ValueColumns));
    createTable(store, QStringLiteral("sel_ku_harmonics.db"), tbl::sel_ku, QLatin1String(ValueColumns));
    createTable(store, QStringLiteral("report_resonance.db"), tbl::report,
                QStringLiteral("\"Resonance\" INTEGER NOT NULL"));
}

std::optional<SupplyData> supply(Store &store, qint64 projectKod)
{
    Statement &q = store.prepared(
        QStringLiteral("SELECT \"Str\", \"Uk\", \"Ssc_net\", \"Harmonics\" FROM \"supply.db\" WHERE \"Kod0\" = ?"));
    q.bind(0, projectKod);
    if (!q.next())
        return std::nullopt;
    SupplyData s;
    s.Str = q.column(0).toDouble();
    s.Uk = q.column(1).toDouble();
    s.Ssc_net = toOptional(q.column(2));
    s.Harmonics = parseHarmonics(q.column(3).toString()).value_or(std::vector<int>{});
    q.reset();
    return s;
}

void setSupply(Store &store, qint64 projectKod, const std::optional<SupplyData> &supply)
{
    if (!supply)
        writeRow(store, QStringLiteral("supply.db"), projectKod, {});
    else
        writeRow(store, QStringLiteral("supply.db"), projectKod,
                 {supply->Str, supply->Uk, toVariant(supply->Ssc_net), harmonicsText(supply->Harmonics)});
}

std::optional<double> detuning(Store &store, qint64 typeKod)
{
    Statement &q = store.prepared(QStringLiteral("SELECT \"Detuning\" FROM \"sKU1_detuning.db\" WHERE \"Kod0\" = ?"));
    q.bind(0, typeKod);
    std::optional<double> out;
    if (q.next())
        out = toOptional(q.column(0));
    q.reset();
    if (out && *out == 0)
        out.reset();
    return out;
}

void setDetuning(Store &store, qint64 typeKod, std::optional<double> detuning)
{
    const bool detuned = detuning && *detuning != 0;
    writeRow(store, QStringLiteral("sKU1_detuning.db"), typeKod, detuned ? QVariantList{*detuning} : QVariantList{});
}

ResonanceValues variantValues(Store &store, qint64 variantKod)
{
    return readValues(store, QStringLiteral("project2_harmonics.db"), variantKod);
}

ResonanceValues candidateValues(Store &store, qint64 rowKod)
{
    return readValues(store, QStringLiteral("sel_ku_harmonics.db"), rowKod);
}

void setCandidateValues(Store &store, qint64 rowKod, const ResonanceValues &values)
{
    writeValues(store, QStringLiteral("sel_ku_harmonics.db"), rowKod, values);
}

ResonanceValues computeVariant(Store &store, qint64 variantKod, std::optional<double> *detuningOut)
{
    Statement &variant = store.prepared(QStringLiteral("SELECT \"Kod0\", \"KodKU1\" FROM \"project2.db\" WHERE \"Kod\" = ?"));
    variant.bind(0, variantKod);
    if (!variant.next())
        return {};
    const qint64 projectKod = variant.column(0).toLongLong();
    const QVariant typeKod = variant.column(1);
    variant.reset();

    Statement &q = store.prepared(QStringLiteral("SELECT \"T1\", \"T2\", \"Qku\", \"Q1\" FROM \"project3.DB\" "
                                                 "WHERE \"Kod0\" = ? ORDER BY \"Kod\""));
    q.bind(0, variantKod);
    std::vector<ResonancePeriod> periods;
    while (q.next())
        periods.push_back({q.column(0).toDouble(), q.column(1).toDouble(), q.column(2).toDouble(), q.column(3).toDouble()});
    const auto p = typeKod.isNull() ? std::nullopt : detuning(store, typeKod.toLongLong());
    if (detuningOut)
        *detuningOut = p;
    return computeResonance(supply(store, projectKod), p, periods);
}

void refreshVariant(Store &store, qint64 variantKod)
{
    if (variantKod <= 0)
        return;
    writeValues(store, QStringLiteral("project2_harmonics.db"), variantKod, computeVariant(store, variantKod));
}

void refreshProject(Store &store, qint64 projectKod)
{
    for (qint64 kod : kods(store, QStringLiteral("SELECT \"Kod\" FROM \"project2.db\" WHERE \"Kod0\" = ?"), projectKod))
        refreshVariant(store, kod);
}

void refreshVariantsOfType(Store &store, qint64 typeKod)
{
    for (qint64 kod : kods(store, QStringLiteral("SELECT \"Kod\" FROM \"project2.db\" WHERE \"KodKU1\" = ?"), typeKod))
        refreshVariant(store, kod);
}

bool reportFlag(Store &store, qint64 settingsKod)
{
    Statement &q = store.prepared(QStringLiteral("SELECT \"Resonance\" FROM \"report_resonance.db\" WHERE \"Kod0\" = ?"));
    q.bind(0, settingsKod);
    bool on = false;
    if (q.next())
        on = q.column(0).toLongLong() != 0;
    q.reset();
    return on;
}

void setReportFlag(Store &store, qint64 settingsKod, bool on)
{
    writeRow(store, QStringLiteral("report_resonance.db"), settingsKod, {on ? 1 : 0});
}

QString harmonicsText(const std::vector<int> &orders)
{
    QStringList parts;
    for (int n : orders)
        parts << QString::number(n);
    return parts.join(QStringLiteral(", "));
}

std::optional<std::vector<int>> parseHarmonics(const QString &text)
{
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    std::vector<int> out;
    for (const QString &part : text.split(separators, Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = part.toInt(&ok);
        if (!ok)
            return std::nullopt;
        out.push_back(n);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

} // namespace korvan::resonance_tables
