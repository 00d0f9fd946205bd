#include "core/calc/ProjectCalculation.h"

namespace korvan {

std::optional<VariantTotals> variantTotalsOf(const std::vector<CompensatedValues> &periods,
                                             const StoredProjectTotals &project, const TariffInput &tariff,
                                             const VariantInput &variant)
{
    std::vector<StoredCompensatedPeriod> stored;
    stored.reserve(periods.size());
    for (const CompensatedValues &v : periods)
        stored.push_back({v.Wakp, v.Wak, v.Wqk, v.Wsk, v.PayWak, v.PayWqk, v.PayWsk});
    return computeVariantTotals(stored, project, tariff, variant);
}

ProjectCalculation calculateProject(const ProjectCalculationInput &in)
{
    ProjectCalculation out;
    out.periods.reserve(in.periods.size());
    std::vector<StoredPeriod> stored;
    stored.reserve(in.periods.size());
    for (const LoadPeriod &p : in.periods) {
        const PeriodValues &v = out.periods.emplace_back(computePeriod(p, in.tariff));
        stored.push_back({p.T1, p.T2, p.Q, v.Wa, v.Wq, v.Ws, v.PayWa, v.PayWq, v.PayWs});
    }
    out.totals = computeProjectTotals(stored, in.tariff);
    // The savings are taken against the totals just worked out; a project without periods keeps
    // the ones it has.
    const StoredProjectTotals project = out.totals ? storedTotals(*out.totals) : in.stored;

    out.variants.reserve(in.variants.size());
    for (const VariantCalculationInput &variant : in.variants) {
        VariantCalculation &v = out.variants.emplace_back();
        v.periods.reserve(variant.periods.size());
        for (const CompensatedInput &p : variant.periods)
            v.periods.push_back(computeCompensatedPeriod(p, variant.variant, in.tariff));
        v.totals = variantTotalsOf(v.periods, project, in.tariff, variant.variant);
    }
    return out;
}

} // namespace korvan
