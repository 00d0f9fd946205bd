#include "core/compensation/AnalysisFilters.h"
#include "core/data/Fields.h"

#include "core/compensation/AnalysisTable.h"
#include "core/data/TTable.h"
#include "core/NumericChecks.h"

namespace korvan {

namespace {

// Compares a stored value; an empty field matches nothing.
bool storedCompares(const TTable &row, const QString &field, Comparison op, double v)
{
    const std::optional<double> x = row.asOptional(field);
    return x && compare(op, *x, v);
}

double checkedCosf(const QString &text)
{
    throwIf(checkFilterCosf(text));
    return numberValue(text);
}

} // namespace

int dropByDailyCriteria(TDataModule1 &data, const Progress &progress)
{
    return dropCandidates(
        data, [](const TTable &row) { return failsDailyCriteria(storedCandidate(row)); }, progress);
}

int dropByPeriodCriteria(TDataModule1 &data, const Progress &progress)
{
    return dropCandidates(
        data, [](const TTable &row) { return failsPeriodCriteria(storedCandidate(row)); }, progress);
}

int dropInvalidCandidates(TDataModule1 &data, const Progress &progress)
{
    return dropCandidates(
        data,
        [](const TTable &row) { return row.asOptional(fld::Qku_min) == 0.0 && row.asOptional(fld::Qku_max) == 0.0; },
        progress);
}

int dropNotFullPower(TDataModule1 &data, const Progress &progress)
{
    return dropCandidates(
        data,
        [](const TTable &row) {
            const auto qmax = row.asOptional(fld::Qku_max), qk = row.asOptional(fld::Qk);
            return qmax && qk && *qmax < *qk;
        },
        progress);
}

std::optional<InputProblem> checkFilterCosf(const QString &text)
{
    if (auto message = positiveNumberProblem(text, QStringLiteral("коэффициента мощности")))
        return InputProblem{EditCosfField, *message};
    if (numberValue(text) > 1)
        return InputProblem{EditCosfField,
                            QStringLiteral("Значение коэффициента мощности должно быть меньше либо равно 1.")};
    return std::nullopt;
}

int dropByDailyValue(TDataModule1 &data, Comparison op, const QString &cosf, const Progress &progress)
{
    const double v = checkedCosf(cosf);
    return dropCandidates(
        data, [op, v](const TTable &row) { return storedCompares(row, fld::Cosf_sr, op, v); }, progress);
}

int dropByPeriodValue(TDataModule1 &data, Comparison op, const QString &cosf, const Progress &progress)
{
    const double v = checkedCosf(cosf);
    return dropCandidates(
        data,
        [op, v](const TTable &row) {
            return storedCompares(row, fld::Cosf_min, op, v) || storedCompares(row, fld::Cosf_max, op, v);
        },
        progress);
}

} // namespace korvan
