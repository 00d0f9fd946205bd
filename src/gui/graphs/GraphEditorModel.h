#pragma once

#include <QAbstractTableModel>

namespace korvan {

class GraphEditorTable;

// The load graph editor's table as a grid model: the caller's four headers, data rows numbered
// from 1, every cell editable text.
class GraphEditorModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GraphEditorModel(GraphEditorTable &table, QObject *parent = nullptr);

    // After a command that changed the rows or the headers.
    void reload();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // The user changed a cell's text.
    void cellEdited();

private:
    GraphEditorTable &m_table;
};

} // namespace korvan
