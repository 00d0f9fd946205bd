#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace korvan {
class TTable;
}

namespace korvan::cli {

// JSON written by hand where the order of the keys is part of the output (fields in table order).
namespace json {
QByteArray string(const QString &text);
// A stored value: numbers in their shortest exact form, dates "YYYY-MM-DD", times "HH:MM:SS".
QByteArray value(const QVariant &value);
// The current row: every field by name, in table order; extra members (already JSON) appended.
QByteArray row(const TTable &table, const QList<QPair<QString, QByteArray>> &extra = {});
QByteArray array(const QList<QByteArray> &items);
QByteArray object(const QList<QPair<QString, QByteArray>> &members);
} // namespace json

} // namespace korvan::cli
