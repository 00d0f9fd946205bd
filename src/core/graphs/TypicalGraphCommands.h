#pragma once

#include "core/graphs/GraphTable.h"

#include <QString>
#include <optional>

namespace korvan {

class TDataModule1;

// Adds the current project's load graph to the typical graph catalogue in percent of its own
// largest P and Q (whole percent, halves to even), under the industry of that exact name (made
// when missing) as a new enterprise. A graph whose largest P or Q is 0 has no percent form and is
// refused; nothing is written then. The current load period stays current.
void addProjectGraphToCatalogue(TDataModule1 &data, const QString &industry, const QString &enterprise);

// Replaces the periods of the catalogue's current enterprise (already checked). Refused while an
// industry or enterprise row is being edited, and when there is no current enterprise.
void replaceTypicalGraph(TDataModule1 &data, const QList<LoadPeriod> &periods);

// The message that refuses editing the current enterprise's graph, if any.
std::optional<QString> typicalGraphEditProblem(const TDataModule1 &data);

} // namespace korvan
