#include "Records.h"

#include "TTable.h"

namespace korvan {

namespace {

struct PeriodPositions {
    int t1, t2, p, q;
    explicit PeriodPositions(const TTable &t)
        : t1(t.fieldIndex(QStringLiteral("T1"))), t2(t.fieldIndex(QStringLiteral("T2"))),
          p(t.fieldIndex(QStringLiteral("P"))), q(t.fieldIndex(QStringLiteral("Q")))
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

TariffInput tariffOf(const TTable &project)
{
    TariffInput t;
    t.Tarif_a = project.asFloat(QStringLiteral("Tarif_a"));
    t.Tarif_q = project.asFloat(QStringLiteral("Tarif_q"));
    t.MonthDay = int(project.asInteger(QStringLiteral("MonthDay")));
    t.YearDay = int(project.asInteger(QStringLiteral("YearDay")));
    return t;
}

} // namespace korvan
