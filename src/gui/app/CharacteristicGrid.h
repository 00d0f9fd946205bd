#pragma once

#include <QTableWidget>

namespace korvan {

// One of the main window's characteristic grids: a header row and one value row.
class CharacteristicGrid : public QTableWidget {
    Q_OBJECT
public:
    CharacteristicGrid(int columns, const QColor &valueColor, QWidget *parent = nullptr);

    void setHeaders(const QStringList &headers);
    // Empty texts for no values.
    void setValues(const QStringList &values);
    QString header(int column) const;
    QString value(int column) const;
    // The column under a point of the viewport, -1 outside the cells.
    int columnAtPoint(const QPoint &viewportPos) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {120, height()}; }

private:
    void fitColumns();
    QColor m_valueColor;
};

} // namespace korvan
