#pragma once

#include "core/graphs/GraphTable.h"

namespace korvan {

class TDataModule1;
class TTable;

// Replaces the current project's load graph by these periods (already checked) and rebuilds
// every variant on it. One transaction.
void replaceProjectGraph(TDataModule1 &data, const QList<LoadPeriod> &periods);

// The current enterprise's typical graph scaled to the maxima: each P% and Q% times its maximum
// over 100, as whole kW and kVAr, halves to even.
QList<LoadPeriod> scaledTypicalGraph(const TTable &typicalPeriods, double pmax, double qmax);

// Rebuilds every variant of the current project on its present load graph: compensated periods
// anew, each with the modules its own mode switches on. The current variant stays current.
void rebuildVariants(TDataModule1 &data);

} // namespace korvan
