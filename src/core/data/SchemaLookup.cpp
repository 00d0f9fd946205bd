#include "core/data/Schema.h"

#include <QHash>

namespace korvan {

int TableDef::fieldIndex(const QString &field) const
{
    // Field access by name is the hot path of every calculation: look names up in a hash.
    static QHash<const TableDef *, QHash<QString, int>> indexes;
    auto it = indexes.find(this);
    if (it == indexes.end()) {
        QHash<QString, int> byName;
        for (size_t i = 0; i < fields.size(); ++i)
            byName.insert(QLatin1String(fields[i].name), int(i));
        it = indexes.insert(this, byName);
    }
    return it->value(field, -1);
}

const IndexDef *TableDef::index(const QString &indexName) const
{
    for (const IndexDef &ix : indexes)
        if (indexName == QLatin1String(ix.name))
            return &ix;
    return nullptr;
}

const TableDef *tableDef(const QString &name)
{
    for (const TableDef *t : allTables())
        if (name == QLatin1String(t->name))
            return t;
    return nullptr;
}

QString sqlType(const FieldDef &field)
{
    switch (field.type) {
    case FieldType::AutoInc:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case FieldType::Integer:
        return QStringLiteral("INTEGER");
    case FieldType::Float:
        return QStringLiteral("DOUBLE");
    case FieldType::String:
        return QStringLiteral("VARCHAR(%1)").arg(field.size);
    case FieldType::Date:
        return QStringLiteral("DATE");
    case FieldType::Time:
        return QStringLiteral("TIME");
    case FieldType::Memo:
        return QStringLiteral("MEMO");
    case FieldType::Boolean:
        return QStringLiteral("BOOLEAN");
    }
    return {};
}

} // namespace korvan
