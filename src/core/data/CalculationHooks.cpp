#include "CalculationHooks.h"

#include "Messages.h"
#include "Records.h"
#include "TotalsBatch.h"
#include "TDataModule1.h"
#include "calc/Compensation.h"

#include <array>

namespace korvan {

namespace {

const QString Kod = QStringLiteral("Kod");

TTable &masterOf(TTable &t)
{
    if (!t.master())
        throw KorvanError(QStringLiteral("Таблица «%1» не связана с главной таблицей.").arg(t.tableName()));
    return *t.master();
}

// The stored values of some fields of every visible row, read in place: the totals are taken
// over all periods without moving the cursor the windows follow.
template<size_t N>
std::vector<std::array<double, N>> columns(const TTable &t, const std::array<const char *, N> &fields)
{
    std::array<int, N> at;
    for (size_t i = 0; i < N; ++i)
        at[i] = t.fieldIndex(QLatin1String(fields[i]));
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
    p.setValue(QStringLiteral("S"), v.S);
    p.setValue(QStringLiteral("I"), v.I);
    p.setOptional(QStringLiteral("Cosf"), v.Cosf);
    p.setOptional(QStringLiteral("Tgf"), v.Tgf);
    p.setValue(QStringLiteral("Wa"), v.Wa);
    p.setValue(QStringLiteral("Wq"), v.Wq);
    p.setValue(QStringLiteral("Ws"), v.Ws);
    p.setValue(QStringLiteral("$Wa"), v.PayWa);
    p.setValue(QStringLiteral("$Wq"), v.PayWq);
    p.setValue(QStringLiteral("$Ws"), v.PayWs);
}

void calcProjectTotals(TTable &p)
{
    TTable &project = masterOf(p);
    if (TotalsBatch::defer(project, p, calcProjectTotals) || p.isEmpty())
        return;
    std::vector<StoredPeriod> periods;
    for (const auto &v : columns<9>(p, {"T1", "T2", "Q", "Wa", "Wq", "Ws", "$Wa", "$Wq", "$Ws"}))
        periods.push_back({v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]});
    const auto totals = korvan::computeProjectTotals(periods, tariffOf(project));
    if (!totals)
        return;
    const ProjectTotals &t = *totals;
    project.edit();
    const auto set = [&](const char *field, double value) { project.setValue(QLatin1String(field), value); };
    const auto setOpt = [&](const char *field, std::optional<double> value) { project.setOptional(QLatin1String(field), value); };
    set("Wa", t.Wa);
    set("Wq", t.Wq);
    set("Ws", t.Ws);
    setOpt("Psr", t.Psr);
    setOpt("Qsr", t.Qsr);
    setOpt("Ssr", t.Ssr);
    set("$Wa", t.PayWa);
    set("$Wq", t.PayWq);
    set("$Ws", t.PayWs);
    setOpt("Cosfe", t.Cosfe);
    setOpt("Tgfe", t.Tgfe);
    set("Wa_m", t.Wa_m);
    set("Wq_m", t.Wq_m);
    set("Ws_m", t.Ws_m);
    set("$Wa_m", t.PayWa_m);
    set("$Wq_m", t.PayWq_m);
    set("$Ws_m", t.PayWs_m);
    set("Wa_g", t.Wa_g);
    set("Wq_g", t.Wq_g);
    set("Ws_g", t.Ws_g);
    set("$Wa_g", t.PayWa_g);
    set("$Wq_g", t.PayWq_g);
    set("$Ws_g", t.PayWs_g);
    set("Qmin", t.Qmin);
    set("Qmax", t.Qmax);
    project.post();
}

namespace {

VariantInput variantInputOf(const TTable &variant)
{
    VariantInput v;
    v.Pp = variant.asFloat(QStringLiteral("Pp"));
    v.Kp = variant.asFloat(QStringLiteral("Kp"));
    v.Cena = variant.asOptional(QStringLiteral("Cena"));
    v.Srok = variant.asOptional(QStringLiteral("Srok"));
    return v;
}

} // namespace

void calcCompensatedPeriod(TTable &p)
{
    TTable &variant = masterOf(p);
    const TTable &project = masterOf(variant);
    const CompensatedValues v = korvan::computeCompensatedPeriod(
        {loadPeriodAt(p), p.asFloat(QStringLiteral("Qku"))},
        variantInputOf(variant), tariffOf(project));
    p.setValue(QStringLiteral("Q1"), v.Q1);
    p.setValue(QStringLiteral("S"), v.S);
    p.setValue(QStringLiteral("I"), v.I);
    p.setOptional(QStringLiteral("Cosf"), v.Cosf);
    p.setOptional(QStringLiteral("Tgf"), v.Tgf);
    p.setValue(QStringLiteral("Wakp"), v.Wakp);
    p.setValue(QStringLiteral("Wak"), v.Wak);
    p.setValue(QStringLiteral("Wqk"), v.Wqk);
    p.setValue(QStringLiteral("Wsk"), v.Wsk);
    p.setValue(QStringLiteral("$Wak"), v.PayWak);
    p.setValue(QStringLiteral("$Wqk"), v.PayWqk);
    p.setValue(QStringLiteral("$Wsk"), v.PayWsk);
}

void calcVariantTotals(TTable &p)
{
    TTable &variant = masterOf(p);
    const TTable &project = masterOf(variant);
    if (TotalsBatch::defer(variant, p, calcVariantTotals) || p.isEmpty())
        return;
    std::vector<StoredCompensatedPeriod> periods;
    for (const auto &v : columns<7>(p, {"Wakp", "Wak", "Wqk", "Wsk", "$Wak", "$Wqk", "$Wsk"}))
        periods.push_back({v[0], v[1], v[2], v[3], v[4], v[5], v[6]});
    StoredProjectTotals stored;
    const auto get = [&](const char *field) { return project.asOptional(QLatin1String(field)); };
    stored.Wa = get("Wa");
    stored.Wq = get("Wq");
    stored.Ws = get("Ws");
    stored.PayWa = get("$Wa");
    stored.PayWq = get("$Wq");
    stored.PayWs = get("$Ws");
    stored.Wa_m = get("Wa_m");
    stored.Wq_m = get("Wq_m");
    stored.Ws_m = get("Ws_m");
    stored.PayWa_m = get("$Wa_m");
    stored.PayWq_m = get("$Wq_m");
    stored.PayWs_m = get("$Ws_m");
    stored.Wa_g = get("Wa_g");
    stored.Wq_g = get("Wq_g");
    stored.Ws_g = get("Ws_g");
    stored.PayWa_g = get("$Wa_g");
    stored.PayWq_g = get("$Wq_g");
    stored.PayWs_g = get("$Ws_g");
    const auto totals = korvan::computeVariantTotals(periods, stored, tariffOf(project), variantInputOf(variant));
    if (!totals)
        return;
    const VariantTotals &t = *totals;
    variant.edit();
    const auto set = [&](const char *field, double value) { variant.setValue(QLatin1String(field), value); };
    const auto setOpt = [&](const char *field, std::optional<double> value) { variant.setOptional(QLatin1String(field), value); };
    setOpt("Cosf_i", t.Cosf_i);
    setOpt("Tgf_i", t.Tgf_i);
    set("Wakp", t.Wakp);
    set("Wak", t.Wak);
    set("Wqk", t.Wqk);
    set("Wsk", t.Wsk);
    setOpt("DWak", t.DWak);
    setOpt("DWqk", t.DWqk);
    setOpt("DWsk", t.DWsk);
    set("$Wak", t.PayWak);
    set("$Wqk", t.PayWqk);
    set("$Wsk", t.PayWsk);
    setOpt("D$Wak", t.DPayWak);
    setOpt("D$Wqk", t.DPayWqk);
    setOpt("D$Wsk", t.DPayWsk);
    set("Wp_m", t.Wp_m);
    set("Wq_m", t.Wq_m);
    set("Ws_m", t.Ws_m);
    setOpt("DWp_m", t.DWp_m);
    setOpt("DWq_m", t.DWq_m);
    setOpt("DWs_m", t.DWs_m);
    set("$Wp_m", t.PayWp_m);
    set("$Wq_m", t.PayWq_m);
    set("$Ws_m", t.PayWs_m);
    setOpt("D$Wp_m", t.DPayWp_m);
    setOpt("D$Wq_m", t.DPayWq_m);
    setOpt("D$Ws_m", t.DPayWs_m);
    set("Wp_g", t.Wp_g);
    set("Wq_g", t.Wq_g);
    set("Ws_g", t.Ws_g);
    setOpt("DWp_g", t.DWp_g);
    setOpt("DWq_g", t.DWq_g);
    setOpt("DWs_g", t.DWs_g);
    set("$Wp_g", t.PayWp_g);
    set("$Wq_g", t.PayWq_g);
    set("$Ws_g", t.PayWs_g);
    setOpt("D$Wp_g", t.DPayWp_g);
    setOpt("D$Wq_g", t.DPayWq_g);
    setOpt("D$Ws_g", t.DPayWs_g);
    setOpt("Srok", t.Srok);
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
