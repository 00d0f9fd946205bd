#pragma once

#include <QString>
#include <vector>

namespace korvan {

enum class FieldType { AutoInc, Integer, Float, String, Date, Time, Memo, Boolean };

struct FieldDef {
    const char *name;
    FieldType type;
    int size;          // characters, for strings
    const char *label; // display label: default column title of grids and report tables
};

struct IndexPart {
    const char *field;
    bool descending;
};

struct IndexDef {
    const char *name;
    std::vector<IndexPart> parts;
};

struct TableDef {
    const char *name;      // the table's file name, as the hints and the reports know it
    const char *component; // the shared cursor's name in the data module
    const char *master;    // master table, linked through Kod0; nullptr for none
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;

    int fieldIndex(const QString &field) const;
    const IndexDef *index(const QString &indexName) const;
};

// The positions of one table's fields by name, made on the table's first lookup; a cursor keeps
// its table's at hand (the lookup of a name is the hot path of every calculation).
struct FieldLookup;
FieldLookup &fieldLookupOf(const TableDef &table);
int fieldIndexIn(FieldLookup &lookup, const QString &field);

// All tables in their opening order.
const std::vector<const TableDef *> &allTables();
// The table of that name (exact, case-sensitive), or nullptr.
const TableDef *tableDef(const QString &name);

// The SQL type a field is declared with, so the file reads naturally in any SQLite tool.
QString sqlType(const FieldDef &field);

} // namespace korvan
