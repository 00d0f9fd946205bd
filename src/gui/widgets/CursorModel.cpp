#include "gui/widgets/CursorModel.h"

#include "core/calc/Numbers.h"
#include "core/data/TTable.h"
#include "gui/ui/CommandGuard.h"

#include <QBrush>
#include <QLocale>

#include <cmath>

namespace korvan {

CursorModel::CursorModel(TTable *table, QObject *parent) : QAbstractTableModel(parent), m_table(table)
{
    connect(table, &TTable::rowsChanged, this, &CursorModel::onRowsChanged);
    connect(table, &TTable::currentChanged, this, &CursorModel::onCurrentChanged);
    connect(table, &TTable::stateChanged, this, &CursorModel::onCurrentChanged);
    m_rowCount = table->active() ? table->recordCount() : 0;
}

void CursorModel::setColumns(const QVector<Column> &columns)
{
    beginResetModel();
    m_columns = columns;
    m_positions.clear();
    for (const Column &c : m_columns)
        m_positions << (c.computed ? -1 : m_table->fieldIndex(c.field));
    m_rowCount = m_table->active() ? m_table->recordCount() : 0;
    endResetModel();
    emit rowsReset();
}

QString CursorModel::fieldAt(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns[column].field : QString();
}

int CursorModel::columnOf(const QString &field) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].field == field)
            return i;
    return -1;
}

int CursorModel::fieldPosition(int column) const { return m_positions.value(column, -1); }

int CursorModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rowCount; }

int CursorModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_columns.size()); }

namespace {

// The start and end of a load period, in hours.
bool isPeriodTime(const char *field) { return qstrcmp(field, "T1") == 0 || qstrcmp(field, "T2") == 0; }

double fourDecimals(double hours) { return std::nearbyint(hours * 10000.0) / 10000.0; }

bool wholeMinutes(double hours)
{
    const double minutes = hours * 60.0;
    return std::fabs(minutes - std::nearbyint(minutes)) < 1e-6;
}

// A time as hours and minutes, 23:59.
QString clockText(double hours)
{
    const auto m = qint64(std::nearbyint(hours * 60.0));
    return QStringLiteral("%1:%2").arg(m / 60).arg(m % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

// A period's time at its own precision: up to 4 decimals as typed (0,25; 7,5); in a graph of
// whole minutes that decimals would cut (a one-minute graph's 23,983333...) every time shows as
// hours and minutes, 23:59, so that the column reads one way.
QString CursorModel::periodTimeText(double hours) const
{
    if (!m_timesInMinutes) {
        bool cut = false, allMinutes = true;
        const int columns = int(m_table->def().fields.size());
        for (int column = 0; column < columns && allMinutes; ++column) {
            if (!isPeriodTime(m_table->fieldDef(column).name))
                continue;
            for (const TTable::Row &row : m_table->rows()) {
                if (row[column].isNull())
                    continue;
                const double t = row[column].toDouble();
                allMinutes = allMinutes && wholeMinutes(t);
                cut = cut || std::fabs(t - fourDecimals(t)) >= 1e-9;
            }
        }
        m_timesInMinutes = cut && allMinutes;
    }
    if (*m_timesInMinutes)
        return clockText(hours);
    const double shown = fourDecimals(hours);
    return std::fabs(hours - shown) < 1e-9 ? numberText(shown) : QLocale(QLocale::Russian).toString(shown, 'f', 4);
}

QVariant CursorModel::data(const QModelIndex &index, int role) const
{
    if (!m_table || !index.isValid() || index.column() >= m_columns.size())
        return {};
    const int position = fieldPosition(index.column());
    if (const auto &computed = m_columns[index.column()].computed) {
        const auto &rows = m_table->rows();
        if (index.row() >= rows.size())
            return {};
        const QVariant v = computed(rows[index.row()], role);
        if (v.isValid() || role != Qt::BackgroundRole)
            return v;
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        // Read the rows in place: painting must never move the cursor.
        const auto &rows = m_table->rows();
        if (index.row() >= rows.size())
            return {};
        const QVariant &value = rows[index.row()][position];
        if (role == Qt::DisplayRole && isPeriodTime(m_table->fieldDef(position).name) && !value.isNull())
            return periodTimeText(value.toDouble());
        return m_table->valueText(position, value);
    }
    case Qt::BackgroundRole: {
        const QColor &c = m_columns[index.column()].background;
        if (c.isValid())
            return QBrush(c);
        return m_background.isValid() ? QVariant(QBrush(m_background)) : QVariant();
    }
    case Qt::TextAlignmentRole: {
        const FieldType t = m_table->fieldDef(position).type;
        const bool number = t == FieldType::Float || t == FieldType::Integer || t == FieldType::AutoInc;
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant CursorModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !m_table)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_columns.size())
            return {};
        const Column &c = m_columns[section];
        return c.title.isEmpty() && !c.computed ? m_table->displayLabel(fieldPosition(section)) : c.title;
    }
    // The record indicator: the current row, and whether it is being edited or inserted.
    if (section != m_table->recNo())
        return QString();
    switch (m_table->state()) {
    case TTable::State::Edit:
        return QStringLiteral("I");
    case TTable::State::Insert:
        return QStringLiteral("*");
    default:
        return QStringLiteral("►");
    }
}

Qt::ItemFlags CursorModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && m_columns[index.column()].computed) {
        if (!m_readOnly && m_columns[index.column()].write)
            f |= Qt::ItemIsEditable;
        return f;
    }
    if (index.isValid() && !m_readOnly && !m_columns[index.column()].readOnly &&
        m_table->fieldDef(fieldPosition(index.column())).type != FieldType::AutoInc)
        f |= Qt::ItemIsEditable;
    return f;
}

bool CursorModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    TTable &t = *m_table;
    if (const auto &write = m_columns[index.column()].write) {
        return runGuarded([&] {
            if (index.row() < t.rows().size())
                write(t.rows()[index.row()], value.toString());
            emit dataChanged(index, index);
        });
    }
    const int position = fieldPosition(index.column());
    return runGuarded([&] {
        if (t.recNo() != index.row())
            t.moveTo(index.row());
        if (t.valueText(position, t.value(position)) == value.toString())
            return; // unchanged: no edit state for nothing
        t.edit();
        t.setAsString(position, value.toString());
    });
}

void CursorModel::onRowsChanged()
{
    if (!m_table)
        return;
    m_timesInMinutes.reset();
    const int count = m_table->active() ? m_table->recordCount() : 0;
    if (count == m_rowCount) {
        // Same shape: repaint in place, so the views keep their scroll position.
        if (count > 0 && !m_columns.isEmpty())
            emit dataChanged(index(0, 0), index(count - 1, int(m_columns.size()) - 1));
        emit headerDataChanged(Qt::Vertical, 0, qMax(0, count - 1));
    } else {
        beginResetModel();
        m_rowCount = count;
        endResetModel();
    }
    m_markedRow = m_table->recNo();
    emit rowsReset();
}

void CursorModel::onCurrentChanged()
{
    if (!m_table)
        return;
    const int count = m_table->active() ? m_table->recordCount() : 0;
    if (count != m_rowCount) {
        onRowsChanged();
        return;
    }
    const int row = m_table->recNo();
    for (int r : {m_markedRow, row})
        if (r >= 0 && r < m_rowCount) {
            if (!m_columns.isEmpty())
                emit dataChanged(index(r, 0), index(r, int(m_columns.size()) - 1));
            emit headerDataChanged(Qt::Vertical, r, r);
        }
    m_markedRow = row;
}

} // namespace korvan
