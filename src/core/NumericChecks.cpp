#include "core/NumericChecks.h"

#include "core/calc/Numbers.h"

namespace korvan {

std::optional<QString> numberProblem(const QString &text, const QString &description)
{
    if (text.isEmpty())
        return QStringLiteral("Введите значение %1.").arg(description);
    if (!parseNumber(text))
        return QStringLiteral("\"%1\" - некорректное значение для %2.").arg(text, description);
    return std::nullopt;
}

std::optional<QString> positiveNumberProblem(const QString &text, const QString &description)
{
    if (auto problem = numberProblem(text, description))
        return problem;
    if (!(*parseNumber(text) > 0))
        return QStringLiteral("Значение %1 должно быть больше 0.").arg(description);
    return std::nullopt;
}

double numberValue(const QString &text) { return parseNumber(text).value_or(0.0); }

} // namespace korvan
