#pragma once

#include "core/calc/Characteristics.h"
#include "core/calc/ModuleSwitching.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace korvan {

// The judgements of the analysis table, on plain values: the recommended power range, the
// optimum for a mode, the criteria and the comparisons of the filters.

// Recommended range of installation power for a mode, as "lo - hi". The mode's cos(f) values
// must be numbers in (0, 1]; qminText and qmaxText are the project's Qmin and Qmax as shown.
// Empty for a graph without periods and, in the range mode, when the minimum is above the maximum.
QString recommendedRange(const std::vector<LoadPeriod> &periods, const ModeSettings &mode, const QString &qminText,
                         const QString &qmaxText);

// Whether a row with daily cos(f) c replaces the choice so far, whose daily cos(f) is b. False
// when the mode lacks a cos(f) value it needs.
bool optimumPrefers(const ModeSettings &mode, double c, double b);
// Index of the optimal value in the given order: the first is the initial choice and every
// value, the first included, is compared with the choice so far. None for an empty list.
std::optional<int> optimumIndex(const ModeSettings &mode, const std::vector<double> &dailyCosf);

// A row of the analysis table as the criteria filters read it: its own stored mode caption and
// values; null values as empty optionals.
struct StoredCandidate {
    QString Rejim;
    std::optional<double> Cosf_sr, Cosf_min, Cosf_max;
    std::optional<double> PCosf_min, PCosf_max;
};

// Whether the row fails its own mode's limits on the daily cos(f), or on the smallest and
// largest period cos(f). Rows of modes 0 and 4, of an unknown caption, and comparisons with a
// missing value never fail.
bool failsDailyCriteria(const StoredCandidate &row);
bool failsPeriodCriteria(const StoredCandidate &row);

// The comparisons of the value filters, in the order of their list.
enum class Comparison { Less, LessEqual, Equal, Greater, GreaterEqual };
const QStringList &comparisonCaptions(); // "<", "<=", "=", ">", ">="
std::optional<Comparison> comparisonByCaption(const QString &caption);
// a op b; "=" is exact equality.
bool compare(Comparison op, double a, double b);

} // namespace korvan
