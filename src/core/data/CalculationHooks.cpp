#include "core/data/CalculationHooks.h"
#include "core/data/Fields.h"

#include "core/calc/Compensation.h"
#include "core/data/Records.h"
#include "core/data/TDataModule1.h"
#include "core/data/TotalsBatch.h"
#include "core/Messages.h"

#include <array>

namespace korvan {

namespace {

const QString Kod = fld::Kod;

TTable &masterOf(TTable &t)
{
    if (!t.master())
        throw KorvanError(QStringLiteral("Таблица «%1» не связана с главной таблицей.").arg(t.tableName()));
    return *t.master();
}

// The stored values of some fields of every visible row, read in place: the totals are taken
// over all periods without moving the cursor the windows follow.
template <size_t N>
std::vector<std::array<double, N>> columns(const TTable &t, const std::array<QString, N> &fields)
{
    std::array<int, N> at;
    for (size_t i = 0; i < N; ++i)
        at[i] = t.fieldIndex(fields[i]);
    std::vector<std::array<double, N>> out;
    out.reserve(size_t(t.rows().size()));
    for (const TTable::Row &row : t.rows()) {
        std::array<double, N> values;
        for (size_t i = 0; i < N; ++i)
            values[i] = row[at[i]].toDouble(); // null reads as 0
        out.push_back(values);
    }
    return out;
}

} // namespace

void calcLoadPeriod(TTable &p)
{
    const TTable &project = masterOf(p);
    const PeriodValues v = computePeriod(loadPeriodAt(p), tariffOf(project));
    p.setValue(fld::S, v.S);
    p.setValue(fld::I, v.I);
    p.setOptional(fld::Cosf, v.Cosf);
    p.setOptional(fld::Tgf, v.Tgf);
    p.setValue(fld::Wa, v.Wa);
    p.setValue(fld::Wq, v.Wq);
    p.setValue(fld::Ws, v.Ws);
    p.setValue(fld::PayWa, v.PayWa);
    p.setValue(fld::PayWq, v.PayWq);
    p.setValue(fld::PayWs, v.PayWs);
}

void calcProjectTotals(TTable &p)
{
    TTable &project = masterOf(p);
    if (TotalsBatch::defer(project, p, calcProjectTotals) || p.isEmpty())
        return;
    std::vector<StoredPeriod> periods;
    for (const auto &v :
         columns<9>(p, {fld::T1, fld::T2, fld::Q, fld::Wa, fld::Wq, fld::Ws, fld::PayWa, fld::PayWq, fld::PayWs}))
        periods.push_back({v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]});
    const auto totals = korvan::computeProjectTotals(periods, tariffOf(project));
    if (!totals)
        return;
    const ProjectTotals &t = *totals;
    project.edit();
    const auto set = [&](const QString &field, double value) { project.setValue(field, value); };
    const auto setOpt = [&](const QString &field, std::optional<double> value) { project.setOptional(field, value); };
    set(fld::Wa, t.Wa);
    set(fld::Wq, t.Wq);
    set(fld::Ws, t.Ws);
    setOpt(fld::Psr, t.Psr);
    setOpt(fld::Qsr, t.Qsr);
    setOpt(fld::Ssr, t.Ssr);
    set(fld::PayWa, t.PayWa);
    set(fld::PayWq, t.PayWq);
    set(fld::PayWs, t.PayWs);
    setOpt(fld::Cosfe, t.Cosfe);
    setOpt(fld::Tgfe, t.Tgfe);
    set(fld::Wa_m, t.Wa_m);
    set(fld::Wq_m, t.Wq_m);
    set(fld::Ws_m, t.Ws_m);
    set(fld::PayWa_m, t.PayWa_m);
    set(fld::PayWq_m, t.PayWq_m);
    set(fld::PayWs_m, t.PayWs_m);
    set(fld::Wa_g, t.Wa_g);
    set(fld::Wq_g, t.Wq_g);
    set(fld::Ws_g, t.Ws_g);
    set(fld::PayWa_g, t.PayWa_g);
    set(fld::PayWq_g, t.PayWq_g);
    set(fld::PayWs_g, t.PayWs_g);
    set(fld::Qmin, t.Qmin);
    set(fld::Qmax, t.Qmax);
    project.post();
}

namespace {

VariantInput variantInputOf(const TTable &variant)
{
    VariantInput v;
    v.Pp = variant.asFloat(fld::Pp);
    v.Kp = variant.asFloat(fld::Kp);
    v.Cena = variant.asOptional(fld::Cena);
    v.Srok = variant.asOptional(fld::Srok);
    return v;
}

} // namespace

void calcCompensatedPeriod(TTable &p)
{
    TTable &variant = masterOf(p);
    const TTable &project = masterOf(variant);
    const CompensatedValues v = korvan::computeCompensatedPeriod({loadPeriodAt(p), p.asFloat(fld::Qku)},
                                                                 variantInputOf(variant), tariffOf(project));
    p.setValue(fld::Q1, v.Q1);
    p.setValue(fld::S, v.S);
    p.setValue(fld::I, v.I);
    p.setOptional(fld::Cosf, v.Cosf);
    p.setOptional(fld::Tgf, v.Tgf);
    p.setValue(fld::Wakp, v.Wakp);
    p.setValue(fld::Wak, v.Wak);
    p.setValue(fld::Wqk, v.Wqk);
    p.setValue(fld::Wsk, v.Wsk);
    p.setValue(fld::PayWak, v.PayWak);
    p.setValue(fld::PayWqk, v.PayWqk);
    p.setValue(fld::PayWsk, v.PayWsk);
}

void calcVariantTotals(TTable &p)
{
    TTable &variant = masterOf(p);
    const TTable &project = masterOf(variant);
    if (TotalsBatch::defer(variant, p, calcVariantTotals) || p.isEmpty())
        return;
    std::vector<StoredCompensatedPeriod> periods;
    for (const auto &v :
         columns<7>(p, {fld::Wakp, fld::Wak, fld::Wqk, fld::Wsk, fld::PayWak, fld::PayWqk, fld::PayWsk}))
        periods.push_back({v[0], v[1], v[2], v[3], v[4], v[5], v[6]});
    StoredProjectTotals stored;
    const auto get = [&](const QString &field) { return project.asOptional(field); };
    stored.Wa = get(fld::Wa);
    stored.Wq = get(fld::Wq);
    stored.Ws = get(fld::Ws);
    stored.PayWa = get(fld::PayWa);
    stored.PayWq = get(fld::PayWq);
    stored.PayWs = get(fld::PayWs);
    stored.Wa_m = get(fld::Wa_m);
    stored.Wq_m = get(fld::Wq_m);
    stored.Ws_m = get(fld::Ws_m);
    stored.PayWa_m = get(fld::PayWa_m);
    stored.PayWq_m = get(fld::PayWq_m);
    stored.PayWs_m = get(fld::PayWs_m);
    stored.Wa_g = get(fld::Wa_g);
    stored.Wq_g = get(fld::Wq_g);
    stored.Ws_g = get(fld::Ws_g);
    stored.PayWa_g = get(fld::PayWa_g);
    stored.PayWq_g = get(fld::PayWq_g);
    stored.PayWs_g = get(fld::PayWs_g);
    const auto totals = korvan::computeVariantTotals(periods, stored, tariffOf(project), variantInputOf(variant));
    if (!totals)
        return;
    const VariantTotals &t = *totals;
    variant.edit();
    const auto set = [&](const QString &field, double value) { variant.setValue(field, value); };
    const auto setOpt = [&](const QString &field, std::optional<double> value) { variant.setOptional(field, value); };
    setOpt(fld::Cosf_i, t.Cosf_i);
    setOpt(fld::Tgf_i, t.Tgf_i);
    set(fld::Wakp, t.Wakp);
    set(fld::Wak, t.Wak);
    set(fld::Wqk, t.Wqk);
    set(fld::Wsk, t.Wsk);
    setOpt(fld::DWak, t.DWak);
    setOpt(fld::DWqk, t.DWqk);
    setOpt(fld::DWsk, t.DWsk);
    set(fld::PayWak, t.PayWak);
    set(fld::PayWqk, t.PayWqk);
    set(fld::PayWsk, t.PayWsk);
    setOpt(fld::DPayWak, t.DPayWak);
    setOpt(fld::DPayWqk, t.DPayWqk);
    setOpt(fld::DPayWsk, t.DPayWsk);
    set(fld::Wp_m, t.Wp_m);
    set(fld::Wq_m, t.Wq_m);
    set(fld::Ws_m, t.Ws_m);
    setOpt(fld::DWp_m, t.DWp_m);
    setOpt(fld::DWq_m, t.DWq_m);
    setOpt(fld::DWs_m, t.DWs_m);
    set(fld::PayWp_m, t.PayWp_m);
    set(fld::PayWq_m, t.PayWq_m);
    set(fld::PayWs_m, t.PayWs_m);
    setOpt(fld::DPayWp_m, t.DPayWp_m);
    setOpt(fld::DPayWq_m, t.DPayWq_m);
    setOpt(fld::DPayWs_m, t.DPayWs_m);
    set(fld::Wp_g, t.Wp_g);
    set(fld::Wq_g, t.Wq_g);
    set(fld::Ws_g, t.Ws_g);
    setOpt(fld::DWp_g, t.DWp_g);
    setOpt(fld::DWq_g, t.DWq_g);
    setOpt(fld::DWs_g, t.DWs_g);
    set(fld::PayWp_g, t.PayWp_g);
    set(fld::PayWq_g, t.PayWq_g);
    set(fld::PayWs_g, t.PayWs_g);
    setOpt(fld::DPayWp_g, t.DPayWp_g);
    setOpt(fld::DPayWq_g, t.DPayWq_g);
    setOpt(fld::DPayWs_g, t.DPayWs_g);
    setOpt(fld::Srok, t.Srok);
    variant.post();
}

void installCalculationHooks(TDataModule1 &data)
{
    data.tblProj1->beforePost = calcLoadPeriod;
    data.tblProj1->afterPost = calcProjectTotals;
    data.tblProj3->beforePost = calcCompensatedPeriod;
    data.tblProj3->afterPost = calcVariantTotals;
}

} // namespace korvan
