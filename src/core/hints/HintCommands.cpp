#include "core/hints/HintCommands.h"
#include "core/data/Fields.h"

#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/data/TTable.h"
#include "core/Messages.h"

namespace korvan {

namespace {

// Puts the cursor on the record of the key; a filtered cursor shows all hints again first, as
// the record may be hidden by the filter.
bool locateHint(TTable &hints, const HintKey &key)
{
    if (hints.filtered())
        hints.setFiltered(false);
    return hints.locate(QStringList{fld::TableName, fld::FieldName}, QVariantList{key.table, key.field});
}

} // namespace

std::optional<QString> FindHint(const TDataModule1 &data, const HintKey &key)
{
    TTable all(data.store(), data.TableHints->tableName());
    all.open();
    const int table = all.fieldIndex(fld::TableName);
    const int field = all.fieldIndex(fld::FieldName);
    const int hint = all.fieldIndex(fld::FieldHint);
    for (const TTable::Row &row : all.rows())
        if (row[table].toString() == key.table && row[field].toString() == key.field)
            return row[hint].toString();
    return std::nullopt;
}

void EditHint(TDataModule1 &data, const HintKey &key, const QString &text)
{
    if (key.isEmpty())
        throw KorvanError(QStringLiteral("Поле для подсказки не определено."));
    TTable &hints = *data.TableHints;
    Store::Transaction tx(data.store());
    hints.checkBrowseMode();
    if (locateHint(hints, key)) {
        hints.edit();
    } else {
        hints.append();
        hints.setValue(fld::TableName, key.table);
        hints.setValue(fld::FieldName, key.field);
    }
    hints.setValue(fld::FieldHint, text.left(MaxHintLength));
    hints.post();
    tx.commit();
}

bool RemoveHint(TDataModule1 &data, const HintKey &key)
{
    if (key.isEmpty())
        return false;
    TTable &hints = *data.TableHints;
    Store::Transaction tx(data.store());
    hints.checkBrowseMode();
    const bool found = locateHint(hints, key);
    if (found)
        hints.remove();
    tx.commit();
    return found;
}

} // namespace korvan
