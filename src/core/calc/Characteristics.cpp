#include "core/calc/Characteristics.h"

#include "core/calc/Numbers.h"

#include <algorithm>
#include <cmath>

namespace korvan {

std::optional<double> roundedRatio(double a, double b, int d)
{
    if (b == 0.0)
        return std::nullopt;
    const double q = a / b;
    if (!std::isfinite(q))
        return std::nullopt;
    return R(q, d);
}

double apparentPower(double P, double Q) { return R(std::sqrt(P * P + Q * Q), 2); }

double lineCurrent(double S) { return R(S / std::sqrt(3.0) / kLineVoltage, 2); }

PeriodValues computePeriod(const LoadPeriod &in, const TariffInput &tariff)
{
    PeriodValues v;
    const double t = in.T2 - in.T1;
    v.S = apparentPower(in.P, in.Q);
    v.I = lineCurrent(v.S);
    // S is tested rather than P: a tiny P can round S to 0 while P itself is not 0.
    v.Cosf = roundedRatio(in.P, v.S, 3);
    v.Tgf = roundedRatio(in.Q, in.P, 3);
    v.Wa = R(in.P * t, 2);
    v.Wq = R(in.Q * t, 2);
    // From the rounded energies, not from S.
    v.Ws = R(std::sqrt(v.Wa * v.Wa + v.Wq * v.Wq), 2);
    v.PayWa = R(v.Wa * tariff.Tarif_a, 2);
    v.PayWq = R(v.Wq * tariff.Tarif_q, 2);
    v.PayWs = R(v.PayWa + v.PayWq, 2);
    return v;
}

std::optional<ProjectTotals> computeProjectTotals(const std::vector<StoredPeriod> &periods, const TariffInput &tariff)
{
    if (periods.empty())
        return std::nullopt;

    double sWa = 0, sWq = 0, sWs = 0, sPayWa = 0, sPayWq = 0, sPayWs = 0;
    // Extremes start from the first period, so a graph that is capacitive throughout (every Q
    // below 0) reports its true largest Q rather than 0.
    double t1min = periods.front().T1, t2max = periods.front().T2;
    double qmin = periods.front().Q, qmax = periods.front().Q;
    for (const StoredPeriod &p : periods) {
        sWa += p.Wa;
        sWq += p.Wq;
        sWs += p.Ws;
        sPayWa += p.PayWa;
        sPayWq += p.PayWq;
        sPayWs += p.PayWs;
        t1min = std::min(t1min, p.T1);
        t2max = std::max(t2max, p.T2);
        qmin = std::min(qmin, p.Q);
        qmax = std::max(qmax, p.Q);
    }

    ProjectTotals t;
    t.Wa = R(sWa, 2);
    t.Wq = R(sWq, 2);
    t.Ws = R(sWs, 2);
    // Averages over the span of the graph, gaps included.
    const double span = t2max - t1min;
    t.Psr = roundedRatio(sWa, span, 2);
    t.Qsr = roundedRatio(sWq, span, 2);
    t.Ssr = roundedRatio(sWs, span, 2);
    t.PayWa = R(sPayWa, 2);
    t.PayWq = R(sPayWq, 2);
    t.PayWs = R(sPayWs, 2);
    t.Cosfe = roundedRatio(sWa, sWs, 3);
    t.Tgfe = roundedRatio(sWq, sWa, 3);

    const double m = tariff.MonthDay;
    t.Wa_m = R(sWa * m, 2);
    t.Wq_m = R(sWq * m, 2);
    t.Ws_m = R(sWs * m, 2);
    t.PayWa_m = R(sPayWa * m, 2);
    t.PayWq_m = R(sPayWq * m, 2);
    t.PayWs_m = R(sPayWs * m, 2);

    const double y = tariff.YearDay;
    t.Wa_g = R(sWa * y, 2);
    t.Wq_g = R(sWq * y, 2);
    t.Ws_g = R(sWs * y, 2);
    t.PayWa_g = R(sPayWa * y, 2);
    t.PayWq_g = R(sPayWq * y, 2);
    t.PayWs_g = R(sPayWs * y, 2);

    t.Qmin = R(qmin, 2);
    t.Qmax = R(qmax, 2);
    return t;
}

} // namespace korvan
