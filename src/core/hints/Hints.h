#pragma once

#include <QString>

namespace korvan {

class TDataModule1;
class TTable;

// The hint of a table field: FieldHint of the first Hints.DB record whose TableName and FieldName
// equal the key exactly (letter case included), or an empty text when none does. Reads the rows
// without moving the shared cursor, so a window bound to it keeps its record.
QString LookUpHint(const TDataModule1 &data, const QString &tableName, const QString &fieldName);
QString LookUpHint(const TTable &hints, const QString &tableName, const QString &fieldName);

// The form a hint takes in a legend: its first letter in lower case (Cyrillic capitals too), the
// rest as stored.
QString HintLegendForm(const QString &hint);

} // namespace korvan
