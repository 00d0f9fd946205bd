#include "core/calc/Resonance.h"

#include "core/calc/Numbers.h"

#include <algorithm>
#include <cmath>

namespace korvan {

double busShortCircuitPower(const SupplyData &supply)
{
    double impedance = supply.Uk / (100.0 * supply.Str);
    if (supply.Ssc_net)
        impedance += 1.0 / (1000.0 * *supply.Ssc_net);
    return 1.0 / impedance;
}

double resonanceOrder(double Ssc, double Qku) { return std::sqrt(Ssc / Qku); }

double tuningOrder(double detuning) { return std::sqrt(100.0 / detuning); }

bool harmonicAtRisk(double h, int n) { return std::abs(h - n) <= 0.1 * n; }

ResonanceValues computeResonance(const std::optional<SupplyData> &supply, std::optional<double> detuning,
                                 const std::vector<ResonancePeriod> &periods)
{
    ResonanceValues out;
    std::vector<double> switched;
    for (const ResonancePeriod &p : periods) {
        if (p.Q1 < 0)
            out.Hours_lead += p.T2 - p.T1;
        if (p.Qku > 0)
            switched.push_back(p.Qku);
    }
    if (!supply || supply->Harmonics.empty())
        return out;

    out.Ssc = busShortCircuitPower(*supply);
    std::vector<int> atRisk;
    const bool detuned = detuning && *detuning > 0;
    if (detuned)
        out.tuningOrder = tuningOrder(*detuning);
    if (!switched.empty()) {
        const auto [minIt, maxIt] = std::minmax_element(switched.begin(), switched.end());
        out.minQku = *minIt;
        out.maxQku = *maxIt;
        // The largest switched power gives the lowest resonance order.
        out.hAtMaxQku = resonanceOrder(out.Ssc, out.maxQku);
        out.hAtMinQku = resonanceOrder(out.Ssc, out.minQku);
        out.Hr_min = R(out.hAtMaxQku, 2);
        out.Hr_max = R(out.hAtMinQku, 2);
        out.dU_max = R(100.0 * out.maxQku / out.Ssc, 2);

        if (detuned) {
            // The reactor keeps the bank inductive above its tuning order; it protects only when
            // that order lies clearly below the lowest harmonic the load draws.
            const int lowest = *std::min_element(supply->Harmonics.begin(), supply->Harmonics.end());
            if (*out.tuningOrder >= 0.9 * lowest)
                atRisk.push_back(lowest);
        } else {
            for (int n : supply->Harmonics) {
                const bool hit = std::any_of(switched.begin(), switched.end(),
                                             [&](double q) { return harmonicAtRisk(resonanceOrder(out.Ssc, q), n); });
                if (hit)
                    atRisk.push_back(n);
            }
        }
    }
    std::sort(atRisk.begin(), atRisk.end());
    atRisk.erase(std::unique(atRisk.begin(), atRisk.end()), atRisk.end());
    out.Resonance = atRisk;
    return out;
}

} // namespace korvan
