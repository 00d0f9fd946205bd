#include "core/calc/Economics.h"

#include "core/calc/Numbers.h"

#include <cmath>

namespace korvan {

namespace {

constexpr double LowestRate = -0.99; // excluded: the interval is open there
constexpr double HighestRate = 100.0;
constexpr double RateTolerance = 1e-9;

} // namespace

double annuityFactor(double i, int N)
{
    if (i == 0.0)
        return N;
    // expm1/log1p keep the digits for rates near 0, where 1 - (1 + i)^-N nearly cancels.
    return -std::expm1(-N * std::log1p(i)) / i;
}

std::optional<double> internalRate(double C, double A, int N)
{
    if (!(A > 0) || N < 1)
        return std::nullopt;
    // With A > 0 the present value falls as the rate grows, so one sign change brackets the root.
    const auto value = [&](double i) { return -C + A * annuityFactor(i, N); };
    double lo = LowestRate, hi = HighestRate;
    if (!(value(lo) > 0))
        return std::nullopt;
    const double atHigh = value(hi);
    if (atHigh == 0)
        return hi;
    if (atHigh > 0)
        return std::nullopt;
    while (hi - lo > RateTolerance) {
        const double mid = lo + (hi - lo) / 2;
        if (value(mid) > 0)
            lo = mid;
        else
            hi = mid;
    }
    return lo + (hi - lo) / 2;
}

EconomicFigures economicFigures(std::optional<double> Cena, std::optional<double> saving, const EconomicParams &p)
{
    EconomicFigures f;
    if (!Cena || !saving || !std::isfinite(*Cena) || !std::isfinite(*saving))
        return f;
    const double r = p.Rate / 100;
    const int N = p.Life;
    const double C = *Cena * (1 + p.Mont / 100);
    const double A = *saving - *Cena * p.Maint / 100;
    const double AF = annuityFactor(r, N);
    f.C = C;
    f.A = A;
    f.AF = AF;
    // A type without a price has nothing to invest: no figure of return means anything.
    if (!(*Cena > 0))
        return f;
    f.NPV = R(-C + A * AF, 2);
    if (A > 0) {
        if (r == 0) {
            f.dppExact = C / A;
        } else {
            const double x = 1 - C * r / A;
            if (x > 0)
                f.dppExact = -std::log(x) / std::log1p(r);
        }
    }
    if (f.dppExact)
        f.DPP = R(*f.dppExact, 2);
    f.irrFraction = internalRate(C, A, N);
    if (f.irrFraction)
        f.IRR = R(*f.irrFraction * 100, 2);
    return f;
}

} // namespace korvan
