#pragma once

#include "core/data/Schema.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <QVector>
#include <functional>
#include <optional>

namespace korvan {

class Statement;
class Store;

// A cursor on one table: the visible rows (the master link, the filter and the active index
// decide which and in what order), one current row, and the browse / edit / insert states with
// an edit buffer. Writes go to the store at once, each post or delete in its own transaction
// (nested in the command's when there is one).
//
// Details follow their master lazily: a move of the master marks them, and they re-select their
// rows at their next use, on their first row. Rows written by another cursor on the same table
// are seen at the next navigation.
class TTable : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Row = QVector<QVariant>;
    using Hook = std::function<void(TTable &)>;

    // One behaviour per record event. Setting a slot that already holds a hook is a programming
    // fault (the first behaviour would be silently lost), so it throws; clear() first to replace.
    class HookSlot {
    public:
        HookSlot &operator=(Hook hook); // an empty hook clears the slot
        void clear() { m_hook = nullptr; }
        explicit operator bool() const { return bool(m_hook); }
        void operator()(TTable &table) const { m_hook(table); }

    private:
        Hook m_hook;
    };

    struct Bookmark {
        qint64 kod = 0;
        bool valid() const { return kod != 0; }
    };

    TTable(Store &store, const QString &tableName, QObject *parent = nullptr);
    ~TTable() override;

    const TableDef &def() const { return *m_def; }
    QString tableName() const { return QLatin1String(m_def->name); }
    Store &store() const { return *m_store; }

    void open();
    void close();
    bool active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool editing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool modified() const { return m_modified; }

    // The master whose current Kod selects this table's rows through Kod0.
    void setMaster(TTable *master);
    TTable *master() const { return m_master; }

    // Navigation over the visible rows.
    void first();
    void last();
    void next();
    void prior();
    bool eof() const;
    bool bof() const;
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    int recNo() const; // position of the current row, -1 when there is none
    void moveTo(int position);

    Bookmark bookmark() const;
    bool gotoBookmark(const Bookmark &bookmark);

    // Locates the first visible row whose fields equal the values (whole values; strings with
    // or without regard to letter case). Stays put and returns false when none does.
    bool locate(const QStringList &fields, const QVariantList &values, Qt::CaseSensitivity cs = Qt::CaseSensitive);
    bool locate(const QString &field, const QVariant &value, Qt::CaseSensitivity cs = Qt::CaseSensitive)
    {
        return locate(QStringList{field}, QVariantList{value}, cs);
    }

    // Filter expressions: Field='value', [Field]='prefix*', [Field]=Null. Switching the filter
    // on or off, or changing it while on, goes to the first visible row.
    void setFilter(const QString &expression);
    QString filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }
    void setFilterCaseInsensitive(bool on);
    bool filterCaseInsensitive() const { return m_filterCaseInsensitive; }

    // The active index by name; empty for the primary order (by Kod).
    void setIndexName(const QString &name);
    // An order the file cannot index because its key is computed from the row and other tables:
    // setIndexName(name) then sorts by the key (nulls first, descending when asked, ties by Kod).
    using OrderKey = std::function<std::optional<double>(const Row &)>;
    void addComputedOrder(const QString &name, OrderKey key, bool descending);
    QString indexName() const { return m_indexName; }

    // Re-reads the rows, staying on the current row when it is still there.
    void refresh();

    // While one is held, rows posted to a cursor in index order are left where they were
    // written, and the rows are put in order once when the last one ends: a command that adds
    // thousands of rows sorts once instead of moving the rows on every post.
    class DeferredSort {
    public:
        explicit DeferredSort(TTable &table) : m_table(table) { ++m_table.m_sortDeferred; }
        ~DeferredSort()
        {
            if (--m_table.m_sortDeferred == 0)
                m_table.sortDeferredRows();
        }
        DeferredSort(const DeferredSort &) = delete;
        DeferredSort &operator=(const DeferredSort &) = delete;

    private:
        TTable &m_table;
    };

    // Suspends and resumes the signals that bound windows follow. Nested.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const;

    void append();
    void insert();
    void edit();
    void post();
    void cancel();
    void remove(); // delete the current row
    // Deletes every visible row, each through remove() and its hooks; a table without delete
    // hooks and without a filter drops its rows, and those of its cascade, by key in one
    // statement per table.
    void removeAll();
    // The detail cursors whose rows belong to a row of this table (linked by Kod0): deleting a
    // row deletes theirs first.
    void setCascade(QList<TTable *> details) { m_cascade = std::move(details); }
    // Posts a row being edited (or cancels it when nothing was changed).
    void checkBrowseMode();

    // Field access by name or by position in the table's field list.
    int fieldCount() const { return int(m_def->fields.size()); }
    int fieldIndex(const QString &field) const; // throws for an unknown field
    const FieldDef &fieldDef(int position) const { return m_def->fields[size_t(position)]; }
    QString fieldName(int position) const { return QLatin1String(fieldDef(position).name); }
    QString displayLabel(int position) const;

    QVariant value(int position) const;
    QVariant value(const QString &field) const { return value(fieldIndex(field)); }
    bool isNull(int position) const { return !value(position).isValid() || value(position).isNull(); }
    bool isNull(const QString &field) const { return isNull(fieldIndex(field)); }
    double asFloat(const QString &field) const; // null reads as 0
    double asFloat(int position) const;
    qint64 asInteger(const QString &field) const;
    QString asString(const QString &field) const { return asString(fieldIndex(field)); }
    QString asString(int position) const;
    // A value of the field at this position as asString shows it (grids format their cells so).
    QString valueText(int position, const QVariant &value) const;
    bool asBoolean(const QString &field) const;
    QDate asDate(const QString &field) const;
    QTime asTime(const QString &field) const;
    std::optional<double> asOptional(const QString &field) const;

    // Writes in the edit or insert state. Strings are cut to the field's size; text written to a
    // number field must be a number (comma decimal separator) or empty for null.
    void setValue(int position, const QVariant &value);
    void setValue(const QString &field, const QVariant &value) { setValue(fieldIndex(field), value); }
    void setAsString(int position, const QString &text);
    void setAsString(const QString &field, const QString &text) { setAsString(fieldIndex(field), text); }
    void setNull(const QString &field) { setValue(field, QVariant()); }
    void setOptional(const QString &field, const std::optional<double> &value);

    // The whole current row (values in field order).
    Row currentRow() const;
    qint64 currentKod() const; // 0 when there is no posted current row

    // Record hooks. A hook that refuses shows its message and throws Abort.
    HookSlot beforeInsert, beforeEdit, beforePost, afterPost, beforeDelete, afterDelete;

    // The visible rows, for reading many rows without moving the cursor.
    const QVector<Row> &rows() const
    {
        ensureFresh();
        return m_rows;
    }

    // The rows of a detail for each visible row of its master, by the master's key, in this
    // cursor's order and filter: one read instead of one per master row. Neither cursor moves.
    QHash<qint64, QVector<Row>> rowsForEachMasterRow() const;

    // Called by the store.
    void afterRollback();
    // Another program changed the table: the rows are read again at their next use.
    void changedElsewhere();
    void flushSignals();
    void otherCursorWrote(const Row &row, bool newRow);
    void detachFromStore();

signals:
    void currentChanged();
    void rowsChanged();
    void stateChanged();

private:
    struct Filter {
        int field = -1;
        enum Kind { Equal, Prefix, Null } kind = Equal;
        QString text;
    };

    void requireActive() const;
    void requireEditing() const;
    void ensureFresh() const;
    void select(qint64 keepKod) const;
    bool passesFilter(const Row &row) const;
    std::optional<qint64> storeFilterKey() const;
    bool rowLess(const Row &a, const Row &b) const;
    void placeSorted(int position);
    void sortDeferredRows();
    qint64 linkedMasterKod() const;
    void beforeMove();
    void startInsert(bool atCursor);
    void setPosition(int position, bool bofFlag, bool eofFlag);
    void notifyCurrent();
    void notifyRows();
    void emitIfShown(void (TTable::*signal)());
    void writeRow(Row &row, bool insertNew, bool sendAhead);
    void versionRefused(qint64 kod);
    static bool sameValues(const Row &a, const Row &b);
    const QString &writeSql(bool insertNew) const;
    QVariant toStorage(const FieldDef &f, const QVariant &v) const;
    QVariant fromStorage(const FieldDef &f, const QVariant &v) const;
    // The current row of a statement that selects the table's fields in their order.
    Row storedRow(const Statement &q) const;
    QVariant normalize(int position, const QVariant &value) const;
    QString orderClause() const;
    void restoreAfterFailedPost(const Row &row, State state, int position);
    void detailsOfNewRow(qint64 kod);
    bool deletesByKey() const;
    void deleteCascadeByKey(const QString &ownKeys, const std::optional<qint64> &masterKod);
    void markAllStale();

    Store *m_store;
    const TableDef *m_def;
    FieldLookup *m_fieldLookup; // the table's, shared by every cursor on it
    TTable *m_master = nullptr;
    QList<TTable *> m_details;
    QList<TTable *> m_cascade;

    // The visible rows as last read; mutable because reading re-selects lazily.
    mutable QVector<Row> m_rows;
    mutable int m_pos = -1;
    mutable bool m_bof = true, m_eof = true;
    mutable bool m_stale = true;        // rows written by another cursor or undone
    mutable quint64 m_checkedEpoch = 0; // the store's epoch at the last freshness check
    mutable qint64 m_linkedKod = -1;
    // On a server, the version (xmin) of each row as read, by key: an edit is posted only over it.
    mutable QHash<qint64, QString> m_versions;
    // Inside a command on a server, a detail cursor whose master moves on more than once reads the
    // rows of every row its master holds at once: see selectReadAhead.
    struct ReadAhead {
        QString sql;         // the select the rows stand for
        quint64 state = 0;   // the engine's tableState when the first select was made
        qint64 firstKod = 0; // that select's master row
        int mostRows = 0;    // the most rows a select of one master row read meanwhile
        bool read = false;
        QHash<qint64, QVector<Row>> rows; // by master row; every master row read has an entry
        QHash<qint64, QString> versions;
    };
    mutable ReadAhead m_readAhead;
    bool selectReadAhead(const QString &sql) const;
    // The stored rows of these master rows, by master row, in this cursor's order; of the filter
    // only a key the store applies (storeFilterKey). versions: each row's version, on a server.
    QHash<qint64, QVector<Row>> storedRowsOf(const QVector<Row> &masters, QHash<qint64, QString> *versions) const;

    State m_state = State::Inactive;
    bool m_modified = false;
    Row m_original; // the row as it was before edit, for cancel

    QString m_filterText;
    Filter m_filter;
    bool m_filterValid = false;
    bool m_filtered = false;
    bool m_filterCaseInsensitive = false;
    QString m_indexName;
    const IndexDef *m_index = nullptr;
    // The active index's parts as field positions, resolved once: rows are compared often.
    struct SortKey {
        int field;
        FieldType type;
        bool descending;
    };
    std::vector<SortKey> m_sortKeys;
    struct ComputedOrder {
        QString name;
        OrderKey key;
        bool descending = false;
    };
    QList<ComputedOrder> m_computedOrders;
    const ComputedOrder *m_computed = nullptr;
    void sortByComputedOrder() const;
    void sortComputed(QVector<Row> &rows) const;
    int m_disabled = 0;
    int m_sortDeferred = 0;
    bool m_rowsUnsorted = false;
    bool m_signalsPending = false;
    // Statements, built once.
    mutable QString m_insertSql, m_updateSql;
    Statement *m_insertStatement = nullptr, *m_updateStatement = nullptr; // kept by the store
    QString m_deleteSql, m_deleteLinkedSql, m_deleteAllSql;
};

} // namespace korvan
