#pragma once

#include <optional>

namespace korvan {

// The economic parameters of a project, as stored: the discount rate (% a year), the service
// life (whole years), the yearly upkeep and the installation cost (% of the price).
struct EconomicParams {
    double Rate = 10;
    int Life = 15;
    double Maint = 1;
    double Mont = 0;
};

// The lifecycle figures of one installation. Null where the figure has no value: every one
// without a price or a saving; NPV, IRR and DPP with a price that is not above 0; DPP and IRR
// when the yearly net saving is not above 0; DPP when the discounted savings never repay the
// investment; IRR when no rate in (-99 %, 10 000 %] repays it.
struct EconomicFigures {
    std::optional<double> C;   // investment, грн (unrounded)
    std::optional<double> A;   // yearly net saving, грн (unrounded)
    std::optional<double> AF;  // annuity factor (unrounded)
    std::optional<double> NPV; // net present value, грн, R(·, 2)
    std::optional<double> IRR; // internal rate of return, %, R(·, 2)
    std::optional<double> DPP; // discounted payback, years, R(·, 2)
    // The unrounded DPP and IRR (as a fraction), for the worked calculation of the reports.
    std::optional<double> dppExact, irrFraction;
};

// Cena: the installation's price; saving: the yearly saving on the total payment.
EconomicFigures economicFigures(std::optional<double> Cena, std::optional<double> saving, const EconomicParams &params);

// (1 - (1 + i)^-N) / i, and N at i = 0; i a fraction greater than -1.
double annuityFactor(double i, int N);

// The rate (a fraction) at which -C + A * annuityFactor(i, N) = 0, to 1e-9, searched on
// (-0.99, 100]; nothing when A <= 0 or the root lies outside.
std::optional<double> internalRate(double C, double A, int N);

} // namespace korvan
