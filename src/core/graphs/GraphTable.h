#pragma once

#include "core/calc/LoadPeriod.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace korvan {

// A refused cell of the graph table: its row and column (0 T1, 1 T2, 2 P, 3 Q) and the message.
struct GraphTableProblem {
    int row = -1;
    int column = -1;
    QString message;
};

// The checks of the graph editor's table, in their order, over the cell texts (each row four
// texts). percent: the typical graph mode, where P and Q are at most 100.
std::optional<GraphTableProblem> checkGraphTable(const QList<QStringList> &rows, bool percent);

class TTable;

// Appends and posts one row of the table per period, with T1, T2, P and Q.
void appendPeriods(TTable &table, const QList<LoadPeriod> &periods);

// The rows as numbers; only for rows that passed the checks.
QList<LoadPeriod> graphPeriods(const QList<QStringList> &rows);

} // namespace korvan
