#pragma once

#include <QList>
#include <QtGlobal>

namespace korvan {

class Store;

// The derived values of a project as the store holds them: its load periods' values and totals,
// its variants' compensated periods, totals, savings and payback, and their resonance check.
// Every command that changes an input of them calls refreshProjectResults inside its transaction,
// so no stored result can disagree with its inputs.
//
// One read of the project's inputs and stored results, the pure calculation of every derived
// value, and one batch of writes: only the rows whose values changed are written, so a
// recalculation that changes nothing writes nothing. The cursors on the tables written re-read
// their rows at their next use.
void refreshProjectResults(Store &store, qint64 projectKod);

// The same for several projects (a catalogue type used by many), and for every project of the
// store (a change of the rules).
void refreshProjectResults(Store &store, const QList<qint64> &projectKods);
void refreshAllProjectResults(Store &store);

} // namespace korvan
