#pragma once

#include "core/calc/LoadPeriod.h"

#include <optional>
#include <vector>

namespace korvan {

// Load characteristics without compensation: the values of one load period of project1.db and the
// project's totals in project0.db. Pure functions; the table hooks read the fields into these
// structs and write the results back.
//
// Members carry the field names. A field name with "$" (not allowed in an identifier) is spelt
// with "Pay" in its place: $Wa -> PayWa, $Ws_m -> PayWs_m, D$Wak -> DPayWak.
//
// An empty std::optional is a value without a defined result (a zero divisor); it is stored as
// NULL. No result is NaN or infinite for finite inputs of physical size.

// Line voltage of the installations, kV; I = S / sqrt(3) / 0.38 gives amperes from kVA.
inline constexpr double kLineVoltage = 0.38;

// R(a / b, d), or none when b is 0 or the quotient is not a finite number.
std::optional<double> roundedRatio(double a, double b, int d);

// Apparent power R(sqrt(P^2 + Q^2), 2) and the current R(S / sqrt(3) / 0.38, 2) it draws.
double apparentPower(double P, double Q);
double lineCurrent(double S);

// The project's tariffs and working days; a null day count is passed as 0.
struct TariffInput {
    double Tarif_a = 0; // грн/кВтч
    double Tarif_q = 0; // грн/кВАрч
    int MonthDay = 0;
    int YearDay = 0;
};

struct PeriodValues {
    double S = 0;
    double I = 0;
    std::optional<double> Cosf; // none when S = 0
    std::optional<double> Tgf;  // none when P = 0
    double Wa = 0;
    double Wq = 0;
    double Ws = 0;
    double PayWa = 0;
    double PayWq = 0;
    double PayWs = 0;
};

// Every step uses the rounded results of the earlier ones, as they are read back from the record.
PeriodValues computePeriod(const LoadPeriod &in, const TariffInput &tariff);

// A load period as stored, with the fields the project totals read.
struct StoredPeriod {
    double T1 = 0;
    double T2 = 0;
    double Q = 0;
    double Wa = 0;
    double Wq = 0;
    double Ws = 0;
    double PayWa = 0;
    double PayWq = 0;
    double PayWs = 0;
};

struct ProjectTotals {
    double Wa = 0, Wq = 0, Ws = 0;
    std::optional<double> Psr, Qsr, Ssr; // none when the graph spans no time
    double PayWa = 0, PayWq = 0, PayWs = 0;
    std::optional<double> Cosfe; // none when the sum of Ws is 0
    std::optional<double> Tgfe;  // none when the sum of Wa is 0
    double Wa_m = 0, Wq_m = 0, Ws_m = 0, PayWa_m = 0, PayWq_m = 0, PayWs_m = 0;
    double Wa_g = 0, Wq_g = 0, Ws_g = 0, PayWa_g = 0, PayWq_g = 0, PayWs_g = 0;
    double Qmin = 0, Qmax = 0;
};

// The project's totals over its stored periods, in table order. Sums are kept unrounded and the
// monthly and yearly values multiply those sums, not the rounded daily totals. Empty when the
// project has no period: the stored totals are then left alone.
std::optional<ProjectTotals> computeProjectTotals(const std::vector<StoredPeriod> &periods, const TariffInput &tariff);

} // namespace korvan
