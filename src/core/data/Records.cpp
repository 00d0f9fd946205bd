#include "core/data/Records.h"
#include "core/data/Fields.h"

#include "core/data/TTable.h"

namespace korvan {

namespace {

struct PeriodPositions {
    int t1, t2, p, q;
    explicit PeriodPositions(const TTable &t)
        : t1(t.fieldIndex(fld::T1)), t2(t.fieldIndex(fld::T2)), p(t.fieldIndex(fld::P)), q(t.fieldIndex(fld::Q))
    {
    }
};

double numberIn(const TTable::Row &row, int position)
{
    const QVariant &v = row[position];
    return v.isNull() ? 0.0 : v.toDouble();
}

} // namespace

LoadPeriod loadPeriodAt(const TTable &periods)
{
    const PeriodPositions at(periods);
    return {periods.asFloat(at.t1), periods.asFloat(at.t2), periods.asFloat(at.p), periods.asFloat(at.q)};
}

QList<LoadPeriod> loadPeriodsOf(const TTable &periods)
{
    const PeriodPositions at(periods);
    QList<LoadPeriod> out;
    const auto &rows = periods.rows();
    out.reserve(rows.size());
    for (const TTable::Row &row : rows)
        out.append({numberIn(row, at.t1), numberIn(row, at.t2), numberIn(row, at.p), numberIn(row, at.q)});
    return out;
}

void setLoadPeriod(TTable &periods, const LoadPeriod &period)
{
    periods.setValue(fld::T1, period.T1);
    periods.setValue(fld::T2, period.T2);
    periods.setValue(fld::P, period.P);
    periods.setValue(fld::Q, period.Q);
}

TariffInput tariffOf(const TTable &project)
{
    TariffInput t;
    t.Tarif_a = project.asFloat(fld::Tarif_a);
    t.Tarif_q = project.asFloat(fld::Tarif_q);
    t.MonthDay = int(project.asInteger(fld::MonthDay));
    t.YearDay = int(project.asInteger(fld::YearDay));
    return t;
}

} // namespace korvan
