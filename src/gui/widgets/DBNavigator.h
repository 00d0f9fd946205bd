#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

class QToolButton;

namespace korvan {

class CursorGrid;
class TTable;

// The six record buttons under an editable grid: insert, delete, edit, post, cancel and
// refresh, acting on the grid's cursor. A refusal of a record hook has shown its message; the
// record then stays as it was. Deleting a stored row asks the delete check, when one is set.
class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { Insert, Delete, Edit, Post, Cancel, Refresh, ButtonCount };

    DBNavigator(TTable *table, QWidget *parent = nullptr);

    // The grid whose cell takes the focus after insert and edit, so typing goes straight in.
    void setGrid(CursorGrid *grid) { m_grid = grid; }
    QToolButton *button(Button b) const { return m_buttons[b]; }
    // Asked before a stored row is deleted: false keeps it (the check has asked or refused).
    void setDeleteCheck(std::function<bool()> check) { m_deleteCheck = std::move(check); }

public slots:
    void click(Button b);
    // Enables the buttons by the cursor's state.
    void updateButtons();

private:
    QPointer<TTable> m_table;
    QPointer<CursorGrid> m_grid;
    QToolButton *m_buttons[ButtonCount] = {};
    std::function<bool()> m_deleteCheck;
};

} // namespace korvan
