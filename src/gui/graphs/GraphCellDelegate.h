#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

namespace korvan {

// Cells of the load graph editor are typed through a numeric field, so every key passes the
// decimal key filter. Each key is written to the cell at once; Escape puts back the text the
// cell had when its editor opened. The open editor can be committed before a command reads the
// table.
class GraphCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GraphCellDelegate(QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // Writes the text being typed into its cell and closes the editor.
    void commitOpenEditor();
    QWidget *openEditor() const { return m_editor; }

private:
    mutable QPointer<QWidget> m_editor;
    mutable QPersistentModelIndex m_index; // the open editor's cell
    mutable QString m_original;            // and its text before typing
};

} // namespace korvan
