#include "NumericChecks.h"

#include "calc/Numbers.h"

namespace korvan {

std::optional<QString> numberProblem(const QString &text, const QString &description, bool acceptPoint)
{
    if (text.isEmpty())
        return QStringLiteral("Введите значение %1.").arg(description);
    if (!parseNumber(text, acceptPoint))
        return QStringLiteral("\"%1\" - некорректное значение для %2.").arg(text, description);
    return std::nullopt;
}

std::optional<QString> positiveNumberProblem(const QString &text, const QString &description, bool acceptPoint)
{
    if (auto problem = numberProblem(text, description, acceptPoint))
        return problem;
    if (!(*parseNumber(text, acceptPoint) > 0))
        return QStringLiteral("Значение %1 должно быть больше 0.").arg(description);
    return std::nullopt;
}

double numberValue(const QString &text, bool acceptPoint) { return parseNumber(text, acceptPoint).value_or(0.0); }

} // namespace korvan
