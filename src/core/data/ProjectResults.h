#pragma once

#include <QList>
#include <QtGlobal>

namespace korvan {

class Store;
class TTable;
struct CompensatedValues;

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
// Those of one variant alone, after a command that changed nothing else of its project (a variant
// added or built anew): its savings are taken against the project's totals as stored.
void refreshVariantResults(Store &store, qint64 projectKod, qint64 variantKod);

// The same for several projects (a catalogue type used by many), and for every project of the
// store (a change of the rules).
void refreshProjectResults(Store &store, const QList<qint64> &projectKods);
void refreshAllProjectResults(Store &store);

// Puts a compensated period's values into the row being written, as the results store them, so
// that a command building many periods writes each row once, complete, and the refresh after it
// finds nothing left to write there.
void setCompensatedResults(TTable &period, const CompensatedValues &values);

} // namespace korvan
