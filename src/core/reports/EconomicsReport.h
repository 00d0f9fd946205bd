#pragma once

#include <QString>
#include <QStringList>

namespace korvan {

struct EconomicFigures;
struct EconomicParams;
struct ReportContext;
class Store;

// Whether a report settings record prints the block "Экономическая эффективность" (kept beside
// report.DB, keyed by the record's Kod; a record never set does not).
bool economicsReportFlag(Store &store, qint64 reportKod);
void setEconomicsReportFlag(Store &store, qint64 reportKod, bool on);

// The worked calculation of one installation: the formulas of C, A, AF, NPV, DPP and IRR with
// its own numbers, one paragraph a line ("^{...}" marks an exponent).
QStringList economicsCalculationLines(double Cena, double saving, const EconomicParams &params,
                                      const EconomicFigures &figures);

// The block after the yearly characteristics with compensation: for every variant of the project
// (allVariants) or for the current one. The variant that was current stays current.
void WriteEconomicsBlock(ReportContext &report, bool allVariants);

} // namespace korvan
