#pragma once

#include "gui/widgets/CursorModel.h"
#include "gui/widgets/TypingGrid.h"

namespace korvan {

// A data grid over one cursor: the grid's current row and the cursor's current record follow
// each other both ways, so clicking a row makes it current (and the detail grids follow), and
// any move of the cursor elsewhere shows here. Read-only unless setReadOnly(false).
class CursorGrid : public TypingGrid {
    Q_OBJECT
public:
    explicit CursorGrid(TTable *table, QWidget *parent = nullptr);

    CursorModel *cursorModel() const { return m_model; }
    TTable *table() const { return m_model->table(); }

    void setColumns(const QVector<CursorModel::Column> &columns);
    void setReadOnly(bool on);
    void setDefaultBackground(const QColor &color);

    // The field shown at a point of the viewport, empty outside the data cells.
    QString fieldAt(const QPoint &viewportPos) const;
    // The field of the grid's current column.
    QString currentField() const;

signals:
    // The mouse moved onto another column (or off the cells: an empty field).
    void mouseOverField(const QString &tableName, const QString &fieldName);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void widenColumns();
    void followCursor();
    void onCurrentRowChanged(const QModelIndex &current, const QModelIndex &previous);
    void reportField(const QString &field);

    CursorModel *m_model;
    bool m_syncing = false;
    QString m_hoveredField;
    bool m_hovering = false;
};

} // namespace korvan
