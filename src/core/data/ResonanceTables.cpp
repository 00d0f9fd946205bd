#include "core/data/ResonanceTables.h"
#include "core/data/Fields.h"

#include "core/data/Engine.h"
#include "core/data/Statement.h"
#include "core/data/Store.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <stdexcept>
#include <vector>

namespace korvan::resonance_tables {

namespace {

using Value = Engine::Value;

struct Column {
    const char *name;
    Value type;
    bool required;
};

// The tables that stand beside the program's own, one row for a row of its owner (Kod0 = owner's Kod).
struct ExtraTable {
    QString name;
    QString owner;
    std::vector<Column> columns;
};

const std::vector<Column> ValueColumns{{"Hr_min", Value::Real, false},
                                       {"Hr_max", Value::Real, false},
                                       {"Resonance", Value::Text, false},
                                       {"dU_max", Value::Real, false},
                                       {"Hours_lead", Value::Real, false}};

const std::vector<ExtraTable> &extraTables()
{
    static const std::vector<ExtraTable> tables{
        {"supply.db",
         tbl::project0,
         {{"Str", Value::Real, true},
          {"Uk", Value::Real, true},
          {"Ssc_net", Value::Real, false},
          {"Harmonics", Value::Text, true}}},
        {"sKU1_detuning.db", tbl::sKU1, {{"Detuning", Value::Real, false}}},
        {"project2_harmonics.db", tbl::project2, ValueColumns},
        {"sel_ku_harmonics.db", tbl::sel_ku, ValueColumns},
        {"report_resonance.db", tbl::report, {{"Resonance", Value::Integer, true}}},
    };
    return tables;
}

const ExtraTable &extraTable(const QString &name)
{
    for (const ExtraTable &t : extraTables())
        if (name == t.name)
            return t;
    throw std::logic_error("unknown table");
}

// A row of a new table that goes with a row of one of the program's tables.
void createTable(Store &store, const ExtraTable &table)
{
    Engine &engine = store.engine();
    QStringList columns;
    for (const Column &c : table.columns)
        columns << QStringLiteral("\"%1\" %2%3")
                       .arg(QLatin1String(c.name), engine.valueType(c.type),
                            c.required ? QStringLiteral(" NOT NULL") : QString());
    store.exec(QStringLiteral("CREATE TABLE \"%1\" (\"Kod0\" %2 PRIMARY KEY, %3)")
                   .arg(table.name, engine.valueType(Value::Integer), columns.join(QStringLiteral(", "))));
    engine.createDeleteTrigger(table.name + QStringLiteral(":delete"), table.owner, fld::Kod, table.name, fld::Kod0);
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
    store.forgetRemembered(table);
    if (values.isEmpty()) {
        Statement &q = store.prepared(QStringLiteral("DELETE FROM \"%1\" WHERE \"Kod0\" = ?").arg(table));
        q.bind(0, kod);
        q.write();
        return;
    }
    // Both engines read this upsert alike.
    QStringList names, updates;
    for (const Column &c : extraTable(table).columns) {
        names << QStringLiteral("\"%1\"").arg(QLatin1String(c.name));
        updates << QStringLiteral("\"%1\"=excluded.\"%1\"").arg(QLatin1String(c.name));
    }
    Q_ASSERT(names.size() == values.size());
    Statement &q =
        store.prepared(QStringLiteral("INSERT INTO \"%1\" (\"Kod0\", %2) VALUES (?%3) "
                                      "ON CONFLICT (\"Kod0\") DO UPDATE SET %4")
                           .arg(table, names.join(QStringLiteral(", ")), QStringLiteral(", ?").repeated(values.size()),
                                updates.join(QStringLiteral(", "))));
    q.bind(0, kod);
    for (int i = 0; i < values.size(); ++i)
        q.bind(i + 1, values[i]);
    q.write();
}

ResonanceValues readValues(Store &store, const QString &table, qint64 kod)
{
    Statement &q =
        store.prepared(QStringLiteral("SELECT \"Hr_min\", \"Hr_max\", \"Resonance\", \"dU_max\", \"Hours_lead\" "
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
    for (const ExtraTable &t : extraTables())
        createTable(store, t);
}

std::optional<SupplyData> supply(Store &store, qint64 projectKod)
{
    const QString table = QStringLiteral("supply.db");
    if (const std::any *kept = store.remembered(table, projectKod))
        return std::any_cast<std::optional<SupplyData>>(*kept);
    Statement &q = store.prepared(
        QStringLiteral("SELECT \"Str\", \"Uk\", \"Ssc_net\", \"Harmonics\" FROM \"supply.db\" WHERE \"Kod0\" = ?"));
    q.bind(0, projectKod);
    std::optional<SupplyData> out;
    if (q.next()) {
        SupplyData s;
        s.Str = q.column(0).toDouble();
        s.Uk = q.column(1).toDouble();
        s.Ssc_net = toOptional(q.column(2));
        s.Harmonics = parseHarmonics(q.column(3).toString()).value_or(std::vector<int>{});
        q.reset();
        out = s;
    }
    store.remember(table, projectKod, out);
    return out;
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
    // Inside a command every detuning is read at once, the first time one is asked for: the
    // table is small, and on a server each read waits for everything the command has sent.
    const QString table = QStringLiteral("sKU1_detuning.db");
    constexpr qint64 AllRead = 0; // no type has the key 0
    if (store.transactionDepth() > 0) {
        if (!store.remembered(table, AllRead)) {
            const QHash<qint64, double> all = detunings(store);
            for (auto it = all.cbegin(); it != all.cend(); ++it)
                store.remember(table, it.key(), std::optional<double>(it.value()));
            store.remember(table, AllRead, true);
        }
        const std::any *kept = store.remembered(table, typeKod);
        return kept ? std::any_cast<std::optional<double>>(*kept) : std::nullopt;
    }
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

QHash<qint64, double> detunings(Store &store)
{
    Statement &q = store.prepared(QStringLiteral("SELECT \"Kod0\", \"Detuning\" FROM \"sKU1_detuning.db\""));
    QHash<qint64, double> out;
    while (q.next())
        if (const auto d = toOptional(q.column(1)); d && *d != 0)
            out.insert(q.column(0).toLongLong(), *d);
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
    Statement &variant =
        store.prepared(QStringLiteral("SELECT \"Kod0\", \"KodKU1\" FROM \"project2.db\" WHERE \"Kod\" = ?"));
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
        periods.push_back(
            {q.column(0).toDouble(), q.column(1).toDouble(), q.column(2).toDouble(), q.column(3).toDouble()});
    return computeVariant(store, projectKod, typeKod, periods, detuningOut);
}

ResonanceValues computeVariant(Store &store, qint64 projectKod, const QVariant &typeKod,
                               const std::vector<ResonancePeriod> &periods, std::optional<double> *detuningOut)
{
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

void storeVariantValues(Store &store, qint64 variantKod, const ResonanceValues &values)
{
    writeValues(store, QStringLiteral("project2_harmonics.db"), variantKod, values);
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
    Statement &q =
        store.prepared(QStringLiteral("SELECT \"Resonance\" FROM \"report_resonance.db\" WHERE \"Kod0\" = ?"));
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
