#include "gui/graphs/GraphCellDelegate.h"

#include "gui/widgets/NumericEdit.h"

#include <QPersistentModelIndex>

namespace korvan {

GraphCellDelegate::GraphCellDelegate(QObject *parent) : QStyledItemDelegate(parent)
{
    // The keys typed so far are in the cell already: Escape (a close that reverts) takes them back.
    connect(this, &QAbstractItemDelegate::closeEditor, this, [this](QWidget *editor, EndEditHint hint) {
        if (editor != m_editor)
            return;
        m_editor = nullptr; // closed: nothing left to commit
        if (hint == RevertModelCache && m_index.isValid())
            const_cast<QAbstractItemModel *>(m_index.model())->setData(m_index, m_original, Qt::EditRole);
    });
}

QWidget *GraphCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    auto *editor = new NumericEdit(NumericEdit::Decimal, parent);
    editor->setObjectName(QStringLiteral("CellEditor"));
    editor->setFrame(false);
    editor->setAlignment(Qt::AlignRight);
    // Every key counts at once, as in a spreadsheet: the buttons and the chart follow the typing.
    auto *self = const_cast<GraphCellDelegate *>(this);
    connect(editor, &QLineEdit::textEdited, self, [self, editor] { emit self->commitData(editor); });
    m_editor = editor;
    m_index = index;
    m_original = index.data(Qt::EditRole).toString();
    return editor;
}

void GraphCellDelegate::commitOpenEditor()
{
    if (!m_editor)
        return;
    QWidget *editor = m_editor;
    m_editor = nullptr;
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
}

} // namespace korvan
