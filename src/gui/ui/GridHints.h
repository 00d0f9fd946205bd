#pragma once

#include <QStringList>
#include <functional>

class QTableWidget;

namespace korvan {

class CursorGrid;
class TDataModule1;
class THintForm;

// What a grid's field hints need: the data, the hint dialog and where a hint under the mouse is
// shown (the main window's status bar, whichever window the grid is in).
struct HintServices {
    TDataModule1 *data = nullptr;
    THintForm *form = nullptr;
    std::function<void(const QString &)> showHint;
};

// Gives a data grid its hints: the hint of the column under the mouse (empty over the row
// indicator and off the cells), and the pop-up menu "Подключение подсказки..." /
// "Отключение подсказки", which acts on the current column; a press of any button makes the
// pressed cell current, so a right-click chooses the column.
void attachHints(CursorGrid *grid, const HintServices &services);
// The same for a string grid whose columns show the fields of one table.
void attachHints(QTableWidget *grid, const QString &tableName, const QStringList &fields, const HintServices &services);

} // namespace korvan
