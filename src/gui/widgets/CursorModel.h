#pragma once

#include <QAbstractTableModel>
#include <optional>
#include <QColor>
#include <QPointer>
#include <QString>
#include <QVector>
#include <functional>

namespace korvan {

class TTable;

// The rows of a cursor as a table model: one column per chosen field, cells as the cursor shows
// them (numbers with the program's number format), the cursor's current row marked in the row
// header. Edits go into the cursor's edit buffer through edit() and setAsString(); the cursor
// posts them when it leaves the row, as a data-bound grid does.
class CursorModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        Column(const QString &field = {}, const QString &title = {}, const QColor &background = {},
               bool readOnly = false)
            : field(field), title(title), background(background), readOnly(readOnly)
        {
        }
        QString field;
        QString title;     // empty: the field's display label
        QColor background; // invalid: the model's default background
        bool readOnly = false;
        // A column kept beside the cursor's table (field empty): its cells from the row's stored
        // values by role, and, when editable, what to do with a typed text.
        std::function<QVariant(const QVector<QVariant> &row, int role)> computed;
        std::function<void(const QVector<QVariant> &row, const QString &text)> write;
    };

    explicit CursorModel(TTable *table, QObject *parent = nullptr);

    TTable *table() const { return m_table; }

    void setColumns(const QVector<Column> &columns);
    const QVector<Column> &columns() const { return m_columns; }
    // The field name of a column, empty outside the columns.
    QString fieldAt(int column) const;
    int columnOf(const QString &field) const;

    void setReadOnly(bool on) { m_readOnly = on; }
    bool readOnly() const { return m_readOnly; }
    void setDefaultBackground(const QColor &color) { m_background = color; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // The cursor re-read or changed its rows; the view restores its current row after it.
    void rowsReset();

private:
    void onRowsChanged();
    QString periodTimeText(double hours) const;
    void onCurrentChanged();
    int fieldPosition(int column) const;

    QPointer<TTable> m_table;
    QVector<Column> m_columns;
    QVector<int> m_positions; // field positions of the columns in the cursor's field list
    bool m_readOnly = true;
    QColor m_background;
    int m_rowCount = 0; // the row count the views were last told of
    // Whether the rows' period times are whole minutes that decimals would cut (a one-minute
    // graph): they then all show as hours and minutes. Worked out when first painted.
    mutable std::optional<bool> m_timesInMinutes;
    int m_markedRow = -1; // the row whose header shows the current-row mark
};

} // namespace korvan
