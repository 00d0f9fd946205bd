#include "GraphCellDelegate.h"

#include "ui/NumericEdit.h"

namespace korvan {

QWidget *GraphCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *editor = new NumericEdit(NumericEdit::Decimal, parent);
    editor->setObjectName(QStringLiteral("CellEditor"));
    editor->setFrame(false);
    editor->setAlignment(Qt::AlignRight);
    // Every key counts at once, as in a spreadsheet: the buttons and the chart follow the typing.
    auto *self = const_cast<GraphCellDelegate *>(this);
    connect(editor, &QLineEdit::textEdited, self, [self, editor] { emit self->commitData(editor); });
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
