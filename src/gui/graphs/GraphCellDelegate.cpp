#include "GraphCellDelegate.h"

#include "ui/NumericEdit.h"

#include <QKeyEvent>

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

void GraphCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    QStyledItemDelegate::setEditorData(editor, index);
    if (editor == m_editor)
        m_original = index.data(Qt::EditRole).toString();
}

bool GraphCellDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(object);
    if (edit && edit == m_editor && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        // The keys typed so far are in the cell already: Escape takes them back.
        edit->setText(m_original);
        emit commitData(edit);
    }
    return QStyledItemDelegate::eventFilter(object, event);
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
