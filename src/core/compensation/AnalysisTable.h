#pragma once

#include "core/calc/AnalysisRules.h"
#include "core/Progress.h"

#include <QString>
#include <functional>

namespace korvan {

class TDataModule1;
class TTable;

// The analysis table's shared cursor as the commands use it.

// The filter that shows the current project's rows: Kod0='<project Kod>'.
QString analysisFilterOf(const TDataModule1 &data);
// Restricts the table to the current project unless it already is.
void ensureAnalysisRestricted(TDataModule1 &data);

// The current row as the criteria read it.
StoredCandidate storedCandidate(const TTable &table);

// Walks the rows in the current order from the first, deleting those the test condemns (the
// cursor then stands on the following row) and stepping over the others, in one transaction.
// The progress runs over the rows found at the start. Returns the number of rows deleted.
int dropCandidates(TDataModule1 &data, const std::function<bool(const TTable &)> &condemned, const Progress &progress);

} // namespace korvan
