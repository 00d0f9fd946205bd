#pragma once

#include "core/calc/Compensation.h"

#include <optional>
#include <vector>

namespace korvan {

// Every derived value of a project from its inputs alone: the load periods' values and the
// project's totals, then each variant's compensated periods, totals, savings and payback against
// those totals. Pure: the store reads a project into this value, and writes back what comes out.

struct VariantCalculationInput {
    VariantInput variant;                  // losses, cable coefficient, price, the stored payback
    std::vector<CompensatedInput> periods; // in key order, with the power switched on in each
};

struct ProjectCalculationInput {
    TariffInput tariff;
    std::vector<LoadPeriod> periods; // in key order
    StoredProjectTotals stored;      // the project's totals as stored: kept without periods
    std::vector<VariantCalculationInput> variants;
};

struct VariantCalculation {
    std::vector<CompensatedValues> periods;
    std::optional<VariantTotals> totals; // none without periods: the stored totals stay
};

struct ProjectCalculation {
    std::vector<PeriodValues> periods;
    std::optional<ProjectTotals> totals; // none without periods: the stored totals stay
    std::vector<VariantCalculation> variants;
};

ProjectCalculation calculateProject(const ProjectCalculationInput &in);

// The totals of a variant from its computed periods, against the project's totals.
std::optional<VariantTotals> variantTotalsOf(const std::vector<CompensatedValues> &periods,
                                             const StoredProjectTotals &project, const TariffInput &tariff,
                                             const VariantInput &variant);

} // namespace korvan
