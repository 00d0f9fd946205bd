#include "gui/widgets/NumericEdit.h"

#include "gui/ui/Lib.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

namespace korvan {

NumericEdit::NumericEdit(Kind kind, QWidget *parent) : QLineEdit(parent), m_kind(kind) {}

void NumericEdit::keyPressEvent(QKeyEvent *event)
{
    // The point (the keypad's decimal key sends it on many layouts) types the decimal separator,
    // a comma: "0.95" typed is 0,95, not a silent "095".
    const bool keypadComma = (event->modifiers() & Qt::KeypadModifier) && event->key() == Qt::Key_Comma;
    if (m_kind == Decimal && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier)) &&
        (event->text() == QLatin1String(".") || keypadComma)) {
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
