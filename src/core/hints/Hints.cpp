#include "core/hints/Hints.h"
#include "core/data/Fields.h"

#include "core/data/TDataModule1.h"
#include "core/data/TTable.h"

#include <QLocale>

namespace korvan {

QString LookUpHint(const TTable &hints, const QString &tableName, const QString &fieldName)
{
    const int table = hints.fieldIndex(fld::TableName);
    const int field = hints.fieldIndex(fld::FieldName);
    const int hint = hints.fieldIndex(fld::FieldHint);
    for (const TTable::Row &row : hints.rows()) {
        if (row[table].toString() == tableName && row[field].toString() == fieldName)
            return row[hint].toString();
    }
    return {};
}

QString LookUpHint(const TDataModule1 &data, const QString &tableName, const QString &fieldName)
{
    TTable &hints = *data.TableHints;
    if (!hints.filtered())
        return LookUpHint(hints, tableName, fieldName);
    // A filtered cursor shows only some of the hints; read them all from a cursor of our own.
    TTable all(hints.store(), hints.tableName());
    all.open();
    return LookUpHint(all, tableName, fieldName);
}

QString HintLegendForm(const QString &hint)
{
    if (hint.isEmpty())
        return hint;
    // A letter outside the basic plane takes two code units.
    const qsizetype first = hint.at(0).isHighSurrogate() && hint.size() > 1 ? 2 : 1;
    return QLocale(QLocale::Russian).toLower(hint.left(first)) + hint.mid(first);
}

} // namespace korvan
