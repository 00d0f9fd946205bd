#pragma once

#include <QHash>
#include <QtGlobal>

namespace korvan {

class Store;

// What an analysis row was evaluated with besides its own fields: the loss coefficient of the
// supply cables, kept in a table beside the program's own ("sel_ku_kp.db", one row per analysis
// row, gone with it), so that the row can be evaluated again when its project or its type changes.
// A row evaluated before it was kept counts with the dialog's default.
inline constexpr double DefaultKp = 0.12;

void createAnalysisInputTable(Store &store);
void setCandidateKp(Store &store, qint64 rowKod, double kp);
// The loss coefficients of a project's analysis rows, by the row's key.
QHash<qint64, double> candidateKps(Store &store, qint64 projectKod);

} // namespace korvan
