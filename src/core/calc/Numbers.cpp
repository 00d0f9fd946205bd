#include "core/calc/Numbers.h"

#include <QLocale>
#include <cfenv>
#include <cmath>

namespace korvan {

double R(double x, int d)
{
    // 10^-d written as the literal the formulas use, not computed with pow().
    double step = 1.0;
    switch (d) {
    case 0:
        step = 1.0;
        break;
    case 1:
        step = 0.1;
        break;
    case 2:
        step = 0.01;
        break;
    case 3:
        step = 0.001;
        break;
    case 4:
        step = 0.0001;
        break;
    default:
        step = std::pow(10.0, -d);
        break;
    }
    return std::nearbyint(x / step) * step;
}

static const QLocale &russian()
{
    static const QLocale locale = [] {
        QLocale l(QLocale::Russian, QLocale::Ukraine);
        l.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
        return l;
    }();
    return locale;
}

QString numberText(double x)
{
    if (x == 0.0)
        return QStringLiteral("0"); // no "-0"
    return russian().toString(x, 'g', 15);
}

QString exactNumberText(double x)
{
    if (x == 0.0)
        return QStringLiteral("0");
    return russian().toString(x, 'g', QLocale::FloatingPointShortest);
}

std::optional<double> parseNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    // Only digits, one sign, one comma and an exponent: QLocale alone would accept more.
    bool ok = false;
    const double v = russian().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<double> parseEitherDecimal(const QString &text)
{
    return parseNumber(QString(text).replace(QLatin1Char('.'), QLatin1Char(',')));
}

double roundHalfAway(double x) { return std::round(x); }

double roundHalfEven(double x) { return std::nearbyint(x); }

} // namespace korvan
