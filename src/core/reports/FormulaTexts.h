#pragma once

#include <QString>

namespace korvan {

struct ReportContext;

// A block's heading in bold 12, then the insertion point set back to regular 12 for its text.
// A level of 1 or 2 lists it in the contents.
void WriteBlockHeading(ReportContext &report, const QString &heading, int level = 0);

// The formula blocks, each written after its table: the heading "Расчетные формулы." and fixed
// texts with raised exponents.
void WritePeriodFormulas(ReportContext &report);
void WriteDailyFormulas(ReportContext &report);
void WriteMonthlyFormulas(ReportContext &report);
void WriteYearlyFormulas(ReportContext &report);
void WriteCompensatedPeriodFormulas(ReportContext &report);
void WriteCompensatedDailyFormulas(ReportContext &report);
void WriteCompensatedMonthlyFormulas(ReportContext &report);
void WriteCompensatedYearlyFormulas(ReportContext &report);

} // namespace korvan
