#include "NumericEdit.h"

#include "Lib.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

namespace korvan {

NumericEdit::NumericEdit(Kind kind, QWidget *parent) : QLineEdit(parent), m_kind(kind) {}

void NumericEdit::keyPressEvent(QKeyEvent *event)
{
    // The keypad's decimal key types the decimal separator, a comma, on any keyboard layout.
    if (m_kind == Decimal && (event->modifiers() & Qt::KeypadModifier) &&
        (event->key() == Qt::Key_Period || event->key() == Qt::Key_Comma)) {
        insert(QStringLiteral(","));
        return;
    }
    const bool pass = m_kind == Decimal ? FilterDecimalKey(event) : FilterWholeKey(event);
    if (!pass) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumericEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // Focus that goes to another window (the message box itself, a menu) is not leaving the field.
    if (!m_exitCheck || m_checking || event->reason() == Qt::ActiveWindowFocusReason ||
        event->reason() == Qt::PopupFocusReason || !isVisible())
        return;
    QScopedValueRollback guard(m_checking, true);
    CheckNumberOnExit(this);
}

} // namespace korvan
