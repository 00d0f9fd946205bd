#include "core/data/TTable.h"
#include "core/data/Fields.h"

#include "core/calc/Numbers.h"
#include "core/data/ComputedInputs.h"
#include "core/data/Engine.h"
#include "core/data/Statement.h"
#include "core/data/Store.h"
#include "core/Messages.h"

#include <QRegularExpression>
#include <algorithm>
#include <bit>
#include <cmath>
#include <stdexcept>

namespace korvan {

namespace {

const QString DateFormat = QStringLiteral("dd.MM.yyyy");
const QString TimeFormat = QStringLiteral("HH:mm:ss");

bool isTextType(FieldType t) { return t == FieldType::String || t == FieldType::Memo; }
bool isNumberType(FieldType t) { return t == FieldType::Float || t == FieldType::Integer || t == FieldType::AutoInc; }
bool isNullValue(const QVariant &v) { return !v.isValid() || v.isNull(); }

// A number as a cursor holds it (a double for every number field), read without the variant's
// general conversion: the calculations read millions of them.
const double *heldDouble(const QVariant &v)
{
    return v.typeId() == QMetaType::Double ? static_cast<const double *>(v.constData()) : nullptr;
}

// Orders two stored values of one field the way the store's indexes do: null first, numbers
// by value, text by code points.
int compareValues(FieldType type, const QVariant &a, const QVariant &b)
{
    const bool na = isNullValue(a), nb = isNullValue(b);
    if (na || nb)
        return na == nb ? 0 : (na ? -1 : 1);
    if (isNumberType(type) || type == FieldType::Boolean) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (type == FieldType::Date)
        return a.toDate() < b.toDate() ? -1 : (b.toDate() < a.toDate() ? 1 : 0);
    if (type == FieldType::Time)
        return a.toTime() < b.toTime() ? -1 : (b.toTime() < a.toTime() ? 1 : 0);
    return QString::compare(a.toString(), b.toString(), Qt::CaseSensitive);
}

} // namespace

TTable::HookSlot &TTable::HookSlot::operator=(Hook hook)
{
    if (m_hook && hook)
        throw std::logic_error("a record hook is already set on this event");
    m_hook = std::move(hook);
    return *this;
}

TTable::TTable(Store &store, const QString &tableName, QObject *parent)
    : QObject(parent), m_store(&store), m_def(tableDef(tableName))
{
    if (!m_def)
        throw KorvanError(QStringLiteral("Таблица «%1» не найдена.").arg(tableName));
    m_fieldLookup = &fieldLookupOf(*m_def);
    setObjectName(QLatin1String(m_def->component));
    m_store->registerCursor(this);
}

TTable::~TTable()
{
    if (m_store)
        m_store->unregisterCursor(this);
    if (m_master)
        m_master->m_details.removeOne(this);
    for (TTable *d : std::as_const(m_details))
        d->m_master = nullptr;
}

void TTable::detachFromStore()
{
    m_store = nullptr;
    m_state = State::Inactive;
    m_rows.clear();
    m_pos = -1;
}

void TTable::open()
{
    if (!m_store)
        throw KorvanError(QStringLiteral("Таблица «%1» не открыта.").arg(tableName()));
    if (active())
        return;
    // The rows are read at their first use, not here: a table that only grows (the analysis
    // table keeps rows of every project) costs nothing to a command that never looks at it.
    m_state = State::Browse;
    m_stale = true;
    m_checkedEpoch = 0;
    m_linkedKod = -1;
    notifyRows();
}

void TTable::close()
{
    if (!active())
        return;
    if (editing())
        cancel();
    m_state = State::Inactive;
    m_rows.clear();
    m_pos = -1;
    m_bof = m_eof = true;
    m_store->advanceEpoch();
    notifyRows();
}

void TTable::setMaster(TTable *master)
{
    if (m_master)
        m_master->m_details.removeOne(this);
    m_master = master;
    if (m_master)
        m_master->m_details.append(this);
    m_linkedKod = -1;
    m_checkedEpoch = 0;
}

void TTable::requireActive() const
{
    if (!active())
        throw KorvanError(QStringLiteral("Таблица «%1» не открыта.").arg(tableName()));
}

void TTable::requireEditing() const
{
    requireActive();
    if (!editing())
        throw KorvanError(QStringLiteral("Таблица «%1» не находится в режиме редактирования.").arg(tableName()));
}

qint64 TTable::linkedMasterKod() const { return m_master ? m_master->currentKod() : 0; }

void TTable::ensureFresh() const
{
    if (!active() || editing() || m_checkedEpoch == m_store->epoch())
        return;
    if (m_master) {
        const qint64 kod = linkedMasterKod();
        if (kod != m_linkedKod) {
            m_linkedKod = kod;
            select(0);
            m_checkedEpoch = m_store->epoch();
            return;
        }
    }
    if (m_stale) {
        const qint64 keep = (m_pos >= 0 && m_pos < m_rows.size()) ? m_rows[m_pos][0].toLongLong() : 0;
        select(keep);
    }
    m_checkedEpoch = m_store->epoch();
}

void TTable::otherCursorWrote(const Row &row, bool newRow)
{
    if (!active() || m_stale)
        return;
    if (m_master && row[fieldIndexIn(*m_fieldLookup, fld::Kod0)].toLongLong() != m_linkedKod) {
        // Another master's row: it matters only if this cursor still shows it, which a row just
        // given a new key (keys are never reused) cannot be.
        if (newRow)
            return;
        const qint64 kod = row[0].toLongLong();
        if (std::none_of(m_rows.cbegin(), m_rows.cend(), [kod](const Row &r) { return r[0].toLongLong() == kod; }))
            return;
    }
    m_stale = true;
}

QString TTable::orderClause() const
{
    QStringList parts;
    if (m_index)
        for (const IndexPart &p : m_index->parts)
            parts << QLatin1Char('"') + QLatin1String(p.field) + QLatin1Char('"') +
                         (p.descending ? QStringLiteral(" DESC") : QString()) +
                         m_store->engine().nullsOrder(p.descending);
    parts << QStringLiteral("\"Kod\"");
    return parts.join(QStringLiteral(", "));
}

void TTable::select(qint64 keepKod) const
{
    m_rows.clear();
    m_versions.clear();
    m_stale = false;
    m_store->advanceEpoch();
    if (!(m_master && m_linkedKod == 0)) {
        // A filter on a whole number (a link such as Kod0='12') is left to the store, which reads
        // only those rows by its index; the check below still applies it as written.
        const std::optional<qint64> key = storeFilterKey();
        QStringList where;
        if (m_master)
            where << QStringLiteral("\"Kod0\"=?");
        if (key)
            where << QStringLiteral("\"%1\"=?").arg(fieldName(m_filter.field));
        // On a server each row comes with its version (xmin), kept beside the row: an edit is
        // written only over the version it was read from, so another user's change is never lost.
        const bool versions = m_store->onServer();
        const QString sql =
            QStringLiteral("SELECT *%1 FROM \"%2\"%3 ORDER BY %4")
                .arg(versions ? QStringLiteral(", xmin::text") : QString(), tableName(),
                     where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND ")),
                     orderClause());
        if (!selectReadAhead(sql)) {
            Statement &q = m_store->prepared(sql);
            int at = 0;
            if (m_master)
                q.bind(at++, m_linkedKod);
            if (key)
                q.bind(at, *key);
            int read = 0;
            while (q.next()) {
                ++read;
                Row row = storedRow(q);
                if (versions)
                    m_versions.insert(row[0].toLongLong(), q.column(fieldCount()).toString());
                if (passesFilter(row))
                    m_rows.append(std::move(row));
            }
            m_readAhead.mostRows = std::max(m_readAhead.mostRows, read);
        }
    }
    sortByComputedOrder();
    m_pos = -1;
    if (keepKod != 0)
        for (int i = 0; i < m_rows.size(); ++i)
            if (m_rows[i][0].toLongLong() == keepKod) {
                m_pos = i;
                m_bof = m_eof = false;
                return;
            }
    m_pos = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
}

// A command that walks a master's rows, such as an import adding a variant for each type, would
// wait at each row for the server to finish the writes sent ahead before it could read that
// row's details. So inside a command on a server, when the master moves on a second time and a
// read would wait so, the details of every row the master holds are read in one statement and
// kept until the table is written or the transaction ends (the engine's tableState tells), or a
// step of the command is undone.
bool TTable::selectReadAhead(const QString &sql) const
{
    // Rows read ahead cost memory, which a new process pays for as it first touches it; a read
    // of as many rows already spreads its wait over them.
    constexpr int MaxRowsAhead = 1000;
    const quint64 state = m_store->engine().tableState(tableName());
    if (!m_master || state == 0 || m_store->transactionDepth() == 0)
        return false;
    ReadAhead &ahead = m_readAhead;
    if (ahead.sql != sql || ahead.state != state) {
        ahead = {sql, state, m_linkedKod, 0, false, {}, {}};
        return false;
    }
    if (!ahead.read) {
        // Only a read that would wait for the writes sent ahead is worth reading more for: one
        // that does not is answered at once, and rows read ahead cost memory.
        if (m_linkedKod == ahead.firstKod || !m_store->engine().writesPending())
            return false;
        const QVector<Row> &masters = m_master->m_rows;
        if (qint64(std::max(ahead.mostRows, 1)) * masters.size() > MaxRowsAhead)
            return false;
        // Every master row gets its entry, rows or none; a failed read leaves none.
        QHash<qint64, QString> versions;
        QHash<qint64, QVector<Row>> rows = storedRowsOf(masters, &versions);
        for (const Row &master : masters)
            if (!rows.contains(master[0].toLongLong()))
                rows.insert(master[0].toLongLong(), {});
        ahead.rows = std::move(rows);
        ahead.versions = std::move(versions);
        ahead.read = true;
    }
    const auto found = ahead.rows.constFind(m_linkedKod);
    if (found == ahead.rows.constEnd())
        return false;
    for (const Row &row : *found) {
        m_versions.insert(row[0].toLongLong(), ahead.versions.value(row[0].toLongLong()));
        if (passesFilter(row))
            m_rows.append(row);
    }
    return true;
}

std::optional<qint64> TTable::storeFilterKey() const
{
    if (!m_filtered || !m_filterValid || m_filter.kind != Filter::Equal)
        return std::nullopt;
    const FieldType type = m_def->fields[size_t(m_filter.field)].type;
    if (type != FieldType::Integer && type != FieldType::AutoInc)
        return std::nullopt;
    bool ok = false;
    const qint64 key = m_filter.text.toLongLong(&ok);
    if (!ok || QString::number(key) != m_filter.text)
        return std::nullopt;
    return key;
}

bool TTable::passesFilter(const Row &row) const
{
    if (!m_filtered || !m_filterValid)
        return true;
    const FieldDef &f = m_def->fields[size_t(m_filter.field)];
    const QVariant &v = row[m_filter.field];
    const Qt::CaseSensitivity cs = m_filterCaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    switch (m_filter.kind) {
    case Filter::Null:
        return isNullValue(v) || (isTextType(f.type) && v.toString().isEmpty());
    case Filter::Prefix: {
        if (isNullValue(v))
            return false;
        const QString text = isNumberType(f.type) ? numberText(v.toDouble()) : v.toString();
        return text.startsWith(m_filter.text, cs);
    }
    case Filter::Equal:
        if (isNullValue(v))
            return m_filter.text.isEmpty();
        if (isNumberType(f.type)) {
            const auto wanted = parseEitherDecimal(m_filter.text);
            return wanted && *wanted == v.toDouble();
        }
        if (f.type == FieldType::Date)
            return v.toDate().toString(DateFormat) == m_filter.text;
        return QString::compare(v.toString(), m_filter.text, cs) == 0;
    }
    return true;
}

// ---- navigation -----------------------------------------------------------------------------

void TTable::beforeMove()
{
    requireActive();
    checkBrowseMode();
    for (TTable *d : std::as_const(m_details))
        if (d->active())
            d->beforeMove();
}

void TTable::setPosition(int position, bool bofFlag, bool eofFlag)
{
    const bool moved = position != m_pos;
    if (moved)
        m_store->advanceEpoch();
    m_pos = position;
    m_bof = bofFlag;
    m_eof = eofFlag;
    if (moved)
        notifyCurrent();
}

void TTable::first()
{
    beforeMove();
    ensureFresh();
    setPosition(m_rows.isEmpty() ? -1 : 0, true, m_rows.isEmpty());
}

void TTable::last()
{
    beforeMove();
    ensureFresh();
    setPosition(int(m_rows.size()) - 1, m_rows.isEmpty(), true);
    m_eof = m_rows.isEmpty() ? true : false;
}

void TTable::next()
{
    beforeMove();
    ensureFresh();
    if (m_pos + 1 < m_rows.size())
        setPosition(m_pos + 1, false, false);
    else
        m_eof = true;
}

void TTable::prior()
{
    beforeMove();
    ensureFresh();
    if (m_pos > 0)
        setPosition(m_pos - 1, false, false);
    else
        m_bof = true;
}

bool TTable::eof() const
{
    ensureFresh();
    return m_eof || m_rows.isEmpty();
}

bool TTable::bof() const
{
    ensureFresh();
    return m_bof || m_rows.isEmpty();
}

int TTable::recordCount() const
{
    if (!active())
        return 0;
    ensureFresh();
    return int(m_rows.size());
}

int TTable::recNo() const
{
    ensureFresh();
    return m_pos;
}

void TTable::moveTo(int position)
{
    beforeMove();
    ensureFresh();
    if (position < 0 || position >= m_rows.size())
        return;
    setPosition(position, false, false);
}

TTable::Bookmark TTable::bookmark() const { return Bookmark{currentKod()}; }

bool TTable::gotoBookmark(const Bookmark &bookmark)
{
    beforeMove();
    ensureFresh();
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i][0].toLongLong() == bookmark.kod) {
            setPosition(i, false, false);
            return true;
        }
    return false;
}

bool TTable::locate(const QStringList &fields, const QVariantList &values, Qt::CaseSensitivity cs)
{
    if (fields.size() != values.size())
        throw KorvanError(QStringLiteral("Число полей и значений поиска не совпадает."));
    QList<int> positions;
    QVariantList wanted;
    for (int i = 0; i < fields.size(); ++i) {
        positions << fieldIndex(fields[i]);
        wanted << (isNullValue(values[i]) ? QVariant() : values[i]);
    }
    beforeMove();
    ensureFresh();
    for (int r = 0; r < m_rows.size(); ++r) {
        bool match = true;
        for (int i = 0; i < positions.size() && match; ++i) {
            const FieldDef &f = m_def->fields[size_t(positions[i])];
            const QVariant &have = m_rows[r][positions[i]];
            const QVariant &want = wanted[i];
            if (isNullValue(have) || isNullValue(want)) {
                match = isNullValue(have) && isNullValue(want);
            } else if (isNumberType(f.type)) {
                std::optional<double> w;
                if (want.typeId() == QMetaType::QString)
                    w = parseEitherDecimal(want.toString());
                else
                    w = want.toDouble();
                match = w && *w == have.toDouble();
            } else if (isTextType(f.type)) {
                match = QString::compare(have.toString(), want.toString(), cs) == 0;
            } else {
                match = compareValues(f.type, have, normalize(positions[i], want)) == 0;
            }
        }
        if (match) {
            setPosition(r, false, false);
            return true;
        }
    }
    return false;
}

// ---- filter and index ------------------------------------------------------------------------

void TTable::setFilter(const QString &expression)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*\\[?([A-Za-z_$][A-Za-z0-9_$]*)\\]?\\s*=\\s*(?:'(.*)'|(null))\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    Filter parsed;
    bool valid = false;
    if (!expression.trimmed().isEmpty()) {
        const auto m = form.match(expression);
        if (!m.hasMatch())
            throw KorvanError(QStringLiteral("Неверное выражение фильтра: %1").arg(expression));
        parsed.field = fieldIndex(m.captured(1));
        if (!m.captured(3).isEmpty()) {
            parsed.kind = Filter::Null;
        } else {
            parsed.text = m.captured(2);
            if (parsed.text.endsWith(QLatin1Char('*'))) {
                parsed.kind = Filter::Prefix;
                parsed.text.chop(1);
            }
        }
        valid = true;
    }
    beforeMove();
    m_filterText = expression;
    m_filter = parsed;
    m_filterValid = valid;
    if (m_filtered) {
        select(0);
        notifyRows();
    }
}

void TTable::setFiltered(bool on)
{
    beforeMove();
    m_filtered = on;
    ensureFresh();
    select(0);
    notifyRows();
}

void TTable::setFilterCaseInsensitive(bool on)
{
    m_filterCaseInsensitive = on;
    if (m_filtered && active()) {
        beforeMove();
        select(0);
        notifyRows();
    }
}

void TTable::addComputedOrder(const QString &name, OrderKey key, bool descending)
{
    for (ComputedOrder &o : m_computedOrders)
        if (o.name == name) {
            o.key = std::move(key);
            o.descending = descending;
            return;
        }
    m_computedOrders.append({name, std::move(key), descending});
    // The list may have moved its items.
    if (m_computed)
        for (const ComputedOrder &o : std::as_const(m_computedOrders))
            if (o.name == m_indexName)
                m_computed = &o;
}

namespace {

int compareKeys(const std::optional<double> &a, const std::optional<double> &b)
{
    if (!a || !b)
        return a.has_value() == b.has_value() ? 0 : (a ? 1 : -1);
    return *a < *b ? -1 : (*a > *b ? 1 : 0);
}

} // namespace

void TTable::sortByComputedOrder() const
{
    if (m_computed)
        sortComputed(m_rows);
}

void TTable::sortComputed(QVector<Row> &rows) const
{
    // Each key once: it may read other tables.
    QVector<std::pair<std::optional<double>, Row>> keyed;
    keyed.reserve(rows.size());
    for (Row &row : rows) {
        auto key = m_computed->key(row);
        keyed.append({key, std::move(row)});
    }
    const bool descending = m_computed->descending;
    std::stable_sort(keyed.begin(), keyed.end(), [descending](const auto &a, const auto &b) {
        const int c = compareKeys(a.first, b.first);
        return descending ? c > 0 : c < 0;
    });
    rows.clear();
    for (auto &k : keyed)
        rows.append(std::move(k.second));
}

QHash<qint64, QVector<TTable::Row>> TTable::rowsForEachMasterRow() const
{
    requireActive();
    if (!m_master)
        throw KorvanError(QStringLiteral("Таблица «%1» не подчинена другой.").arg(tableName()));
    QHash<qint64, QVector<Row>> out = storedRowsOf(m_master->rows(), nullptr);
    // The filter's key, when it has one, was the store's to apply; the rest of it is applied here.
    for (auto it = out.begin(); it != out.end();) {
        it->removeIf([this](const Row &row) { return !passesFilter(row); });
        it = it->isEmpty() ? out.erase(it) : std::next(it);
    }
    if (m_computed)
        for (QVector<Row> &rows : out)
            sortComputed(rows);
    return out;
}

QHash<qint64, QVector<TTable::Row>> TTable::storedRowsOf(const QVector<Row> &masters,
                                                         QHash<qint64, QString> *versions) const
{
    QHash<qint64, QVector<Row>> out;
    QStringList masterKeys;
    for (const Row &master : masters)
        masterKeys << QString::number(master[0].toLongLong());
    if (masterKeys.isEmpty())
        return out;
    // The keys are the store's own whole numbers: written into the statement as they are.
    const std::optional<qint64> key = storeFilterKey();
    const QString sql =
        QStringLiteral("SELECT *%1 FROM \"%2\" WHERE \"Kod0\" IN (%3)%4 ORDER BY %5")
            .arg(versions ? QStringLiteral(", xmin::text") : QString(), tableName(), masterKeys.join(QLatin1Char(',')),
                 key ? QStringLiteral(" AND \"%1\"=?").arg(fieldName(m_filter.field)) : QString(), orderClause());
    const std::unique_ptr<Statement> q = m_store->engine().prepareOnce(sql);
    if (key)
        q->bind(0, *key);
    const int link = fieldIndexIn(*m_fieldLookup, fld::Kod0);
    while (q->next()) {
        Row row = storedRow(*q);
        if (versions)
            versions->insert(row[0].toLongLong(), q->column(fieldCount()).toString());
        out[row[link].toLongLong()].append(std::move(row));
    }
    return out;
}

void TTable::setIndexName(const QString &name)
{
    const IndexDef *index = nullptr;
    const ComputedOrder *computed = nullptr;
    for (const ComputedOrder &o : m_computedOrders)
        if (o.name == name)
            computed = &o;
    if (!name.isEmpty() && !computed) {
        index = m_def->index(name);
        if (!index)
            throw KorvanError(QStringLiteral("Индекс «%1» не найден в таблице «%2».").arg(name, tableName()));
    }
    if (active())
        beforeMove();
    m_indexName = name;
    m_index = index;
    m_sortKeys.clear();
    if (index)
        for (const IndexPart &p : index->parts) {
            const int at = m_def->fieldIndex(QLatin1String(p.field));
            m_sortKeys.push_back({at, m_def->fields[size_t(at)].type, p.descending});
        }
    m_computed = computed;
    if (active()) {
        ensureFresh();
        select(currentKod());
        notifyRows();
    }
}

void TTable::refresh()
{
    beforeMove();
    ensureFresh();
    select(currentKod());
    notifyRows();
}

bool TTable::rowLess(const Row &a, const Row &b) const
{
    if (m_computed) {
        const int c = compareKeys(m_computed->key(a), m_computed->key(b));
        if (c != 0)
            return m_computed->descending ? c > 0 : c < 0;
    }
    for (const SortKey &k : m_sortKeys) {
        int c = compareValues(k.type, a[k.field], b[k.field]);
        if (k.descending)
            c = -c;
        if (c != 0)
            return c < 0;
    }
    return a[0].toLongLong() < b[0].toLongLong();
}

// The other rows are in index order (the store sorts them the same way), so the row goes after
// the last one not greater than it, found by halving: a command that adds thousands of rows to a
// sorted table makes a few comparisons per row instead of a walk over the table.
void TTable::placeSorted(int position)
{
    if ((!m_index && !m_computed) || position < 0)
        return;
    if (m_sortDeferred > 0) {
        m_rowsUnsorted = true;
        return;
    }
    Row row = m_rows.takeAt(position);
    const auto at = std::upper_bound(m_rows.cbegin(), m_rows.cend(), row,
                                     [this](const Row &a, const Row &b) { return rowLess(a, b); });
    m_pos = int(at - m_rows.cbegin());
    m_rows.insert(m_pos, std::move(row));
}

// The order placeSorted keeps, made in one sort; a computed key is taken once per row, since it
// may read other tables.
void TTable::sortDeferredRows()
{
    if (!m_rowsUnsorted)
        return;
    m_rowsUnsorted = false;
    if (!active() || (!m_index && !m_computed) || m_rows.size() < 2)
        return;
    const qint64 current = (m_pos >= 0 && m_pos < m_rows.size()) ? m_rows[m_pos][0].toLongLong() : 0;
    std::vector<std::pair<std::optional<double>, Row>> keyed;
    keyed.reserve(size_t(m_rows.size()));
    for (Row &row : m_rows) {
        auto key = m_computed ? m_computed->key(row) : std::nullopt;
        keyed.emplace_back(key, std::move(row));
    }
    std::sort(keyed.begin(), keyed.end(), [this](const auto &a, const auto &b) {
        if (m_computed) {
            const int c = compareKeys(a.first, b.first);
            if (c != 0)
                return m_computed->descending ? c > 0 : c < 0;
        }
        for (const SortKey &k : m_sortKeys) {
            int c = compareValues(k.type, a.second[k.field], b.second[k.field]);
            if (k.descending)
                c = -c;
            if (c != 0)
                return c < 0;
        }
        return a.second[0].toLongLong() < b.second[0].toLongLong();
    });
    m_rows.clear();
    m_rows.reserve(qsizetype(keyed.size()));
    for (auto &k : keyed)
        m_rows.append(std::move(k.second));
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i][0].toLongLong() == current)
            m_pos = i;
    m_store->advanceEpoch();
    notifyRows();
}

// ---- display ---------------------------------------------------------------------------------

void TTable::disableControls() { ++m_disabled; }

void TTable::enableControls()
{
    if (m_disabled > 0 && --m_disabled == 0 && !controlsDisabled()) {
        m_signalsPending = false;
        notifyRows();
    }
}

bool TTable::controlsDisabled() const { return m_disabled > 0 || (m_master && m_master->controlsDisabled()); }

// Windows follow a command's result, not its steps: inside a transaction the rows and the current
// row are not signalled, and what was held back is signalled once when the outermost transaction
// ends. Changes of state are signalled as they happen: they are few, and a window may need each.
void TTable::emitIfShown(void (TTable::*signal)())
{
    const bool inCommand = signal != &TTable::stateChanged && m_store && m_store->transactionDepth() > 0;
    if (controlsDisabled() || inCommand)
        m_signalsPending = true;
    else
        (this->*signal)();
}

void TTable::flushSignals()
{
    if (!m_signalsPending || controlsDisabled())
        return;
    m_signalsPending = false;
    emit rowsChanged();
    emit currentChanged();
}

void TTable::notifyCurrent()
{
    emitIfShown(&TTable::currentChanged);
    for (TTable *d : std::as_const(m_details))
        d->notifyRows();
}

void TTable::notifyRows()
{
    emitIfShown(&TTable::rowsChanged);
    emitIfShown(&TTable::currentChanged);
    for (TTable *d : std::as_const(m_details))
        d->notifyRows();
}

// ---- editing ---------------------------------------------------------------------------------

void TTable::append() { startInsert(false); }

void TTable::insert() { startInsert(true); }

void TTable::startInsert(bool atCursor)
{
    beforeMove();
    ensureFresh();
    // The hook first: a master row being typed (a new one has no key yet) is refused with the
    // guard's own words, not as a missing master row.
    if (beforeInsert)
        beforeInsert(*this);
    if (m_master && linkedMasterKod() == 0)
        throw KorvanError(QStringLiteral("Нельзя добавить запись в таблицу «%1»: нет текущей записи главной таблицы.")
                              .arg(tableName()));
    Row row(fieldCount());
    if (m_master)
        row[fieldIndexIn(*m_fieldLookup, fld::Kod0)] = m_linkedKod;
    const int at = atCursor ? qMax(m_pos, 0) : int(m_rows.size());
    m_rows.insert(at, std::move(row));
    m_original.clear();
    m_state = State::Insert;
    m_modified = false;
    m_store->advanceEpoch();
    m_pos = at;
    m_bof = m_eof = false;
    emitIfShown(&TTable::stateChanged);
    notifyRows();
}

void TTable::edit()
{
    requireActive();
    if (editing())
        return;
    ensureFresh();
    if (m_rows.isEmpty()) {
        append();
        return;
    }
    if (beforeEdit)
        beforeEdit(*this);
    m_original = m_rows[m_pos];
    m_state = State::Edit;
    m_modified = false;
    emitIfShown(&TTable::stateChanged);
}

void TTable::cancel()
{
    if (!editing())
        return;
    if (m_state == State::Insert) {
        m_rows.removeAt(m_pos);
        if (m_pos >= m_rows.size())
            m_pos = int(m_rows.size()) - 1;
    } else {
        m_rows[m_pos] = m_original;
    }
    m_original.clear();
    m_state = State::Browse;
    m_modified = false;
    m_bof = m_eof = m_rows.isEmpty();
    m_store->advanceEpoch();
    emitIfShown(&TTable::stateChanged);
    notifyRows();
}

void TTable::checkBrowseMode()
{
    if (!editing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

void TTable::post()
{
    requireEditing();
    const State state = m_state;
    const int position = m_pos;
    const Row before = m_rows[m_pos];
    const Store::RowWrite scope = m_store->beginRow();
    try {
        if (beforePost)
            beforePost(*this);
        // An edit that leaves every value as it was writes nothing: a recalculation whose
        // results are those stored changes no row, and on a server leaves others' later changes
        // and the rows' versions alone.
        if (state == State::Insert || !sameValues(m_rows[m_pos], m_original)) {
            // Inside a command the row may be sent ahead: a failure found later undoes the command.
            writeRow(m_rows[m_pos], state == State::Insert, !scope.ownTransaction);
            m_store->rowWritten(this, m_rows[m_pos], state == State::Insert);
        }
        if (state == State::Insert)
            detailsOfNewRow(m_rows[m_pos][0].toLongLong());
        m_state = State::Browse;
        m_modified = false;
        m_original.clear();
        placeSorted(m_pos);
        emitIfShown(&TTable::stateChanged);
        notifyRows();
        if (afterPost)
            afterPost(*this);
        m_store->commitRow(scope);
    } catch (...) {
        m_store->rollbackRow(scope);
        restoreAfterFailedPost(before, state, position);
        throw;
    }
}

TTable::Row TTable::storedRow(const Statement &q) const
{
    const int n = fieldCount();
    Row row(n);
    for (int i = 0; i < n; ++i)
        row[i] = fromStorage(m_def->fields[size_t(i)], q.column(i));
    return row;
}

// Each value the same, and of the same type; doubles bit for bit (0 and -0 differ as stored).
bool TTable::sameValues(const Row &a, const Row &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const QVariant &x = a[i], &y = b[i];
        if (x.typeId() != y.typeId() || x.isNull() != y.isNull())
            return false;
        if (x.typeId() == QMetaType::Double) {
            if (std::bit_cast<quint64>(x.toDouble()) != std::bit_cast<quint64>(y.toDouble()))
                return false;
        } else if (x != y) {
            return false;
        }
    }
    return true;
}

// A key the table never gave before (keys are never reused) has no detail rows yet: the details
// that follow the new row know it without asking the store, which a command writing a period and
// then its switched modules would otherwise do for every period.
void TTable::detailsOfNewRow(qint64 kod)
{
    for (TTable *d : std::as_const(m_details)) {
        if (!d->active() || d->editing())
            continue;
        d->m_rows.clear();
        d->m_linkedKod = kod;
        d->m_stale = false;
        d->m_pos = -1;
        d->m_bof = d->m_eof = true;
        d->detailsOfNewRow(0);
    }
}

void TTable::restoreAfterFailedPost(const Row &row, State state, int position)
{
    if (editing())
        return; // the failure came before the write: the buffer is as it was
    // The write was undone with the transaction: put the user's values back into the edit buffer.
    select(state == State::Edit ? row[0].toLongLong() : 0);
    if (state == State::Insert) {
        Row pending = row;
        pending[0] = QVariant();
        const int at = qBound(0, position, int(m_rows.size()));
        m_rows.insert(at, pending);
        m_pos = at;
        m_original.clear();
    } else if (m_pos >= 0 && m_rows[m_pos][0].toLongLong() == row[0].toLongLong()) {
        m_original = m_rows[m_pos];
        m_rows[m_pos] = row;
    } else {
        return; // the row itself is gone
    }
    m_state = state;
    m_modified = true;
    m_bof = m_eof = false;
    emitIfShown(&TTable::stateChanged);
    notifyRows();
}

void TTable::remove()
{
    requireActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    for (TTable *d : std::as_const(m_details))
        if (d->active())
            d->beforeMove();
    ensureFresh();
    if (m_rows.isEmpty())
        throw KorvanError(QStringLiteral("В таблице «%1» нет записи для удаления.").arg(tableName()));
    const Store::RowWrite scope = m_store->beginRow();
    try {
        if (beforeDelete)
            beforeDelete(*this);
        for (TTable *d : std::as_const(m_cascade))
            d->removeAll();
        const qint64 kod = m_rows[m_pos][0].toLongLong();
        if (m_deleteSql.isEmpty())
            m_deleteSql = QStringLiteral("DELETE FROM \"%1\" WHERE \"Kod\"=?").arg(tableName());
        Statement &q = m_store->prepared(m_deleteSql);
        q.bind(0, kod);
        q.run();
        m_store->rowWritten(this, m_rows[m_pos], false);
        // The hook may have moved the cursor; remove the row it started on.
        for (int i = 0; i < m_rows.size(); ++i)
            if (m_rows[i][0].toLongLong() == kod) {
                m_rows.removeAt(i);
                if (i < m_pos || m_pos >= m_rows.size())
                    m_pos = qMax(i < m_pos ? m_pos - 1 : i, 0);
                break;
            }
        const bool wasLast = m_pos >= m_rows.size();
        if (m_rows.isEmpty()) {
            m_pos = -1;
            m_bof = m_eof = true;
        } else if (wasLast) {
            m_pos = int(m_rows.size()) - 1;
            m_eof = true;
        } else {
            m_bof = m_eof = false;
        }
        m_store->advanceEpoch();
        notifyRows();
        if (afterDelete)
            afterDelete(*this);
        m_store->commitRow(scope);
    } catch (...) {
        m_store->rollbackRow(scope);
        throw;
    }
}

bool TTable::deletesByKey() const
{
    return !beforeDelete && !afterDelete &&
           std::all_of(m_cascade.cbegin(), m_cascade.cend(), [](const TTable *d) { return d->deletesByKey(); });
}

// Deletes the rows of the cascade whose master rows are `ownKeys` (a query of this table's Kod),
// the deepest tables first. One statement per table: a graph replaced under twenty variants
// deletes thousands of compensated periods with their switched modules.
void TTable::deleteCascadeByKey(const QString &ownKeys, const std::optional<qint64> &masterKod)
{
    for (TTable *d : std::as_const(m_cascade)) {
        const QString keys =
            QStringLiteral("SELECT \"Kod\" FROM \"%1\" WHERE \"Kod0\" IN (%2)").arg(d->tableName(), ownKeys);
        d->deleteCascadeByKey(keys, masterKod);
        Statement &q =
            m_store->prepared(QStringLiteral("DELETE FROM \"%1\" WHERE \"Kod0\" IN (%2)").arg(d->tableName(), ownKeys));
        if (masterKod)
            q.bind(0, *masterKod);
        q.write();
        d->markAllStale();
    }
}

void TTable::markAllStale()
{
    for (TTable *c : m_store->cursorsOn(m_def))
        c->m_stale = true;
    m_store->advanceEpoch();
}

void TTable::removeAll()
{
    requireActive();
    if (m_filtered || editing() || !deletesByKey()) {
        first();
        while (!isEmpty())
            remove();
        return;
    }
    for (TTable *d : std::as_const(m_details))
        if (d->active())
            d->beforeMove();
    // The link decides the rows without reading them.
    const qint64 masterKod = linkedMasterKod();
    if (m_master && masterKod == 0)
        return;
    const std::optional<qint64> bound = m_master ? std::optional<qint64>(masterKod) : std::nullopt;
    if (!m_cascade.isEmpty())
        deleteCascadeByKey(m_master ? QStringLiteral("SELECT \"Kod\" FROM \"%1\" WHERE \"Kod0\"=?1").arg(tableName())
                                    : QStringLiteral("SELECT \"Kod\" FROM \"%1\"").arg(tableName()),
                           bound);
    QString &sql = m_master ? m_deleteLinkedSql : m_deleteAllSql;
    if (sql.isEmpty())
        sql = m_master ? QStringLiteral("DELETE FROM \"%1\" WHERE \"Kod0\"=?").arg(tableName())
                       : QStringLiteral("DELETE FROM \"%1\"").arg(tableName());
    Statement &q = m_store->prepared(sql);
    if (bound)
        q.bind(0, *bound);
    q.write();
    // Other cursors on the table re-read; this one is now empty.
    Row gone(fieldCount());
    if (m_master)
        gone[fieldIndexIn(*m_fieldLookup, fld::Kod0)] = masterKod;
    m_store->rowWritten(this, gone, false);
    for (TTable *c : m_store->cursorsOn(m_def))
        if (c != this)
            c->m_stale = true;
    m_rows.clear();
    m_linkedKod = masterKod;
    m_stale = false;
    m_pos = -1;
    m_bof = m_eof = true;
    m_checkedEpoch = m_store->epoch();
    notifyRows();
}

void TTable::afterRollback()
{
    m_readAhead = {}; // it may hold rows written by the step undone
    changedElsewhere();
}

void TTable::changedElsewhere()
{
    if (!active())
        return;
    m_stale = true;
    if (!editing())
        emitIfShown(&TTable::rowsChanged);
}

// ---- fields ----------------------------------------------------------------------------------

int TTable::fieldIndex(const QString &field) const
{
    const int i = fieldIndexIn(*m_fieldLookup, field);
    if (i < 0)
        throw KorvanError(QStringLiteral("Поле «%1» не найдено в таблице «%2».").arg(field, tableName()));
    return i;
}

QString TTable::displayLabel(int position) const
{
    const char *label = fieldDef(position).label;
    return label && *label ? QString::fromUtf8(label) : fieldName(position);
}

QVariant TTable::value(int position) const
{
    if (position < 0 || position >= fieldCount())
        throw KorvanError(QStringLiteral("Нет поля с номером %1 в таблице «%2».").arg(position).arg(tableName()));
    ensureFresh();
    if (m_pos < 0 || m_pos >= m_rows.size())
        return {};
    return m_rows[m_pos][position];
}

double TTable::asFloat(int position) const
{
    const QVariant v = value(position);
    if (const double *x = heldDouble(v))
        return *x;
    return isNullValue(v) ? 0.0 : v.toDouble();
}

double TTable::asFloat(const QString &field) const { return asFloat(fieldIndex(field)); }

qint64 TTable::asInteger(const QString &field) const
{
    const QVariant v = value(field);
    return isNullValue(v) ? 0 : v.toLongLong();
}

std::optional<double> TTable::asOptional(const QString &field) const
{
    const QVariant v = value(field);
    if (const double *x = heldDouble(v))
        return *x;
    if (isNullValue(v))
        return std::nullopt;
    return v.toDouble();
}

QString TTable::asString(int position) const { return valueText(position, value(position)); }

QString TTable::valueText(int position, const QVariant &v) const
{
    if (isNullValue(v))
        return {};
    switch (fieldDef(position).type) {
    case FieldType::Float:
        return numberText(v.toDouble());
    case FieldType::Integer:
    case FieldType::AutoInc:
        return QString::number(v.toLongLong());
    case FieldType::Date:
        return v.toDate().toString(DateFormat);
    case FieldType::Time:
        return v.toTime().toString(TimeFormat);
    case FieldType::Boolean:
        return v.toBool() ? QStringLiteral("Да") : QStringLiteral("Нет");
    default:
        return v.toString();
    }
}

bool TTable::asBoolean(const QString &field) const { return value(field).toBool(); }
QDate TTable::asDate(const QString &field) const { return value(field).toDate(); }
QTime TTable::asTime(const QString &field) const { return value(field).toTime(); }

TTable::Row TTable::currentRow() const
{
    ensureFresh();
    if (m_pos < 0 || m_pos >= m_rows.size())
        return Row(fieldCount());
    return m_rows[m_pos];
}

qint64 TTable::currentKod() const
{
    if (!active())
        return 0;
    ensureFresh();
    if (m_pos < 0 || m_pos >= m_rows.size())
        return 0;
    return m_rows[m_pos][0].toLongLong();
}

QVariant TTable::normalize(int position, const QVariant &value) const
{
    const FieldDef &f = fieldDef(position);
    if (const double *x = heldDouble(value); x && f.type == FieldType::Float) {
        if (!std::isfinite(*x))
            throw KorvanError(nonFiniteFieldMessage(tableName(), QLatin1String(f.name)));
        return value;
    }
    if (isNullValue(value))
        return {};
    const bool text = value.typeId() == QMetaType::QString;
    switch (f.type) {
    case FieldType::Float: {
        double x = 0;
        if (text) {
            if (value.toString().trimmed().isEmpty())
                return {};
            const auto parsed = parseNumber(value.toString());
            if (!parsed)
                throw KorvanError(QStringLiteral("«%1» не является числом.").arg(value.toString()));
            x = *parsed;
        } else {
            bool ok = false;
            x = value.toDouble(&ok);
            if (!ok)
                throw KorvanError(QStringLiteral("«%1» не является числом.").arg(value.toString()));
        }
        if (!std::isfinite(x))
            throw KorvanError(nonFiniteFieldMessage(tableName(), QLatin1String(f.name)));
        return x;
    }
    case FieldType::Integer:
    case FieldType::AutoInc: {
        bool ok = false;
        qint64 n = 0;
        if (text) {
            if (value.toString().trimmed().isEmpty())
                return {};
            n = value.toString().trimmed().toLongLong(&ok);
        } else {
            const double d = value.toDouble(&ok);
            ok = ok && std::isfinite(d) && d == std::floor(d);
            n = qint64(d);
        }
        if (!ok)
            throw KorvanError(QStringLiteral("Значение поля «%1» должно быть целым числом, а не «%2».")
                                  .arg(QLatin1String(f.name), value.toString()));
        if (n < INT32_MIN || n > INT32_MAX)
            throw KorvanError(
                QStringLiteral("Число %1 вне допустимых пределов поля «%2».").arg(n).arg(QLatin1String(f.name)));
        return n;
    }
    case FieldType::String: {
        const QString s = value.toString().left(f.size);
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case FieldType::Memo: {
        const QString s = value.toString();
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case FieldType::Date: {
        QDate d = value.toDate();
        if (text) {
            d = QDate::fromString(value.toString().trimmed(), DateFormat);
            if (!d.isValid())
                d = QDate::fromString(value.toString().trimmed(), Qt::ISODate);
        }
        if (!d.isValid())
            throw KorvanError(QStringLiteral("«%1» не является датой.").arg(value.toString()));
        return d;
    }
    case FieldType::Time: {
        QTime t = value.toTime();
        if (text)
            t = QTime::fromString(value.toString().trimmed(), TimeFormat);
        if (!t.isValid())
            throw KorvanError(QStringLiteral("«%1» не является временем.").arg(value.toString()));
        return t;
    }
    case FieldType::Boolean:
        if (text) {
            const QString s = value.toString().trimmed().toLower();
            if (s == QStringLiteral("да") || s == QLatin1String("true") || s == QLatin1String("1"))
                return true;
            if (s == QStringLiteral("нет") || s == QLatin1String("false") || s == QLatin1String("0"))
                return false;
            throw KorvanError(QStringLiteral("«%1» не является логическим значением.").arg(value.toString()));
        }
        return value.toBool();
    }
    return value;
}

void TTable::setValue(int position, const QVariant &value)
{
    requireEditing();
    if (position < 0 || position >= fieldCount())
        throw KorvanError(QStringLiteral("Нет поля с номером %1 в таблице «%2».").arg(position).arg(tableName()));
    if (fieldDef(position).type == FieldType::AutoInc)
        throw KorvanError(
            QStringLiteral("Поле «%1» таблицы «%2» заполняется автоматически.").arg(fieldName(position), tableName()));
    m_rows[m_pos][position] = normalize(position, value);
    m_modified = true;
    emitIfShown(&TTable::currentChanged);
}

void TTable::setAsString(int position, const QString &text) { setValue(position, QVariant(text)); }

void TTable::setOptional(const QString &field, const std::optional<double> &value)
{
    setValue(field, value ? QVariant(*value) : QVariant());
}

QVariant TTable::toStorage(const FieldDef &f, const QVariant &v) const
{
    if (isNullValue(v))
        return {};
    switch (f.type) {
    case FieldType::Date:
        return v.toDate().toString(Qt::ISODate);
    case FieldType::Time:
        return v.toTime().toString(TimeFormat);
    case FieldType::Boolean:
        return v.toBool() ? 1 : 0;
    default:
        return v;
    }
}

QVariant TTable::fromStorage(const FieldDef &f, const QVariant &v) const
{
    if (isNullValue(v))
        return {};
    switch (f.type) {
    case FieldType::Float:
        return v.toDouble();
    case FieldType::Integer:
    case FieldType::AutoInc:
        return v.toLongLong();
    case FieldType::Date:
        return QDate::fromString(v.toString(), Qt::ISODate);
    case FieldType::Time:
        return QTime::fromString(v.toString(), TimeFormat);
    case FieldType::Boolean:
        return v.toInt() != 0;
    default:
        return v.toString();
    }
}

const QString &TTable::writeSql(bool insertNew) const
{
    QString &sql = insertNew ? m_insertSql : m_updateSql;
    if (sql.isEmpty()) {
        QStringList names, marks;
        for (int i = 1; i < fieldCount(); ++i) {
            names << QLatin1Char('"') + fieldName(i) + QLatin1Char('"');
            marks << QStringLiteral("?");
        }
        // On a server an inserted row returns its version with its key: its first edit is
        // checked like any other, since others may have read it once the command committed.
        sql = insertNew ? QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)%4")
                              .arg(tableName(), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')),
                                   m_store->onServer() ? QStringLiteral(" RETURNING \"Kod\", xmin::text") : QString())
                        : QStringLiteral("UPDATE \"%1\" SET %2=? WHERE \"Kod\"=?%3")
                              .arg(tableName(), names.join(QStringLiteral("=?,")),
                                   m_store->onServer()
                                       ? QStringLiteral(" AND xmin::text=COALESCE(?,xmin::text) RETURNING xmin::text")
                                       : QString());
    }
    return sql;
}

void TTable::writeRow(Row &row, bool insertNew, bool sendAhead)
{
    const int n = fieldCount();
    Statement *&statement = insertNew ? m_insertStatement : m_updateStatement;
    if (!statement)
        statement = &m_store->prepared(writeSql(insertNew));
    Statement &q = *statement;
    for (int i = 1; i < n; ++i) {
        const FieldDef &f = m_def->fields[size_t(i)];
        // Numbers and texts are stored as they are held: no copy on the way.
        if (isNumberType(f.type) || isTextType(f.type))
            q.bind(i - 1, row[i]);
        else
            q.bind(i - 1, toStorage(f, row[i]));
    }
    if (insertNew && m_store->onServer()) {
        Engine &engine = m_store->engine();
        const QString table = tableName();
        // Inside a command whose earlier rows told the table's next key, the row is sent without
        // waiting for the server: its key is known, and the server's answer is checked later.
        const qint64 predicted = sendAhead ? engine.predictedKey(table) : 0;
        if (predicted && q.sendAhead(this, predicted, [this, predicted](const QVariantList &answer) {
                m_versions.insert(predicted, answer.value(1).toString());
            })) {
            row[0] = predicted;
            engine.keyTaken(table, predicted);
            return;
        }
        if (!q.next())
            m_store->fail(QStringLiteral("сервер не вернул ключ новой строки таблицы «%1»").arg(table));
        row[0] = q.column(0).toLongLong();
        m_versions.insert(row[0].toLongLong(), q.column(1).toString());
        q.run();
        engine.keyTaken(table, row[0].toLongLong());
        return;
    }
    if (insertNew) {
        q.run();
        row[0] = m_store->lastInsertId();
        return;
    }
    const qint64 kod = row[0].toLongLong();
    q.bind(n - 1, kod);
    if (!m_store->onServer()) {
        q.run();
        return;
    }
    // Every row read or inserted by this cursor has its version; a null would match any.
    const auto version = m_versions.constFind(kod);
    q.bind(n, version == m_versions.constEnd() ? QVariant() : QVariant(*version));
    const auto answered = [this, kod](const QVariantList &answer) {
        if (!answer.isEmpty())
            m_versions.insert(kod, answer[0].toString());
        else
            versionRefused(kod);
    };
    if (sendAhead && q.sendAhead(this, 0, answered)) {
        // The row's new version comes with the answer. Until then a second edit of the row goes
        // unchecked: from this update on the transaction holds the row, and nobody else can
        // change it.
        m_versions.remove(kod);
        return;
    }
    QVariantList answer;
    if (q.next()) {
        answer << q.column(0);
        q.run();
    }
    answered(answer);
}

// Nothing was updated: either the row is gone, which posting over leaves as it always did, or
// another user changed it since it was read.
void TTable::versionRefused(qint64 kod)
{
    Statement &exists = m_store->prepared(QStringLiteral("SELECT 1 FROM \"%1\" WHERE \"Kod\"=?").arg(tableName()));
    exists.bind(0, kod);
    const bool stillThere = exists.next();
    exists.reset();
    if (stillThere)
        throw KorvanError(QStringLiteral("Запись изменена другим пользователем. Обновите данные."));
}

} // namespace korvan
