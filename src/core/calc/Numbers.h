#pragma once

#include <QString>
#include <optional>

namespace korvan {

// R(x, d): x to d decimals, halves to the even neighbour. Computed as x / 10^-d, rounded, times
// 10^-d, in double and in exactly this order, so that the stored values match the worked
// examples to the last digit (x * 100 or std::round give other results on ties).
double R(double x, int d);

// A number as the program shows it: general format, up to 15 significant digits, a comma as
// the decimal separator whatever the machine's locale ("0,2" for 0.3 - 0.1). No value within the
// program's limits is in exponent form: from 10^15 to 10^19 a value is written whole, below 10^-4
// in plain decimals; beyond 10^19 (only absurd input that is refused) it keeps its exponent.
QString numberText(double x);
// x to exactly that many decimals, in the same notation ("5,709000").
QString fixedText(double x, int decimals);

// The Russian form of a noun after a number: one (1, 21, 101 ...), few (2-4, 22-24 ...) or many
// (0, 5-20, 25 ...); a number with a fraction takes the few form («0,98 года»).
QString russianPlural(double n, const QString &one, const QString &few, const QString &many);

// The shortest text that reads back as exactly this double (for numbers that come from files,
// which must not lose digits on their way through the text checks).
QString exactNumberText(double x);

// Parses a number typed by the user. The comma is the decimal separator (the command-line
// program turns points into commas as it reads its input). Surrounding spaces are ignored. Returns
// nothing for empty or malformed text.
std::optional<double> parseNumber(const QString &text);
// The same for numbers that come from outside the input fields (meter files, searches in a
// table), where a point may stand for the decimal comma.
std::optional<double> parseEitherDecimal(const QString &text);

// Whole number, halves away from zero (a value written as text without decimals). In double:
// a fixed-width integer would overflow on large values.
double roundHalfAway(double x);
// Whole number, halves to even, in double.
double roundHalfEven(double x);

} // namespace korvan
