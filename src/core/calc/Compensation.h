#pragma once

#include "core/calc/Characteristics.h"

#include <optional>
#include <vector>

namespace korvan {

// Load characteristics with compensation: the values of one compensated period of project3.DB
// and the variant's totals, savings and payback in project2.db. Same conventions as
// Characteristics.h: "$" in a field name is spelt "Pay", an empty optional is stored as NULL.

// The load period (Q without compensation) and the installation's power switched on in it.
struct CompensatedInput : LoadPeriod {
    double Qku = 0;
};

// The variant's installation and supply cables.
struct VariantInput {
    double Pp = 0; // specific active losses of the installation, kW/kVAr
    double Kp = 0; // loss coefficient of active energy in the supply cables
    std::optional<double> Cena;
    std::optional<double> Srok; // as stored now; kept when no new payback can be worked out
};

struct CompensatedValues {
    double Q1 = 0;
    double S = 0;
    double I = 0;
    std::optional<double> Cosf; // none when S = 0
    std::optional<double> Tgf;  // none when P = 0
    double Wakp = 0;
    double Wak = 0;
    double Wqk = 0;
    double Wsk = 0;
    double PayWak = 0;
    double PayWqk = 0;
    double PayWsk = 0;
    // The uncompensated period worked out again from P, Q, T1, T2 for the Wak formula; not stored,
    // but the calculation texts show them.
    double Wa0 = 0;
    double S0 = 0;
    double I0 = 0;
};

CompensatedValues computeCompensatedPeriod(const CompensatedInput &in, const VariantInput &variant,
                                           const TariffInput &tariff);

// A compensated period as stored, with the fields the variant totals read.
struct StoredCompensatedPeriod {
    double Wakp = 0;
    double Wak = 0;
    double Wqk = 0;
    double Wsk = 0;
    double PayWak = 0;
    double PayWqk = 0;
    double PayWsk = 0;
};

// The project's totals as stored in project0.db, against which the savings are taken. A NULL
// field is an empty optional, and every saving taken against it is NULL too.
struct StoredProjectTotals {
    std::optional<double> Wa, Wq, Ws, PayWa, PayWq, PayWs;
    std::optional<double> Wa_m, Wq_m, Ws_m, PayWa_m, PayWq_m, PayWs_m;
    std::optional<double> Wa_g, Wq_g, Ws_g, PayWa_g, PayWq_g, PayWs_g;
};

// The stored form of freshly computed totals.
StoredProjectTotals storedTotals(const ProjectTotals &t);

struct VariantTotals {
    std::optional<double> Cosf_i; // none when the sum of Wsk is 0
    std::optional<double> Tgf_i;  // none when the sum of Wak is 0
    double Wakp = 0, Wak = 0, Wqk = 0, Wsk = 0;
    std::optional<double> DWak, DWqk, DWsk;
    double PayWak = 0, PayWqk = 0, PayWsk = 0;
    std::optional<double> DPayWak, DPayWqk, DPayWsk;

    double Wp_m = 0, Wq_m = 0, Ws_m = 0;
    std::optional<double> DWp_m, DWq_m, DWs_m;
    double PayWp_m = 0, PayWq_m = 0, PayWs_m = 0;
    std::optional<double> DPayWp_m, DPayWq_m, DPayWs_m;

    double Wp_g = 0, Wq_g = 0, Ws_g = 0;
    std::optional<double> DWp_g, DWq_g, DWs_g;
    double PayWp_g = 0, PayWq_g = 0, PayWs_g = 0;
    std::optional<double> DPayWp_g, DPayWq_g, DPayWs_g;

    // The value to store: the new payback, or the variant's stored Srok (which may be NULL) when
    // there is no price or no yearly saving.
    std::optional<double> Srok;
};

// Years to pay the installation back from the yearly saving on the total payment; none when the
// price or the saving is missing or the saving is 0. A negative saving gives a negative period.
std::optional<double> paybackYears(std::optional<double> Cena, std::optional<double> yearlySaving);

// The variant's totals over its stored compensated periods, in table order. Savings are the
// project's stored totals minus the variant's rounded totals; monthly and yearly values multiply
// the unrounded daily sums. Empty when the variant has no period: its stored totals are then
// left alone.
std::optional<VariantTotals> computeVariantTotals(const std::vector<StoredCompensatedPeriod> &periods,
                                                  const StoredProjectTotals &project, const TariffInput &tariff,
                                                  const VariantInput &variant);

} // namespace korvan
