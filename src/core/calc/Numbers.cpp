#include "core/calc/Numbers.h"

#include <QLocale>
#include <algorithm>
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
    const double a = std::fabs(x);
    if (!std::isfinite(x))
        return russian().toString(x, 'g', 15);
    // The general format turns to an exponent ("3,52165591005859E+15") outside [10^-4, 10^15).
    // Every value within the program's limits (a year's money at the largest powers and tariffs
    // stays below 10^19) is written whole; only a refused absurd input keeps its exponent, which
    // reads better in a message than three hundred digits.
    if (a >= 1e19)
        return russian().toString(x, 'g', 15);
    if (a >= 1e15)
        return russian().toString(x, 'f', 0);
    if (a >= 1e-4)
        return russian().toString(x, 'g', 15);
    // Fifteen significant digits, to at most 20 decimals; the zeros at the end go.
    const int decimals = std::min(20, 14 - int(std::floor(std::log10(a))));
    QString text = russian().toString(x, 'f', decimals);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u','))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString fixedText(double x, int decimals)
{
    QString text = russian().toString(x, 'f', decimals);
    // A value that rounds to zero is written without a sign.
    if (text.startsWith(u'-') && text.mid(1).count(u'0') + text.mid(1).count(u',') == text.size() - 1)
        text.remove(0, 1);
    return text;
}

QString russianPlural(double n, const QString &one, const QString &few, const QString &many)
{
    const double whole = std::floor(std::fabs(n));
    if (whole != std::fabs(n))
        return few;
    const long long tens = (long long)std::fmod(whole, 100);
    const long long units = tens % 10;
    if (tens >= 11 && tens <= 14)
        return many;
    if (units == 1)
        return one;
    if (units >= 2 && units <= 4)
        return few;
    return many;
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
