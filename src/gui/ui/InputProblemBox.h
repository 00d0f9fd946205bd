#pragma once

#include "core/InputProblem.h"
#include "core/Messages.h"

#include <QWidget>

namespace korvan {

// The message box, then the focus on the field the user must mend.
inline void refuseAt(QWidget *field, const QString &message)
{
    Messages::error(message);
    if (field)
        field->setFocus(Qt::OtherFocusReason);
}

// A dialog's answer to its refused input: the message box, then the focus on the field it names
// (fieldOf maps the problem's field number to the dialog's widget). True when input was refused.
template <class FieldOf>
bool refuseInput(const std::optional<InputProblem> &problem, FieldOf fieldOf)
{
    if (!problem)
        return false;
    refuseAt(fieldOf(problem->field), problem->message);
    return true;
}

} // namespace korvan
