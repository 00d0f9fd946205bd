#include "core/calc/CandidateEvaluation.h"

#include "core/calc/Numbers.h"

#include <cmath>

namespace korvan {

namespace {

CandidateOutcome failed(CandidateFailure::Kind kind, int period = -1)
{
    CandidateOutcome out;
    out.failure = {kind, period};
    return out;
}

double uncompensatedCurrent(const LoadPeriod &p) { return lineCurrent(apparentPower(p.P, p.Q)); }

} // namespace

std::optional<int> periodWithoutCurrent(const std::vector<LoadPeriod> &periods)
{
    for (size_t i = 0; i < periods.size(); ++i)
        if (uncompensatedCurrent(periods[i]) == 0.0)
            return int(i);
    return std::nullopt;
}

CandidateOutcome evaluateCandidate(const CandidateProject &project, const CandidateSettings &settings)
{
    if (project.periods.empty())
        return failed(CandidateFailure::NoPeriods);
    const TariffInput &tariff = project.tariff;

    // Minimum and maximum start as "no value yet" markers: -1 and 0.
    double qmin = -1, qmax = 0, cmin = -1, cmax = 0;
    double sWak = 0, sWqk = 0, sWsk = 0, sPayWak = 0, sPayWqk = 0, payWsk = 0;
    SwitchedList switched;
    std::vector<ResonancePeriod> resonancePeriods;
    for (size_t i = 0; i < project.periods.size(); ++i) {
        const LoadPeriod &p = project.periods[i];
        switched.clear();
        const std::optional<double> selected = SelectModules(settings.mode, settings.modules, switched, p.P, p.Q);
        if (!selected)
            return failed(CandidateFailure::MissingMode);
        const double qku = *selected;
        if (qmin == -1 || qmin > qku)
            qmin = qku;
        if (qmax == 0 || qmax < qku)
            qmax = qku;

        const double t = p.T2 - p.T1;
        const double q1 = p.Q - qku; // not rounded here, unlike a variant's period
        resonancePeriods.push_back({p.T1, p.T2, qku, q1});
        const double wa = R(t * p.P, 2);
        const double i0 = uncompensatedCurrent(p);
        if (i0 == 0.0)
            return failed(CandidateFailure::ZeroCurrent, int(i));
        // Energy lost in the modules switched on over the period, as for a variant.
        const double wakp = R(settings.Pp * qku * t, 2);
        const double ik = lineCurrent(apparentPower(p.P, q1));
        const double wak = R(wa - wa * settings.Kp * (i0 * i0 - ik * ik) / (i0 * i0) + wakp, 2);
        const double wqk = R(t * q1, 2);
        const double wsk = R(std::sqrt(wak * wak + wqk * wqk), 2);
        if (wsk == 0.0)
            return failed(CandidateFailure::ZeroPeriodEnergy, int(i));
        const double c = R(wak / wsk, 2);

        sWak += wak;
        sWqk += wqk;
        sWsk += wsk;
        sPayWak += R(tariff.Tarif_a * wak, 2);
        sPayWqk += R(tariff.Tarif_q * wqk, 2);
        payWsk = R(sPayWak + sPayWqk, 2);
        if (cmin == -1 || cmin > c)
            cmin = c;
        if (cmax == 0 || cmax < c)
            cmax = c;
    }
    // Every period has Wsk > 0, so the day has too; the active energy may still cancel out.
    if (sWak == 0.0)
        return failed(CandidateFailure::ZeroActiveEnergy);

    CandidateValues v;
    v.Qku_min = qmin;
    v.Qku_max = qmax;
    v.Cosf_min = cmin;
    v.Cosf_max = cmax;
    v.Cosf_sr = R(sWak / sWsk, 3);
    v.Tgf_sr = R(sWqk / sWak, 3);
    v.DSWsk = R(project.PayWs - payWsk, 2);
    v.DSWskm = R(project.PayWs_m - R(tariff.MonthDay * payWsk, 2), 2);
    v.DSWskg = R(project.PayWs_g - R(tariff.YearDay * payWsk, 2), 2);
    if (settings.Cena && v.DSWskg != 0.0)
        v.Srok = R(*settings.Cena / v.DSWskg, 2);

    v.periods = std::move(resonancePeriods);
    CandidateOutcome out;
    out.values = v;
    return out;
}

} // namespace korvan
