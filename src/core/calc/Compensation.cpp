#include "core/calc/Compensation.h"

#include "core/calc/Numbers.h"

#include <cmath>

namespace korvan {

CompensatedValues computeCompensatedPeriod(const CompensatedInput &in, const VariantInput &variant,
                                           const TariffInput &tariff)
{
    CompensatedValues v;
    const double t = in.T2 - in.T1;
    v.Q1 = R(in.Q - in.Qku, 2);
    v.S = apparentPower(in.P, v.Q1);
    v.I = lineCurrent(v.S);
    v.Cosf = roundedRatio(in.P, v.S, 3);
    v.Tgf = roundedRatio(v.Q1, in.P, 3);
    // Energy lost in the switched-on modules over the period: the specific losses are a power.
    v.Wakp = R(variant.Pp * in.Qku * t, 2);

    v.Wa0 = R(in.P * t, 2);
    v.S0 = apparentPower(in.P, in.Q);
    v.I0 = lineCurrent(v.S0);
    // The cable losses, a share Kp of the energy, fall with the square of the current. A period
    // without current has no such share to reduce, so its energy is Wa0 as it stands.
    double wak = v.Wakp + v.Wa0;
    if (v.I0 != 0.0) {
        const double i0sq = v.I0 * v.I0;
        wak -= variant.Kp * v.Wa0 * (i0sq - v.I * v.I) / i0sq;
    }
    v.Wak = R(wak, 2);

    v.Wqk = R(v.Q1 * t, 2);
    v.Wsk = R(std::sqrt(v.Wak * v.Wak + v.Wqk * v.Wqk), 2);
    v.PayWak = R(v.Wak * tariff.Tarif_a, 2);
    v.PayWqk = R(v.Wqk * tariff.Tarif_q, 2);
    v.PayWsk = R(v.PayWak + v.PayWqk, 2);
    return v;
}

StoredProjectTotals storedTotals(const ProjectTotals &t)
{
    StoredProjectTotals s;
    s.Wa = t.Wa;
    s.Wq = t.Wq;
    s.Ws = t.Ws;
    s.PayWa = t.PayWa;
    s.PayWq = t.PayWq;
    s.PayWs = t.PayWs;
    s.Wa_m = t.Wa_m;
    s.Wq_m = t.Wq_m;
    s.Ws_m = t.Ws_m;
    s.PayWa_m = t.PayWa_m;
    s.PayWq_m = t.PayWq_m;
    s.PayWs_m = t.PayWs_m;
    s.Wa_g = t.Wa_g;
    s.Wq_g = t.Wq_g;
    s.Ws_g = t.Ws_g;
    s.PayWa_g = t.PayWa_g;
    s.PayWq_g = t.PayWq_g;
    s.PayWs_g = t.PayWs_g;
    return s;
}

std::optional<double> paybackYears(std::optional<double> Cena, std::optional<double> yearlySaving)
{
    if (!Cena || !yearlySaving)
        return std::nullopt;
    return roundedRatio(*Cena, *yearlySaving, 2);
}

namespace {

// A saving against a NULL project total is itself unknown.
std::optional<double> saving(std::optional<double> project, double variant)
{
    if (!project)
        return std::nullopt;
    return R(*project - variant, 2);
}

} // namespace

std::optional<VariantTotals> computeVariantTotals(const std::vector<StoredCompensatedPeriod> &periods,
                                                  const StoredProjectTotals &project, const TariffInput &tariff,
                                                  const VariantInput &variant)
{
    if (periods.empty())
        return std::nullopt;

    double sWakp = 0, sWak = 0, sWqk = 0, sWsk = 0, sPayWak = 0, sPayWqk = 0, sPayWsk = 0;
    for (const StoredCompensatedPeriod &p : periods) {
        sWakp += p.Wakp;
        sWak += p.Wak;
        sWqk += p.Wqk;
        sWsk += p.Wsk;
        sPayWak += p.PayWak;
        sPayWqk += p.PayWqk;
        sPayWsk += p.PayWsk;
    }

    VariantTotals v;
    v.Cosf_i = roundedRatio(sWak, sWsk, 3);
    v.Tgf_i = roundedRatio(sWqk, sWak, 3);
    v.Wakp = R(sWakp, 2);
    v.Wak = R(sWak, 2);
    v.Wqk = R(sWqk, 2);
    v.Wsk = R(sWsk, 2);
    v.DWak = saving(project.Wa, v.Wak);
    v.DWqk = saving(project.Wq, v.Wqk);
    v.DWsk = saving(project.Ws, v.Wsk);
    v.PayWak = R(sPayWak, 2);
    v.PayWqk = R(sPayWqk, 2);
    v.PayWsk = R(sPayWsk, 2);
    v.DPayWak = saving(project.PayWa, v.PayWak);
    v.DPayWqk = saving(project.PayWq, v.PayWqk);
    v.DPayWsk = saving(project.PayWs, v.PayWsk);

    const double m = tariff.MonthDay;
    v.Wp_m = R(sWak * m, 2);
    v.Wq_m = R(sWqk * m, 2);
    v.Ws_m = R(sWsk * m, 2);
    v.DWp_m = saving(project.Wa_m, v.Wp_m);
    v.DWq_m = saving(project.Wq_m, v.Wq_m);
    v.DWs_m = saving(project.Ws_m, v.Ws_m);
    v.PayWp_m = R(sPayWak * m, 2);
    v.PayWq_m = R(sPayWqk * m, 2);
    v.PayWs_m = R(sPayWsk * m, 2);
    v.DPayWp_m = saving(project.PayWa_m, v.PayWp_m);
    v.DPayWq_m = saving(project.PayWq_m, v.PayWq_m);
    v.DPayWs_m = saving(project.PayWs_m, v.PayWs_m);

    const double y = tariff.YearDay;
    v.Wp_g = R(sWak * y, 2);
    v.Wq_g = R(sWqk * y, 2);
    v.Ws_g = R(sWsk * y, 2);
    v.DWp_g = saving(project.Wa_g, v.Wp_g);
    v.DWq_g = saving(project.Wq_g, v.Wq_g);
    v.DWs_g = saving(project.Ws_g, v.Ws_g);
    v.PayWp_g = R(sPayWak * y, 2);
    v.PayWq_g = R(sPayWqk * y, 2);
    v.PayWs_g = R(sPayWsk * y, 2);
    v.DPayWp_g = saving(project.PayWa_g, v.PayWp_g);
    v.DPayWq_g = saving(project.PayWq_g, v.PayWq_g);
    v.DPayWs_g = saving(project.PayWs_g, v.PayWs_g);

    const std::optional<double> srok = paybackYears(variant.Cena, v.DPayWs_g);
    v.Srok = srok ? srok : variant.Srok;
    return v;
}

} // namespace korvan
