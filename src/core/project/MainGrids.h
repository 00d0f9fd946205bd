#pragma once

#include <QList>
#include <QString>

namespace korvan {

// The columns of the main window's grids: the field each shows, its title and the block it belongs
// to. The window builds its grids from these (the block gives the colour) and the reports and
// charts write the same titles, so they never drift apart.
enum class ColumnBlock { Plain, Monthly, Yearly };

struct GridColumn {
    QString field;
    QString title;
    ColumnBlock block = ColumnBlock::Plain;
};

// Data grids: DBGrid1 load periods (project1.db), DBGrid2 variants (project2.db), DBGrid3
// compensated periods (project3.DB), DBGrid4 and DBGrid5 modules (project5.DB, project4.DB).
const QList<GridColumn> &loadPeriodColumns();
const QList<GridColumn> &variantColumns();
const QList<GridColumn> &compensatedPeriodColumns();
const QList<GridColumn> &moduleColumns();

// Characteristic grids without compensation, StrGridS, StrGridM and StrGridG: row 0 holds the
// titles, row 1 the project0.db field of each column.
const QList<GridColumn> &dailyCharacteristicColumns();
const QList<GridColumn> &monthlyCharacteristicColumns();
const QList<GridColumn> &yearlyCharacteristicColumns();

// The columns from the one showing `first` to the one showing `last`, both included; empty when
// either is not there.
QList<GridColumn> gridColumnRange(const QList<GridColumn> &columns, const QString &first, const QString &last);
// The title of the column showing the field, or an empty text.
QString gridColumnTitle(const QList<GridColumn> &columns, const QString &field);
// The fields and the titles of the columns, in order.
QStringList gridColumnFields(const QList<GridColumn> &columns);
QStringList gridColumnTitles(const QList<GridColumn> &columns);

} // namespace korvan
