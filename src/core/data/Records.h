#pragma once

#include "core/calc/Characteristics.h"

#include <QList>

namespace korvan {

class TTable;

// Typed reads of the records the calculations work on, so that windows, commands, the analysis
// and the charts read a record the same way. Null numbers read as 0.

// The load period at the cursor's current row (project1.db, project3.DB or sSutGraphic2.db).
LoadPeriod loadPeriodAt(const TTable &periods);
// Every visible row of the cursor as a load period, in the cursor's order.
QList<LoadPeriod> loadPeriodsOf(const TTable &periods);
// Writes a load period's hours and powers into the row being written.
void setLoadPeriod(TTable &periods, const LoadPeriod &period);
// The tariffs and working days of the project at the cursor's current row (project0.db).
TariffInput tariffOf(const TTable &project);

} // namespace korvan
