#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace korvan {

struct ReportContext;

// One row of «Сводка по вариантам»: what a reader compares the variants by.
struct VariantSummary {
    int number = 0;
    QString type;
    std::optional<double> Qk, price, saving, payback, NPV, IRR, DPP;
    // The harmonic orders at risk; none when the check was not made (no supply data).
    std::optional<std::vector<int>> resonance;
    // The daily cos(f) with compensation lies within the limits of the variant's selection mode.
    bool meetsDailyCosf = true;
};

// The recommended variant among the rows: the largest NPV among those without resonance risk
// that meet the daily cos(f) criterion, the first on a tie; none when no row qualifies.
std::optional<int> recommendedVariant(const std::vector<VariantSummary> &rows);

// The text under the summary: which variant is recommended and by which rule, and which variants
// the rule leaves out and why. A variant report (one row) says whether its variant meets the
// rule, naming no other variant.
QStringList recommendationLines(const std::vector<VariantSummary> &rows, bool allVariants);

// The cells of the summary: the header row, then one row per variant.
QStringList summaryHeader();
QStringList summaryCells(const VariantSummary &row);

// The rows of the reported variants: every variant of the current project, or the current one.
std::vector<VariantSummary> reportedVariantSummaries(ReportContext &report);

// The first page: the title block (the report's name, the project, the customer, the engineer,
// the date; in a variant report the variant's number and installation), the project's note when
// it has one, then, as the settings ask, the summary with the recommendation and a contents list.
void WriteFrontPage(ReportContext &report);

} // namespace korvan
