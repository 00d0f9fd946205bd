#pragma once

#include <QJsonValue>
#include <QString>

#include <initializer_list>
#include <limits>

namespace korvan::cli {

// What a JSON value may be. A number may also be written as text ("0,92" or "0.92").
enum class JsonKind { Text, Number, Integer, Object, Array, IntegerArray };

struct JsonShape;

// One key of an object that the program reads. Adding a key to an input is one line in the
// tables of JsonShape.cpp: the checks and the README's tables both come from them.
struct JsonKey {
    const char *name;
    JsonKind kind;
    bool required = false;
    const char *meaning = "";
    // Objects: their keys; arrays: the keys of each element (every element is an object).
    const JsonShape *nested = nullptr;
    // Texts: the table field that keeps them, "table.field"; longer texts are refused.
    const char *storedIn = nullptr;
    // Numbers (and each element of an IntegerArray): the accepted range. Lower bounds only where the windows cannot
    // produce the value (they refuse the rest themselves, with their own messages).
    double min = -std::numeric_limits<double>::infinity();
    double max = std::numeric_limits<double>::infinity();
    // A key of the same object that may not be given together with this one.
    const char *excludes = nullptr;
    // Arrays: the most elements taken (0: no limit), refused before any element is looked at.
    qsizetype maxItems = 0;
};

struct JsonShape {
    const char *title; // the README's heading of the table
    std::initializer_list<JsonKey> keys;
};

// A whole input: what its top level is and the shapes below it.
struct JsonInput {
    const char *command;
    JsonKey root; // name unused
};

const JsonInput &projectInput();   // import
const JsonInput &catalogueInput(); // catalogue-import

// Refuses, naming the path of the key ("variants[2].Cosf_min"), a value that is not of its shape:
// unknown or missing keys, wrong JSON types, texts with characters the windows cannot type or
// longer than their field, numbers that are not numbers or beyond their limits.
void checkJson(const JsonInput &input, const QJsonValue &value);

// The README's tables of an input: one table per object shape, in the order they are first met.
QString markdownTables(const JsonInput &input);

// The text's problem as an input for a field of that size (0: no limit): characters the windows
// cannot type (control characters, a lone half of a surrogate pair) or too many of them.
QString textProblem(const QString &text, int maxLength, bool multiline);

} // namespace korvan::cli
