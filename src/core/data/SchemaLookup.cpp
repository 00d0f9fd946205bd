#include "core/data/Schema.h"

#include <array>
#include <memory>

#include <QHash>

namespace korvan {

// Field access by name is the hot path of every calculation. The program names fields by the
// fld:: constants, so the same few texts come again and again: a small table remembers, by the
// text's address, where each was found. A remembered copy holds its text alive and unchanged (a
// shared text is copied before it is written), so the same address and length mean the same name;
// anything else is looked up in the hash of names.
struct FieldLookup {
    struct Recent {
        QString name;
        int index = -1;
    };
    QHash<QString, int> byName;
    std::array<Recent, 256> recent;
};

FieldLookup &fieldLookupOf(const TableDef &table)
{
    static QHash<const TableDef *, std::shared_ptr<FieldLookup>> lookups;
    std::shared_ptr<FieldLookup> &made = lookups[&table];
    if (!made) {
        made = std::make_shared<FieldLookup>();
        for (size_t i = 0; i < table.fields.size(); ++i)
            made->byName.insert(QLatin1String(table.fields[i].name), int(i));
    }
    return *made;
}

int fieldIndexIn(FieldLookup &lookup, const QString &field)
{
    // Neighbouring texts lie a few bytes apart: spread their addresses over the table.
    const quint64 spread = quint64(quintptr(field.constData())) * 0x9E3779B97F4A7C15ull;
    static_assert(std::tuple_size_v<decltype(FieldLookup::recent)> == 256);
    FieldLookup::Recent &slot = lookup.recent[spread >> 56];
    if (slot.name.constData() == field.constData() && slot.name.size() == field.size() && !field.isNull())
        return slot.index;
    const int index = lookup.byName.value(field, -1);
    slot = FieldLookup::Recent{field, index};
    return index;
}

int TableDef::fieldIndex(const QString &field) const { return fieldIndexIn(fieldLookupOf(*this), field); }

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
