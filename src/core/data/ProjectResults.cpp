#include "core/data/ProjectResults.h"
#include "core/data/Fields.h"

#include "core/calc/CandidateEvaluation.h"
#include "core/calc/ProjectCalculation.h"
#include "core/data/AnalysisInputs.h"
#include "core/data/CatalogueVariants.h"
#include "core/data/ComputedInputs.h"
#include "core/data/ResonanceTables.h"
#include "core/data/Schema.h"
#include "core/data/Statement.h"
#include "core/data/Store.h"
#include "core/data/TTable.h"
#include "core/Messages.h"

#include <QHash>
#include <cstring>
#include <cmath>

namespace korvan {

namespace {

using Values = std::vector<std::optional<double>>;

// The derived fields of each table, in the order the rows below give their values.
const QStringList &periodFields()
{
    static const QStringList f{fld::S,  fld::I,  fld::Cosf,  fld::Tgf,   fld::Wa,
                               fld::Wq, fld::Ws, fld::PayWa, fld::PayWq, fld::PayWs};
    return f;
}

const QStringList &projectFields()
{
    static const QStringList f{fld::Wa,      fld::Wq,      fld::Ws,      fld::Psr,  fld::Qsr,  fld::Ssr,  fld::PayWa,
                               fld::PayWq,   fld::PayWs,   fld::Cosfe,   fld::Tgfe, fld::Wa_m, fld::Wq_m, fld::Ws_m,
                               fld::PayWa_m, fld::PayWq_m, fld::PayWs_m, fld::Wa_g, fld::Wq_g, fld::Ws_g, fld::PayWa_g,
                               fld::PayWq_g, fld::PayWs_g, fld::Qmin,    fld::Qmax};
    return f;
}

const QStringList &compensatedFields()
{
    static const QStringList f{fld::Q1,  fld::S,   fld::I,   fld::Cosf,   fld::Tgf,    fld::Wakp,
                               fld::Wak, fld::Wqk, fld::Wsk, fld::PayWak, fld::PayWqk, fld::PayWsk};
    return f;
}

const QStringList &variantFields()
{
    static const QStringList f{fld::Cosf_i,   fld::Tgf_i,    fld::Wakp,     fld::Wak,     fld::Wqk,     fld::Wsk,
                               fld::DWak,     fld::DWqk,     fld::DWsk,     fld::PayWak,  fld::PayWqk,  fld::PayWsk,
                               fld::DPayWak,  fld::DPayWqk,  fld::DPayWsk,  fld::Wp_m,    fld::Wq_m,    fld::Ws_m,
                               fld::DWp_m,    fld::DWq_m,    fld::DWs_m,    fld::PayWp_m, fld::PayWq_m, fld::PayWs_m,
                               fld::DPayWp_m, fld::DPayWq_m, fld::DPayWs_m, fld::Wp_g,    fld::Wq_g,    fld::Ws_g,
                               fld::DWp_g,    fld::DWq_g,    fld::DWs_g,    fld::PayWp_g, fld::PayWq_g, fld::PayWs_g,
                               fld::DPayWp_g, fld::DPayWq_g, fld::DPayWs_g, fld::Srok};
    return f;
}

Values periodRow(const PeriodValues &v)
{
    return {v.S, v.I, v.Cosf, v.Tgf, v.Wa, v.Wq, v.Ws, v.PayWa, v.PayWq, v.PayWs};
}

Values projectRow(const ProjectTotals &t)
{
    return {t.Wa,    t.Wq,   t.Ws,      t.Psr,     t.Qsr,     t.Ssr,     t.PayWa,   t.PayWq,   t.PayWs,
            t.Cosfe, t.Tgfe, t.Wa_m,    t.Wq_m,    t.Ws_m,    t.PayWa_m, t.PayWq_m, t.PayWs_m, t.Wa_g,
            t.Wq_g,  t.Ws_g, t.PayWa_g, t.PayWq_g, t.PayWs_g, t.Qmin,    t.Qmax};
}

Values compensatedRow(const CompensatedValues &v)
{
    return {v.Q1, v.S, v.I, v.Cosf, v.Tgf, v.Wakp, v.Wak, v.Wqk, v.Wsk, v.PayWak, v.PayWqk, v.PayWsk};
}

Values variantRow(const VariantTotals &t)
{
    return {t.Cosf_i,   t.Tgf_i,    t.Wakp,     t.Wak,     t.Wqk,      t.Wsk,      t.DWak,     t.DWqk,
            t.DWsk,     t.PayWak,   t.PayWqk,   t.PayWsk,  t.DPayWak,  t.DPayWqk,  t.DPayWsk,  t.Wp_m,
            t.Wq_m,     t.Ws_m,     t.DWp_m,    t.DWq_m,   t.DWs_m,    t.PayWp_m,  t.PayWq_m,  t.PayWs_m,
            t.DPayWp_m, t.DPayWq_m, t.DPayWs_m, t.Wp_g,    t.Wq_g,     t.Ws_g,     t.DWp_g,    t.DWq_g,
            t.DWs_g,    t.PayWp_g,  t.PayWq_g,  t.PayWs_g, t.DPayWp_g, t.DPayWq_g, t.DPayWs_g, t.Srok};
}

QString quotedList(const QStringList &fields)
{
    QStringList q;
    for (const QString &f : fields)
        q << QLatin1Char('"') + f + QLatin1Char('"');
    return q.join(QLatin1Char(','));
}

std::optional<double> optionalOf(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    return v.toDouble();
}

// A stored row: its key, its inputs (nulls read as 0) and its derived values as stored.
struct StoredRow {
    qint64 kod = 0;
    qint64 kod0 = 0;
    std::vector<double> inputs;
    QVariantList extra; // inputs that may be null or are not numbers, as stored
    Values derived;
};

// Reads the rows of a select whose columns are Kod, Kod0, the inputs, the extra columns and the
// derived fields, in that order.
std::vector<StoredRow> readRows(Store &store, const QString &sql, qint64 key, int inputs, int extra, int derived)
{
    Statement &q = store.prepared(sql);
    q.bind(0, key);
    std::vector<StoredRow> rows;
    while (q.next()) {
        StoredRow &r = rows.emplace_back();
        r.kod = q.column(0).toLongLong();
        r.kod0 = q.column(1).toLongLong();
        int c = 2;
        r.inputs.reserve(size_t(inputs));
        for (int i = 0; i < inputs; ++i)
            r.inputs.push_back(q.column(c++).toDouble());
        for (int i = 0; i < extra; ++i)
            r.extra << q.column(c++);
        r.derived.reserve(size_t(derived));
        for (int i = 0; i < derived; ++i)
            r.derived.push_back(optionalOf(q.column(c++)));
    }
    q.reset();
    return rows;
}

QString selectSql(const QString &table, const QStringList &inputs, const QStringList &extra, const QStringList &derived,
                  const QString &where)
{
    return QStringLiteral("SELECT \"Kod\",\"Kod0\",%1 FROM \"%2\" WHERE %3 ORDER BY \"Kod\"")
        .arg(quotedList(inputs + extra + derived), table, where);
}

bool sameValue(const std::optional<double> &a, const std::optional<double> &b)
{
    if (a.has_value() != b.has_value())
        return false;
    // Bit for bit, so that -0 and 0 or two NaNs are not taken for one another.
    return !a || std::memcmp(&*a, &*b, sizeof(double)) == 0;
}

// The rows of one table whose derived values changed, written with one prepared update.
class Writer {
public:
    Writer(Store &store, const QString &table, const QStringList &fields)
        : m_store(store), m_table(table), m_fields(fields)
    {
    }

    void write(qint64 kod, const Values &stored, const Values &computed)
    {
        for (size_t i = 0; i < computed.size(); ++i)
            if (computed[i] && !std::isfinite(*computed[i]))
                throw KorvanError(nonFiniteFieldMessage(m_table, m_fields[int(i)]));
        bool same = stored.size() == computed.size();
        for (size_t i = 0; same && i < computed.size(); ++i)
            same = sameValue(stored[i], computed[i]);
        if (same)
            return;
        if (!m_statement)
            m_statement = &m_store.prepared(
                QStringLiteral("UPDATE \"%1\" SET %2=? WHERE \"Kod\"=?")
                    .arg(m_table, quotedList(m_fields).replace(QLatin1Char(','), QStringLiteral("=?,"))));
        int i = 0;
        for (const std::optional<double> &v : computed)
            m_statement->bind(i++, v ? QVariant(*v) : QVariant());
        m_statement->bind(i, kod);
        m_statement->write();
        m_written = true;
    }

    // The cursors on the table read its rows again at their next use.
    void tellCursors()
    {
        if (!m_written)
            return;
        for (TTable *cursor : m_store.cursorsOn(tableDef(m_table)))
            cursor->changedElsewhere();
        m_store.advanceEpoch();
    }

private:
    Store &m_store;
    QString m_table;
    QStringList m_fields;
    Statement *m_statement = nullptr;
    bool m_written = false;
};

bool sameResonance(const ResonanceValues &a, const ResonanceValues &b)
{
    return sameValue(a.Hr_min, b.Hr_min) && sameValue(a.Hr_max, b.Hr_max) && sameValue(a.dU_max, b.dU_max) &&
           a.Resonance == b.Resonance && a.Hours_lead == b.Hours_lead;
}

const QStringList &candidateFields()
{
    static const QStringList f{fld::Qk,     fld::Qku_min, fld::Qku_max, fld::Cosf_sr, fld::Cosf_min, fld::Cosf_max,
                               fld::Tgf_sr, fld::DSWsk,   fld::DSWskm,  fld::DSWskg,  fld::Srok};
    return f;
}

// What an analysis row reads of its catalogue type, read once per type.
struct TypeInputs {
    bool exists = false;
    double Q = 0, Pp = 0;
    std::optional<double> Cena, detuning;
    ModuleList modules;
};

TypeInputs typeInputs(Store &store, qint64 typeKod)
{
    TypeInputs t;
    Statement &q = store.prepared(QStringLiteral("SELECT \"Q\",\"Pp\",\"Cena\" FROM \"sKU1.DB\" WHERE \"Kod\"=?"));
    q.bind(0, typeKod);
    if (q.next()) {
        t.exists = true;
        t.Q = q.column(0).toDouble();
        t.Pp = q.column(1).toDouble();
        t.Cena = optionalOf(q.column(2));
    }
    q.reset();
    std::vector<ModuleGroup> groups;
    for (const auto &[power, count] : catalogueModuleGroups(store, typeKod))
        groups.push_back({power, int(count)});
    BuildModuleList(groups, t.modules);
    t.detuning = resonance_tables::detuning(store, typeKod);
    return t;
}

// The project's analysis rows evaluated again over its graph, tariffs and totals as they now are,
// each with its own mode, cos(f) values and loss coefficient and its type as the catalogue now
// has it. A row whose type is gone from the catalogue, or whose evaluation no longer has a
// defined result, is left as it was.
void refreshAnalysisRows(Store &store, qint64 projectKod, const ProjectCalculationInput &in,
                         const std::optional<ProjectTotals> &totals)
{
    const std::vector<StoredRow> rows =
        readRows(store,
                 selectSql(tbl::sel_ku, {fld::KodKU1}, {fld::Rejim, fld::PCosf_min, fld::PCosf_max, fld::PCosf_tr},
                           candidateFields(), QStringLiteral("\"Kod0\"=?")),
                 projectKod, 1, 4, int(candidateFields().size()));
    if (rows.empty() || !totals)
        return;
    CandidateProject project;
    project.periods = in.periods;
    project.tariff = in.tariff;
    project.PayWs = totals->PayWs;
    project.PayWs_m = totals->PayWs_m;
    project.PayWs_g = totals->PayWs_g;
    project.supply = resonance_tables::supply(store, projectKod);
    const QHash<qint64, double> kps = candidateKps(store, projectKod);
    QHash<qint64, TypeInputs> types;
    Writer writer(store, tbl::sel_ku, candidateFields());
    for (const StoredRow &row : rows) {
        const qint64 typeKod = qint64(row.inputs[0]);
        auto type = types.find(typeKod);
        if (type == types.end())
            type = types.insert(typeKod, typeInputs(store, typeKod));
        const auto mode = selectionModeNumber(row.extra[0].toString());
        if (!type->exists || !mode)
            continue;
        CandidateSettings settings;
        settings.modules = type->modules;
        settings.Pp = type->Pp;
        settings.Cena = type->Cena;
        settings.Kp = kps.value(row.kod, DefaultKp);
        settings.mode = {*mode, optionalOf(row.extra[1]), optionalOf(row.extra[2]), optionalOf(row.extra[3])};
        const CandidateOutcome outcome = evaluateCandidate(project, settings);
        if (!outcome.values)
            continue;
        const CandidateValues &v = *outcome.values;
        writer.write(row.kod, row.derived,
                     {type->Q, v.Qku_min, v.Qku_max, v.Cosf_sr, v.Cosf_min, v.Cosf_max, v.Tgf_sr, v.DSWsk, v.DSWskm,
                      v.DSWskg, v.Srok});
        const ResonanceValues resonance = computeResonance(project.supply, type->detuning, v.periods);
        if (!sameResonance(resonance, resonance_tables::candidateValues(store, row.kod)))
            resonance_tables::setCandidateValues(store, row.kod, resonance);
    }
    writer.tellCursors();
}

// The project's results, or only those of one of its variants: a new or rebuilt variant changes
// nothing else, and the project's stored totals are its savings' base.
void refresh(Store &store, qint64 projectKod, std::optional<qint64> onlyVariant)
{
    Store::Transaction tx(store);

    // The project: its tariffs and day counts, and its totals as stored.
    const QStringList tariffFields{fld::Tarif_a, fld::Tarif_q, fld::MonthDay, fld::YearDay};
    Statement &pq = store.prepared(QStringLiteral("SELECT %1,%2 FROM \"project0.db\" WHERE \"Kod\"=?")
                                       .arg(quotedList(tariffFields), quotedList(projectFields())));
    pq.bind(0, projectKod);
    if (!pq.next()) {
        pq.reset();
        tx.commit();
        return;
    }
    ProjectCalculationInput in;
    in.tariff = {pq.column(0).toDouble(), pq.column(1).toDouble(), int(pq.column(2).toLongLong()),
                 int(pq.column(3).toLongLong())};
    Values storedTotals;
    for (int i = 0; i < projectFields().size(); ++i)
        storedTotals.push_back(optionalOf(pq.column(4 + i)));
    pq.reset();
    const auto total = [&](const QString &field) { return storedTotals[size_t(projectFields().indexOf(field))]; };
    in.stored = {total(fld::Wa),      total(fld::Wq),      total(fld::Ws),     total(fld::PayWa), total(fld::PayWq),
                 total(fld::PayWs),   total(fld::Wa_m),    total(fld::Wq_m),   total(fld::Ws_m),  total(fld::PayWa_m),
                 total(fld::PayWq_m), total(fld::PayWs_m), total(fld::Wa_g),   total(fld::Wq_g),  total(fld::Ws_g),
                 total(fld::PayWa_g), total(fld::PayWq_g), total(fld::PayWs_g)};

    const QStringList graph{fld::T1, fld::T2, fld::P, fld::Q};
    const std::vector<StoredRow> periods =
        onlyVariant ? std::vector<StoredRow>()
                    : readRows(store, selectSql(tbl::project1, graph, {}, periodFields(), QStringLiteral("\"Kod0\"=?")),
                               projectKod, 4, 0, int(periodFields().size()));
    for (const StoredRow &r : periods)
        in.periods.push_back({r.inputs[0], r.inputs[1], r.inputs[2], r.inputs[3]});

    const std::vector<StoredRow> variants =
        readRows(store,
                 selectSql(tbl::project2, {fld::Pp, fld::Kp}, {fld::Cena, fld::Srok, fld::KodKU1}, variantFields(),
                           onlyVariant ? QStringLiteral("\"Kod\"=?") : QStringLiteral("\"Kod0\"=?")),
                 onlyVariant.value_or(projectKod), 2, 3, int(variantFields().size()));
    const std::vector<StoredRow> compensated = readRows(
        store,
        selectSql(tbl::project3, graph + QStringList{fld::Qku}, {}, compensatedFields(),
                  onlyVariant ? QStringLiteral("\"Kod0\"=?")
                              : QStringLiteral("\"Kod0\" IN (SELECT \"Kod\" FROM \"project2.db\" WHERE \"Kod0\"=?)")),
        onlyVariant.value_or(projectKod), 5, 0, int(compensatedFields().size()));
    QHash<qint64, std::vector<const StoredRow *>> periodsOfVariant;
    for (const StoredRow &r : compensated)
        periodsOfVariant[r.kod0].push_back(&r);
    for (const StoredRow &v : variants) {
        VariantCalculationInput &vi = in.variants.emplace_back();
        vi.variant = {v.inputs[0], v.inputs[1], optionalOf(v.extra[0]), optionalOf(v.extra[1])};
        for (const StoredRow *r : periodsOfVariant.value(v.kod))
            vi.periods.push_back({{r->inputs[0], r->inputs[1], r->inputs[2], r->inputs[3]}, r->inputs[4]});
    }

    const ProjectCalculation out = calculateProject(in);

    Writer periodWriter(store, tbl::project1, periodFields());
    for (size_t i = 0; i < periods.size(); ++i)
        periodWriter.write(periods[i].kod, periods[i].derived, periodRow(out.periods[i]));
    Writer projectWriter(store, tbl::project0, projectFields());
    if (out.totals)
        projectWriter.write(projectKod, storedTotals, projectRow(*out.totals));
    Writer compensatedWriter(store, tbl::project3, compensatedFields());
    Writer variantWriter(store, tbl::project2, variantFields());
    for (size_t v = 0; v < variants.size(); ++v) {
        const std::vector<const StoredRow *> &rows = periodsOfVariant[variants[v].kod];
        const VariantCalculation &result = out.variants[v];
        std::vector<ResonancePeriod> resonance;
        resonance.reserve(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            compensatedWriter.write(rows[i]->kod, rows[i]->derived, compensatedRow(result.periods[i]));
            resonance.push_back({rows[i]->inputs[0], rows[i]->inputs[1], rows[i]->inputs[4], result.periods[i].Q1});
        }
        if (result.totals)
            variantWriter.write(variants[v].kod, variants[v].derived, variantRow(*result.totals));
        const ResonanceValues check =
            resonance_tables::computeVariant(store, projectKod, variants[v].extra[2], resonance);
        if (!sameResonance(check, resonance_tables::variantValues(store, variants[v].kod)))
            resonance_tables::storeVariantValues(store, variants[v].kod, check);
    }
    for (Writer *w : {&periodWriter, &projectWriter, &compensatedWriter, &variantWriter})
        w->tellCursors();
    if (!onlyVariant)
        refreshAnalysisRows(store, projectKod, in, out.totals);
    tx.commit();
}

} // namespace

void refreshProjectResults(Store &store, qint64 projectKod) { refresh(store, projectKod, std::nullopt); }

void setCompensatedResults(TTable &period, const CompensatedValues &values)
{
    const Values row = compensatedRow(values);
    for (int i = 0; i < compensatedFields().size(); ++i)
        period.setOptional(compensatedFields()[i], row[size_t(i)]);
}

void refreshVariantResults(Store &store, qint64 projectKod, qint64 variantKod)
{
    refresh(store, projectKod, variantKod);
}

void refreshProjectResults(Store &store, const QList<qint64> &projectKods)
{
    Store::Transaction tx(store);
    for (qint64 kod : projectKods)
        refreshProjectResults(store, kod);
    tx.commit();
}

void refreshAllProjectResults(Store &store)
{
    QList<qint64> kods;
    Statement &q = store.prepared(QStringLiteral("SELECT \"Kod\" FROM \"project0.db\" ORDER BY \"Kod\""));
    while (q.next())
        kods << q.column(0).toLongLong();
    q.reset();
    refreshProjectResults(store, kods);
}

} // namespace korvan
