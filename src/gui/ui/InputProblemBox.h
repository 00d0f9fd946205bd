#pragma once

#include "InputProblem.h"

#include <QWidget>

namespace korvan {

// A dialog's answer to its refused input: the message box, then the focus on the field it names
// (fieldOf maps the problem's field number to the dialog's widget). True when input was refused.
template <class FieldOf>
bool refuseInput(const std::optional<InputProblem> &problem, FieldOf fieldOf)
{
    if (!problem)
        return false;
    Messages::error(problem->message);
    if (QWidget *w = fieldOf(problem->field))
        w->setFocus(Qt::OtherFocusReason);
    return true;
}

} // namespace korvan
