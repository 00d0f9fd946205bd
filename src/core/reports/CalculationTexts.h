#pragma once

namespace korvan {

struct ReportContext;

// The worked calculation blocks, each written after its table: the heading "Расчеты." and the
// formulas with the project's own stored values. Apart from the daily T and the A, S0 and I0 of a
// compensated period they compute nothing.
//
// The period blocks walk the load periods or the current variant's compensated periods and leave
// them on their last record. The blocks with compensation list every variant in the project
// report and make the variant that was current before them current again, whatever happens; in
// the report on one variant they show that variant alone.
void WritePeriodCalculations(ReportContext &report);
void WriteDailyCalculations(ReportContext &report);
void WriteMonthlyCalculations(ReportContext &report);
void WriteYearlyCalculations(ReportContext &report);
void WriteCompensatedPeriodCalculations(ReportContext &report);
void WriteCompensatedDailyCalculations(ReportContext &report);
void WriteCompensatedMonthlyCalculations(ReportContext &report);
void WriteCompensatedYearlyCalculations(ReportContext &report);

} // namespace korvan
