#pragma once

#include <QString>
#include <optional>

namespace korvan {

// The messages of the number checks of every dialog, built from the field's description in the
// genitive ("поля \"Начало замеров, ч\"", "коэффициента мощности"). Nothing when the text passes.
std::optional<QString> numberProblem(const QString &text, const QString &description);
std::optional<QString> positiveNumberProblem(const QString &text, const QString &description);

// The text as a number, for texts that passed the checks above.
double numberValue(const QString &text);

} // namespace korvan
