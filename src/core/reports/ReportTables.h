#pragma once

#include "core/project/MainGrids.h"

#include <QString>
#include <QStringList>

namespace korvan {

struct ReportContext;
class TTable;

// A titled table of the data set's records (a header of display labels, then one row per record,
// first to last, with "Вариант" and VarNum in front when asked), or of its current record turned
// sideways (hint, the title of the grid's column and the value for each field). A data set
// without records writes nothing, not even the title.
void WriteDataSetTable(ReportContext &report, const QString &title, TTable &dataSet, const QList<GridColumn> *grid,
                       bool variantColumn, bool transposed, const QStringList &fields);
// A titled three-column table of a characteristic grid: for every column the hint of its
// project0.db field, its title and the current project's value.
void WriteGridTable(ReportContext &report, const QString &title, const QList<GridColumn> &grid);
// The note "где ..." that explains the columns of a table in 10-point type: one line per column
// with a hint, "title - hint" with the hint's first letter lowered.
void WriteTableLegend(ReportContext &report, const QString &tableName, const QList<GridColumn> &columns,
                      bool variantLine);

} // namespace korvan
