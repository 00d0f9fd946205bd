#include "core/calc/AnalysisRules.h"

#include "core/calc/Numbers.h"

#include <cmath>

namespace korvan {

namespace {

// Switched power that would bring a period to cos(f) = c, to whole kVAr (halves to even), never
// below 0. Unlike the modes' bounds, the product is not rounded to two decimals first.
double wholePowerFor(const LoadPeriod &p, double c)
{
    const double q = std::nearbyint(p.Q - p.P * tgOfCos(c));
    return q < 0 ? 0.0 : q;
}

// The smallest starts as "no value yet" (-1), the largest at 0.
struct Extremes {
    double lo = -1, hi = 0;
    void addLow(double v)
    {
        if (lo == -1 || v < lo)
            lo = v;
    }
    void addHigh(double v)
    {
        if (v > hi)
            hi = v;
    }
};

QString rangeText(const QString &lo, const QString &hi) { return lo + QStringLiteral(" - ") + hi; }

} // namespace

QString recommendedRange(const std::vector<LoadPeriod> &periods, const ModeSettings &mode, const QString &qminText,
                         const QString &qmaxText)
{
    if (periods.empty())
        return {};
    const auto spread = [&](double forLow, double forHigh) {
        Extremes e;
        for (const LoadPeriod &p : periods) {
            e.addLow(wholePowerFor(p, forLow));
            e.addHigh(wholePowerFor(p, forHigh));
        }
        return e;
    };
    switch (mode.mode) {
    case FullCompensation:
        return rangeText(qminText, qmaxText);
    case CosNotAbove:
        if (!mode.Cosf_max)
            return {};
        {
            const Extremes e = spread(*mode.Cosf_max, *mode.Cosf_max);
            return rangeText(numberText(e.lo), numberText(e.hi));
        }
    case CosNotBelow:
        if (!mode.Cosf_min)
            return {};
        return rangeText(numberText(spread(*mode.Cosf_min, *mode.Cosf_min).lo), qmaxText);
    case CosInRange:
        if (!mode.Cosf_min || !mode.Cosf_max || *mode.Cosf_min > *mode.Cosf_max)
            return {};
        {
            const Extremes e = spread(*mode.Cosf_min, *mode.Cosf_max);
            return rangeText(numberText(e.lo), numberText(e.hi));
        }
    case CosNearest:
        if (!mode.Cosf_tr)
            return {};
        {
            const Extremes e = spread(*mode.Cosf_tr, *mode.Cosf_tr);
            return rangeText(numberText(e.lo), numberText(e.hi));
        }
    }
    return {};
}

bool optimumPrefers(const ModeSettings &mode, double c, double b)
{
    switch (mode.mode) {
    case FullCompensation:
        return c > b;
    case CosNotAbove:
        // A choice above the limit gives way to anything: when no row meets it, the last one wins.
        return mode.Cosf_max && (b > *mode.Cosf_max || (c > b && c <= *mode.Cosf_max));
    case CosNotBelow:
        return mode.Cosf_min && (b < *mode.Cosf_min || (c < b && c >= *mode.Cosf_min));
    case CosInRange:
        if (!mode.Cosf_min || !mode.Cosf_max)
            return false;
        {
            const double m = R((*mode.Cosf_min + *mode.Cosf_max) / 2, 3);
            return std::abs(c - m) < std::abs(b - m);
        }
    case CosNearest:
        return mode.Cosf_tr && std::abs(c - *mode.Cosf_tr) < std::abs(b - *mode.Cosf_tr);
    }
    return false;
}

std::optional<int> optimumIndex(const ModeSettings &mode, const std::vector<double> &dailyCosf)
{
    if (dailyCosf.empty())
        return std::nullopt;
    int choice = 0;
    for (size_t i = 0; i < dailyCosf.size(); ++i)
        if (optimumPrefers(mode, dailyCosf[i], dailyCosf[size_t(choice)]))
            choice = int(i);
    return choice;
}

namespace {

// a < b with both present; a missing value never condemns a row.
bool below(const std::optional<double> &a, const std::optional<double> &b) { return a && b && *a < *b; }

} // namespace

bool failsDailyCriteria(const StoredCandidate &row)
{
    const auto mode = selectionModeNumber(row.Rejim);
    if (!mode)
        return false;
    switch (*mode) {
    case CosNotAbove:
        return below(row.PCosf_max, row.Cosf_sr);
    case CosNotBelow:
        return below(row.Cosf_sr, row.PCosf_min);
    case CosInRange:
        return below(row.Cosf_sr, row.PCosf_min) || below(row.PCosf_max, row.Cosf_sr);
    default:
        return false;
    }
}

bool failsPeriodCriteria(const StoredCandidate &row)
{
    const auto mode = selectionModeNumber(row.Rejim);
    if (!mode)
        return false;
    const bool aboveMax = below(row.PCosf_max, row.Cosf_min) || below(row.PCosf_max, row.Cosf_max);
    const bool belowMin = below(row.Cosf_min, row.PCosf_min) || below(row.Cosf_max, row.PCosf_min);
    switch (*mode) {
    case CosNotAbove:
        return aboveMax;
    case CosNotBelow:
        return belowMin;
    case CosInRange:
        return aboveMax || belowMin;
    default:
        return false;
    }
}

const QStringList &comparisonCaptions()
{
    static const QStringList captions = {QStringLiteral("<"), QStringLiteral("<="), QStringLiteral("="),
                                         QStringLiteral(">"), QStringLiteral(">=")};
    return captions;
}

std::optional<Comparison> comparisonByCaption(const QString &caption)
{
    const qsizetype i = comparisonCaptions().indexOf(caption);
    if (i < 0)
        return std::nullopt;
    return Comparison(i);
}

bool compare(Comparison op, double a, double b)
{
    switch (op) {
    case Comparison::Less:
        return a < b;
    case Comparison::LessEqual:
        return a <= b;
    case Comparison::Equal:
        return a == b;
    case Comparison::Greater:
        return a > b;
    case Comparison::GreaterEqual:
        return a >= b;
    }
    return false;
}

} // namespace korvan
