#include "core/data/StoreCopy.h"
#include "core/data/Fields.h"

#include "core/data/Engine.h"
#include "core/data/Schema.h"
#include "core/data/Statement.h"
#include "core/data/Store.h"
#include "core/Messages.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace korvan {

namespace {

using Row = QList<QVariant>;

// Old key of a source row -> its key in the target, and whether the row was copied (not merged
// into a row the target had): what belongs to a merged row stays the target's own.
struct Mapped {
    qint64 kod = 0;
    bool copied = false;
};
using KeyMap = QHash<qint64, Mapped>;

struct CopiedTable {
    QString name;
    QStringList matchBy;                  // merging: the row the target already has, by these (Kod0 mapped)
    QList<QPair<QString, QString>> links; // column -> the table whose keys it holds
    bool onlyUnderCopied;                 // rows of a merged master are the target's already
};

// Catalogues first, then the projects that refer to them.
const QList<CopiedTable> &copiedTables()
{
    static const QList<CopiedTable> tables{
        {tbl::sKU0, {fld::Company}, {}, false},
        {tbl::sKU1, {fld::Kod0, fld::Name}, {{fld::Kod0, tbl::sKU0}}, false},
        {tbl::sKU2, {}, {{fld::Kod0, tbl::sKU1}}, true},
        {tbl::Hints, {fld::TableName, fld::FieldName}, {}, false},
        {tbl::sSutGraphic0, {fld::Otrasl}, {}, false},
        {tbl::sSutGraphic1, {fld::Kod0, fld::Name}, {{fld::Kod0, tbl::sSutGraphic0}}, false},
        {tbl::sSutGraphic2, {}, {{fld::Kod0, tbl::sSutGraphic1}}, true},
        {tbl::report, {fld::Name}, {}, false},
        {tbl::project0, {}, {}, false},
        {tbl::project1, {}, {{fld::Kod0, tbl::project0}}, false},
        {tbl::project2, {}, {{fld::Kod0, tbl::project0}, {fld::KodKU0, tbl::sKU0}, {fld::KodKU1, tbl::sKU1}}, false},
        {tbl::project3, {}, {{fld::Kod0, tbl::project2}}, false},
        {tbl::project4, {}, {{fld::Kod0, tbl::project3}}, false},
        {tbl::project5, {}, {{fld::Kod0, tbl::project2}}, false},
        {tbl::sel_ku, {}, {{fld::Kod0, tbl::project0}, {fld::KodKU0, tbl::sKU0}, {fld::KodKU1, tbl::sKU1}}, false},
    };
    return tables;
}

// The tables beside the program's own: one row for a row of its owner, keyed by the owner's key.
struct BesideTable {
    QString name;
    QString owner;
};

const QList<BesideTable> &besideTables()
{
    static const QList<BesideTable> tables{
        {"supply.db", tbl::project0},
        {"sKU1_detuning.db", tbl::sKU1},
        {"project2_harmonics.db", tbl::project2},
        {"sel_ku_harmonics.db", tbl::sel_ku},
        {"report_resonance.db", tbl::report},
        {"econom.db", tbl::project0},
        {"econrep.db", tbl::report},
        {"report_front.db", tbl::report},
        {"report_engineer.db", tbl::report},
    };
    return tables;
}

QString quoted(const QString &name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

QList<Row> rowsOf(Store &store, const QString &table)
{
    const std::unique_ptr<Statement> q =
        store.engine().prepareOnce(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(quoted(table)));
    QList<Row> rows;
    while (q->next()) {
        Row row;
        for (int i = 0; i < q->columnCount(); ++i)
            row << q->column(i);
        rows << row;
    }
    return rows;
}

QStringList allTableNames()
{
    QStringList names;
    for (const CopiedTable &t : copiedTables())
        names << t.name;
    for (const BesideTable &t : besideTables())
        names << t.name;
    return names;
}

// A store is empty for copying when it holds exactly what a new store is made with.
bool holdsOnlyDeliveredContents(Store &store)
{
    const std::unique_ptr<Store> fresh = Store::openMemory();
    for (const QString &table : allTableNames())
        if (rowsOf(store, table) != rowsOf(*fresh, table))
            return false;
    return true;
}

} // namespace

StoreCopyCounts copyStore(Store &from, Store &to, bool merge)
{
    // Others may write to a shared source while it is read: every table comes from one snapshot,
    // so no project is copied with half of its rows.
    Store::Transaction snapshot(from, Store::Transaction::OnlyReading);
    Store::Transaction tx(to);
    const bool empty = holdsOnlyDeliveredContents(to);
    if (!empty && !merge)
        throw KorvanError(QStringLiteral("Хранилище «%1» уже содержит данные. Чтобы добавить к ним данные из «%2» "
                                         "(справочники объединяются по наименованиям, проекты добавляются), "
                                         "укажите --merge.")
                              .arg(to.place(), from.place()));
    if (empty) {
        // The delivered contents come with the copy, as the source has them now.
        for (const QString &table : allTableNames())
            to.exec(QStringLiteral("DELETE FROM %1").arg(quoted(table)));
        merge = false;
    }

    StoreCopyCounts counts;
    QHash<QString, KeyMap> maps;
    for (const CopiedTable &t : copiedTables()) {
        const TableDef *def = tableDef(t.name);
        KeyMap &map = maps[t.name];
        QStringList names, marks;
        for (size_t i = 1; i < def->fields.size(); ++i) {
            names << quoted(QLatin1String(def->fields[i].name));
            marks << QStringLiteral("?");
        }
        Statement &insert =
            to.prepared(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(quoted(t.name), names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
        QStringList where;
        for (const QString &c : t.matchBy)
            where << quoted(c) + QStringLiteral("=?");
        Statement *match = merge && !where.isEmpty()
                               ? &to.prepared(QStringLiteral("SELECT \"Kod\" FROM %1 WHERE %2 ORDER BY \"Kod\"")
                                                  .arg(quoted(t.name), where.join(QStringLiteral(" AND "))))
                               : nullptr;
        for (Row row : rowsOf(from, t.name)) {
            bool skip = false;
            for (const auto &[column, target] : t.links) {
                const int i = def->fieldIndex(column);
                if (row[i].isNull())
                    continue;
                const auto m = maps[target].constFind(row[i].toLongLong());
                if (m == maps[target].constEnd()) {
                    // A link to a row that is gone in the source points at nothing in the copy either.
                    row[i] = QVariant();
                    continue;
                }
                if (t.onlyUnderCopied && column == fld::Kod0 && !m->copied)
                    skip = true;
                row[i] = m->kod;
            }
            const qint64 old = row[0].toLongLong();
            if (skip)
                continue;
            if (match) {
                for (int i = 0; i < t.matchBy.size(); ++i)
                    match->bind(i, row[def->fieldIndex(t.matchBy[i])]);
                if (match->next()) {
                    map.insert(old, {match->column(0).toLongLong(), false});
                    match->reset();
                    continue;
                }
            }
            for (int i = 1; i < row.size(); ++i)
                insert.bind(i - 1, row[i]);
            insert.run();
            map.insert(old, {to.lastInsertId(), true});
            ++counts.rows;
            if (t.name == tbl::project0)
                ++counts.projects;
        }
    }
    for (const BesideTable &t : besideTables()) {
        const KeyMap &owners = maps[t.owner];
        for (Row row : rowsOf(from, t.name)) {
            const auto m = owners.constFind(row[0].toLongLong());
            if (m == owners.constEnd() || !m->copied)
                continue;
            row[0] = m->kod;
            Statement &insert = to.prepared(QStringLiteral("INSERT INTO %1 VALUES (?%2)")
                                                .arg(quoted(t.name), QStringLiteral(",?").repeated(row.size() - 1)));
            for (int i = 0; i < row.size(); ++i)
                insert.bind(i, row[i]);
            insert.run();
            ++counts.rows;
        }
    }
    tx.commit();
    snapshot.commit();
    return counts;
}

} // namespace korvan
