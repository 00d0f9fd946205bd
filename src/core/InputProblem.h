#pragma once

#include "core/Messages.h"

#include <QString>
#include <optional>

namespace korvan {

// A refused input: the message to show and which of the dialog's fields gets the focus.
struct InputProblem {
    int field = -1;
    QString message;
};

// A command refused its input; the field is the one the dialog would focus.
class InputError : public KorvanError {
public:
    explicit InputError(const InputProblem &problem) : KorvanError(problem.message), m_field(problem.field) {}
    int field() const { return m_field; }

private:
    int m_field;
};

inline void throwIf(const std::optional<InputProblem> &problem)
{
    if (problem)
        throw InputError(*problem);
}

} // namespace korvan
