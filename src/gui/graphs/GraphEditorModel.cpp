#include "gui/graphs/GraphEditorModel.h"

#include "core/graphs/GraphEditorTable.h"

namespace korvan {

GraphEditorModel::GraphEditorModel(GraphEditorTable &table, QObject *parent)
    : QAbstractTableModel(parent), m_table(table)
{
}

void GraphEditorModel::reload()
{
    beginResetModel();
    endResetModel();
}

int GraphEditorModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_table.rowCount(); }

int GraphEditorModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : GraphEditorTable::Columns;
}

QVariant GraphEditorModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_table.cell(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant GraphEditorModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_table.headers().value(section);
    return QString::number(section + 1);
}

Qt::ItemFlags GraphEditorModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool GraphEditorModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    if (text == m_table.cell(index.row(), index.column()))
        return true;
    m_table.setCell(index.row(), index.column(), text);
    emit dataChanged(index, index);
    emit cellEdited();
    return true;
}

} // namespace korvan
