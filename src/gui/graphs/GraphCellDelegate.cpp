#include "GraphCellDelegate.h"

#include "ui/NumericEdit.h"

namespace korvan {

QWidget *GraphCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *editor = new NumericEdit(NumericEdit::Decimal, parent);
    editor->setObjectName(QStringLiteral("CellEditor"));
    editor->setFrame(false);
    editor->setAlignment(Qt::AlignRight);
    m_editor = editor;
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
