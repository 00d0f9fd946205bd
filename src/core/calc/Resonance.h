#pragma once

#include <optional>
#include <vector>

namespace korvan {

// The parallel resonance of a capacitor bank with the supply transformer, and the periods of
// over-compensation. Pure: plain values in and out.

// The supply of a project: transformer and network ahead of the installation's bus.
struct SupplyData {
    double Str = 0;                // transformer rated power, kVA
    double Uk = 0;                 // its short-circuit voltage, %
    std::optional<double> Ssc_net; // network short-circuit power at the primary, MVA; none: infinite
    std::vector<int> Harmonics{5, 7, 11, 13};
};

// One period of a variant or of an analysis candidate, as the check reads it.
struct ResonancePeriod {
    double T1 = 0, T2 = 0;
    double Qku = 0; // switched on, kVAr
    double Q1 = 0;  // reactive power left after compensation, kVAr (negative: leading)
};

struct ResonanceValues {
    // Rounded to two decimals for storing and showing; none without supply data or with no
    // period that switches anything on.
    std::optional<double> Hr_min, Hr_max, dU_max;
    // The harmonic orders at risk, ascending; none without supply data (not checked).
    std::optional<std::vector<int>> Resonance;
    double Hours_lead = 0; // hours of over-compensation; computed with or without supply data

    // The unrounded figures the worked calculation shows.
    double Ssc = 0; // kVA at the bus
    double hAtMaxQku = 0, hAtMinQku = 0;
    double maxQku = 0, minQku = 0;     // the largest and smallest switched power above 0
    std::optional<double> tuningOrder; // h_t of a detuned type
};

// Short-circuit power at the installation's bus, kVA.
double busShortCircuitPower(const SupplyData &supply);
// The resonance order of a bank of Qku kVAr (> 0) on a bus of Ssc kVA.
double resonanceOrder(double Ssc, double Qku);
// The order a detuned bank with a reactor of p % is tuned to.
double tuningOrder(double detuning);

// A bank of this detuning (0 or none: not detuned) that resonates at order h: is harmonic n at risk?
bool harmonicAtRisk(double h, int n);

ResonanceValues computeResonance(const std::optional<SupplyData> &supply, std::optional<double> detuning,
                                 const std::vector<ResonancePeriod> &periods);

} // namespace korvan
