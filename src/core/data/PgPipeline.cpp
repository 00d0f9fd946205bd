#include "core/data/PgPipeline.h"

#include "core/data/Schema.h"

#include <QHash>
#include <QRegularExpression>

#include <libpq-fe.h>

#include <QtEndian>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace korvan {

namespace {

// Type identifiers of the server's built-in types (pg_type.oid), as every server has them.
constexpr Oid BoolOid = 16, NameOid = 19, Int8Oid = 20, Int2Oid = 21, Int4Oid = 23, TextOid = 25, OidOid = 26,
              Float4Oid = 700, Float8Oid = 701, VarcharOid = 1043, NumericOid = 1700;

double decodedDouble(const char *text, int length)
{
    const QByteArray t = QByteArray::fromRawData(text, length);
    if (t == "NaN")
        return std::numeric_limits<double>::quiet_NaN();
    if (t == "Infinity")
        return std::numeric_limits<double>::infinity();
    if (t == "-Infinity")
        return -std::numeric_limits<double>::infinity();
    // Qt's conversion is exact and, unlike strtod, ignores the user's locale.
    return t.toDouble();
}

// A column's type on the server, as the store creates its tables.
unsigned typeOf(const FieldDef &field)
{
    switch (field.type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::Boolean:
        return PgParameters::Int8Type;
    case FieldType::Float:
        return PgParameters::Float8Type;
    default:
        return PgParameters::TextType;
    }
}

// The type of the table's column of that name; 0 when the table has none.
unsigned typeOf(const TableDef &table, const QString &column)
{
    const int at = table.fieldIndex(column);
    return at < 0 ? 0 : typeOf(table.fields[size_t(at)]);
}

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool isWhole(const QVariant &value)
{
    return isNumber(value) && value.typeId() != QMetaType::Double && value.typeId() != QMetaType::Float;
}

QByteArray bigEndian(quint64 bits)
{
    const quint64 out = qToBigEndian(bits);
    return QByteArray(reinterpret_cast<const char *>(&out), sizeof out);
}

QByteArray text(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (std::isnan(d))
            return "NaN";
        if (std::isinf(d))
            return d > 0 ? "Infinity" : "-Infinity";
        // The shortest text that reads back as the very same double (and far quicker to write
        // than seventeen digits).
        char text[32];
        const auto written = std::to_chars(text, text + sizeof text, d);
        return QByteArray(text, int(written.ptr - text));
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QByteArray::number(value.toLongLong());
    case QMetaType::Bool:
        return value.toBool() ? "1" : "0";
    default:
        return value.toString().toUtf8();
    }
}

} // namespace

void PgParameters::resize(size_t count)
{
    m_bytes.resize(count);
    m_kind.assign(count, 'n');
}

void PgParameters::set(size_t index, const QVariant &value, unsigned type)
{
    if (!value.isValid() || value.isNull()) {
        m_bytes[index].clear();
        m_kind[index] = 'n';
    } else if (type == Float8Type && isNumber(value)) {
        const double d = value.toDouble();
        quint64 bits = 0;
        std::memcpy(&bits, &d, sizeof bits);
        m_bytes[index] = bigEndian(bits);
        m_kind[index] = 'b';
    } else if (type == Int8Type && isWhole(value)) {
        m_bytes[index] = bigEndian(quint64(value.toLongLong()));
        m_kind[index] = 'b';
    } else {
        // A double bound to a whole number's column goes as text, and the server says whether it
        // takes it, as it did before types were declared.
        m_bytes[index] = text(value);
        m_kind[index] = 't';
    }
}

qint64 PgParameters::wholeNumber(size_t index) const
{
    const QByteArray &b = m_bytes[index];
    if (m_kind[index] == 'b' && b.size() == sizeof(qint64))
        return qint64(qFromBigEndian<quint64>(b.constData()));
    return b.toLongLong();
}

void PgParameters::clear()
{
    for (QByteArray &b : m_bytes)
        b.clear();
    m_kind.assign(m_kind.size(), 'n');
}

void PgParameters::append(const PgParameters &other)
{
    m_bytes.insert(m_bytes.end(), other.m_bytes.begin(), other.m_bytes.end());
    m_kind.insert(m_kind.end(), other.m_kind.begin(), other.m_kind.end());
}

PgParameters::View PgParameters::view(size_t first, size_t count) const
{
    View v;
    v.values.resize(count);
    v.lengths.resize(count);
    v.formats.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const size_t p = first + i;
        v.values[i] = m_kind[p] == 'n' ? nullptr : m_bytes[p].constData();
        v.lengths[i] = int(m_bytes[p].size());
        v.formats[i] = m_kind[p] == 'b' ? 1 : 0;
    }
    return v;
}

QVariant pgValue(const PGresult *result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return {};
    const char *text = PQgetvalue(result, row, column);
    const int length = PQgetlength(result, row, column);
    const Oid type = PQftype(result, column);
    if (PQfformat(result, column) == 1) {
        switch (type) {
        case Int8Oid:
            return QVariant(qint64(qFromBigEndian<quint64>(text)));
        case Int4Oid:
            return QVariant(qint64(qint32(qFromBigEndian<quint32>(text))));
        case Int2Oid:
            return QVariant(qint64(qint16(qFromBigEndian<quint16>(text))));
        case OidOid:
            return QVariant(qint64(qFromBigEndian<quint32>(text)));
        case Float8Oid: {
            const quint64 bits = qFromBigEndian<quint64>(text);
            double d = 0;
            std::memcpy(&d, &bits, sizeof d);
            return QVariant(d);
        }
        case BoolOid:
            return QVariant(qint64(text[0] ? 1 : 0));
        default: // text of every kind: the characters themselves
            return QString::fromUtf8(text, length);
        }
    }
    switch (type) {
    case Int8Oid:
    case Int2Oid:
    case Int4Oid:
    case OidOid:
        return QVariant(QByteArray::fromRawData(text, length).toLongLong());
    case Float4Oid:
    case Float8Oid:
    case NumericOid:
        return QVariant(decodedDouble(text, length));
    case BoolOid:
        return QVariant(qint64(text[0] == 't' ? 1 : 0));
    default:
        return QString::fromUtf8(text, length);
    }
}

bool pgBinaryReadable(const PGresult *result)
{
    for (int c = 0; c < PQnfields(result); ++c)
        switch (PQftype(result, c)) {
        case Int8Oid:
        case Int4Oid:
        case Int2Oid:
        case OidOid:
        case Float8Oid:
        case BoolOid:
        case TextOid:
        case VarcharOid:
        case NameOid:
            break;
        default:
            return false;
        }
    return true;
}

PgPipeline::RowShape PgPipeline::RowShape::insertOf(const QByteArray &text, int parameters)
{
    // INSERT INTO "t" (...) VALUES ($1,$2,...,$n)[ RETURNING ...], the parameters in their order.
    RowShape shape;
    if (parameters <= 0 || !text.startsWith("INSERT INTO "))
        return shape;
    const qsizetype values = text.indexOf(") VALUES (");
    if (values < 0)
        return shape;
    const qsizetype open = values + 9, close = text.indexOf(')', open);
    QByteArray expected = "(";
    for (int i = 1; i <= parameters; ++i)
        expected += (i > 1 ? ",$" : "$") + QByteArray::number(i);
    expected += ')';
    if (close < 0 || text.mid(open, close - open + 1) != expected)
        return shape;
    shape.head = text.left(open);
    shape.tail = text.mid(close + 1);
    shape.width = parameters;
    // The columns' types, when every column named is one of the table's.
    static const QRegularExpression head(QStringLiteral("^INSERT INTO \"([^\"]+)\" \\((.*)\\) VALUES $"));
    static const QRegularExpression column(QStringLiteral("\"([^\"]+)\""));
    const QRegularExpressionMatch m = head.match(QString::fromUtf8(shape.head));
    const TableDef *table = m.hasMatch() ? tableDef(m.captured(1)) : nullptr;
    for (auto it = column.globalMatch(m.captured(2)); table && it.hasNext();)
        shape.types.push_back(typeOf(*table, it.next().captured(1)));
    if (shape.types.size() != size_t(parameters) || std::count(shape.types.begin(), shape.types.end(), 0u) > 0)
        shape.types.clear();
    return shape;
}

PgPipeline::RowShape PgPipeline::RowShape::updateOf(const QByteArray &text, int parameters)
{
    RowShape shape;
    static const QRegularExpression update(
        QStringLiteral("^UPDATE \"([^\"]+)\" SET (.+) WHERE \"Kod\"=\\$(\\d+) "
                       "AND xmin::text=COALESCE\\(\\$(\\d+),xmin::text\\) RETURNING xmin::text$"));
    const QRegularExpressionMatch m = update.match(QString::fromUtf8(text));
    const TableDef *table = m.hasMatch() ? tableDef(m.captured(1)) : nullptr;
    const int set = parameters - 2;
    if (!table || set <= 0 || m.captured(3).toInt() != set + 1 || m.captured(4).toInt() != set + 2)
        return shape;
    static const QRegularExpression assignment(QStringLiteral("\"([^\"]+)\"=\\$(\\d+)"));
    QByteArray sets;
    int number = 0;
    for (auto it = assignment.globalMatch(m.captured(2)); it.hasNext();) {
        const QRegularExpressionMatch a = it.next();
        const unsigned type = typeOf(*table, a.captured(1));
        if (!type || a.captured(2).toInt() != ++number)
            return shape;
        shape.types.push_back(type);
        shape.casts.push_back(shape.types.back() == PgParameters::Float8Type ? "::double precision"
                              : shape.types.back() == PgParameters::Int8Type ? "::bigint"
                                                                             : "::text");
        sets += (number > 1 ? ",\"" : "\"") + a.captured(1).toUtf8() + "\"=v.c" + QByteArray::number(number);
    }
    if (number != set)
        return shape;
    shape.casts.push_back("::bigint"); // the key
    shape.casts.push_back("::text");   // the version read
    shape.types.push_back(PgParameters::Int8Type);
    shape.types.push_back(PgParameters::TextType);
    QByteArray columns;
    for (int i = 1; i <= set; ++i)
        columns += "c" + QByteArray::number(i) + ",";
    const QByteArray name = m.captured(1).toUtf8();
    shape.head = "UPDATE \"" + name + "\" AS u SET " + sets + " FROM (VALUES ";
    shape.tail = ") AS v(" + columns + "kod,ver) WHERE u.\"Kod\"=v.kod AND u.xmin::text=COALESCE(v.ver,u.xmin::text) " +
                 "RETURNING v.kod,u.xmin::text";
    shape.width = parameters;
    shape.keyParameter = set;
    return shape;
}

bool PgPipeline::enter()
{
    return pending() || PQpipelineStatus(m_conn) != PQ_PIPELINE_OFF || PQenterPipelineMode(m_conn);
}

bool PgPipeline::send(const QByteArray &name, const PgParameters &parameters, Waiting waiting)
{
    // What was gathered was made before: it goes first.
    if (!enter() || !sendAllGathered())
        return false;
    const PgParameters::View v = parameters.view();
    if (!PQsendQueryPrepared(m_conn, name.constData(), v.count(), v.values.data(), v.lengths.data(), v.formats.data(),
                             0))
        return false;
    m_sent.push_back({{std::move(waiting)}, false, {}, nullptr});
    ++m_waitingRows;
    return true;
}

bool PgPipeline::sendRead(const QByteArray &name, const QByteArray &text, const std::vector<unsigned> &types,
                          const PgParameters &parameters, int resultFormat, PGresult **result)
{
    if (!enter() || !sendAllGathered())
        return false;
    const PgParameters::View v = parameters.view();
    const bool sent =
        text.isEmpty() ? PQsendQueryPrepared(m_conn, name.constData(), v.count(), v.values.data(), v.lengths.data(),
                                             v.formats.data(), resultFormat)
                       : PQsendQueryParams(m_conn, text.constData(), v.count(), types.empty() ? nullptr : types.data(),
                                           v.values.data(), v.lengths.data(), v.formats.data(), resultFormat);
    if (!sent)
        return false;
    Sent s;
    s.result = result;
    m_sent.push_back(std::move(s));
    return true;
}

bool PgPipeline::prepare(const QByteArray &name, const QByteArray &text, const std::vector<unsigned> &types,
                         int parameters)
{
    if (!enter() ||
        !PQsendPrepare(m_conn, name.constData(), text.constData(), parameters, types.empty() ? nullptr : types.data()))
        return false;
    m_sent.push_back({{}, false, {}, nullptr});
    return true;
}

bool PgPipeline::gather(const RowShape &shape, const PgParameters &parameters, Waiting waiting)
{
    if (!enter())
        return false;
    auto g = std::find_if(m_gathered.begin(), m_gathered.end(),
                          [&](const Gathered &x) { return x.shape.head == shape.head && x.shape.tail == shape.tail; });
    if (g == m_gathered.end()) {
        m_gathered.push_back({shape, {}, {}, {}, {}});
        g = m_gathered.end() - 1;
    }
    // An update is written after everything made before it, and before anything made after it
    // but inserts: what it changes may have just been written.
    if (!sendOthers(&*g, !shape.update()))
        return false;
    if (shape.update()) {
        const qint64 key = parameters.wholeNumber(size_t(shape.keyParameter));
        // A row updated twice: its first update must be written before the second is gathered.
        if (std::find(g->keys.begin(), g->keys.end(), key) != g->keys.end() && !sendGathered(*g))
            return false;
        g->keys.push_back(key);
    }
    g->values.append(parameters);
    g->waiting.push_back(std::move(waiting));
    ++m_gatheredRows;
    ++m_waitingRows;
    if (g->waiting.size() >= BatchRows)
        return sendGathered(*g);
    return true;
}

QByteArray PgPipeline::rowsText(const RowShape &shape, size_t rows)
{
    QByteArray text;
    text.reserve(shape.head.size() + shape.tail.size() + qsizetype(rows) * shape.width * 7);
    text += shape.head;
    int number = 0;
    for (size_t r = 0; r < rows; ++r) {
        text += r ? ",(" : "(";
        for (int c = 0; c < shape.width; ++c) {
            if (c)
                text += ',';
            text += '$';
            text += QByteArray::number(++number);
            if (!shape.casts.empty())
                text += shape.casts[size_t(c)];
        }
        text += ')';
    }
    text += shape.tail;
    return text;
}

bool PgPipeline::sendGathered(Gathered &g)
{
    // The rows in order: as many as a power of two allows each time, the largest first.
    const size_t rows = g.waiting.size();
    size_t first = 0;
    bool sent = true;
    while (sent && first < rows) {
        size_t bits = BatchBits;
        while ((size_t(1) << bits) > rows - first)
            --bits;
        sent = sendRows(g, first, bits);
        first += size_t(1) << bits;
    }
    m_gatheredRows -= rows;
    g.values.resize(0);
    g.waiting.clear();
    g.keys.clear();
    return sent;
}

bool PgPipeline::sendRows(Gathered &g, size_t first, size_t bits)
{
    const size_t rows = size_t(1) << bits, width = size_t(g.shape.width);
    const PgParameters::View v = g.values.view(first * width, rows * width);
    QByteArray &name = g.prepared[bits];
    bool sent = true;
    if (name.isEmpty()) {
        name = m_nameStatement();
        std::vector<unsigned> types;
        for (size_t r = 0; r < rows; ++r)
            types.insert(types.end(), g.shape.types.begin(), g.shape.types.end());
        sent = PQsendPrepare(m_conn, name.constData(), rowsText(g.shape, rows).constData(), v.count(),
                             types.empty() ? nullptr : types.data());
        m_sent.push_back({{}, false, {}, nullptr});
    }
    sent = sent && PQsendQueryPrepared(m_conn, name.constData(), v.count(), v.values.data(), v.lengths.data(),
                                       v.formats.data(), 0);
    Sent s{std::vector<Waiting>(std::make_move_iterator(g.waiting.begin() + qsizetype(first)),
                                std::make_move_iterator(g.waiting.begin() + qsizetype(first + rows))),
           true,
           {}};
    if (g.shape.update())
        s.keys.assign(g.keys.begin() + qsizetype(first), g.keys.begin() + qsizetype(first + rows));
    m_sent.push_back(std::move(s));
    return sent;
}

bool PgPipeline::sendAllGathered() { return sendOthers(nullptr, false); }

bool PgPipeline::sendOthers(const Gathered *except, bool updatesOnly)
{
    for (Gathered &g : m_gathered)
        if (&g != except && (!updatesOnly || g.shape.update()) && !sendGathered(g))
            return false;
    return true;
}

bool PgPipeline::collect(std::vector<Answered> *answered, PGresult **failure)
{
    const bool sent = sendAllGathered();
    std::vector<Sent> sentList;
    sentList.swap(m_sent);
    m_waitingRows = 0;
    if (!sent || !PQpipelineSync(m_conn))
        return false;
    for (Sent &s : sentList) {
        PGresult *r = PQgetResult(m_conn);
        if (!r)
            return false;
        const ExecStatusType status = PQresultStatus(r);
        if (s.result) {
            *s.result = r; // its own failure is the caller's to tell, as a statement run alone
        } else if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK) {
            const int rows = PQntuples(r), columns = PQnfields(r);
            // An update's rows come back in any order, each after its key, and only those updated.
            QHash<qint64, int> rowOfKey;
            for (int row = 0; !s.keys.empty() && row < rows; ++row)
                rowOfKey.insert(QByteArray(PQgetvalue(r, row, 0)).toLongLong(), row);
            const int firstColumn = s.keys.empty() ? 0 : 1;
            for (size_t w = 0; answered && w < s.waiting.size(); ++w) {
                Answered a{std::move(s.waiting[w]), {}};
                const int row = !s.keys.empty() ? rowOfKey.value(s.keys[w], rows) : s.rowEach ? int(w) : 0;
                if (row < rows)
                    for (int c = firstColumn; c < columns; ++c)
                        a.row << pgValue(r, row, c);
                answered->push_back(std::move(a));
            }
            PQclear(r);
        } else if (status != PGRES_PIPELINE_ABORTED && failure && !*failure) {
            *failure = r; // the first failure; the statements after it were not run
        } else {
            PQclear(r);
        }
        // Each statement's answer ends with a null.
        while ((r = PQgetResult(m_conn)))
            PQclear(r);
        if (PQstatus(m_conn) != CONNECTION_OK)
            return false;
    }
    PGresult *sync = PQgetResult(m_conn);
    const bool synced = PQresultStatus(sync) == PGRES_PIPELINE_SYNC;
    PQclear(sync);
    return synced && PQexitPipelineMode(m_conn);
}

void PgPipeline::drop()
{
    // What is gathered was never sent; a lost connection needs nothing read.
    for (Gathered &g : m_gathered) {
        g.values.resize(0);
        g.waiting.clear();
        g.keys.clear();
    }
    m_gatheredRows = 0;
    if (!m_sent.empty() && PQstatus(m_conn) == CONNECTION_OK)
        collect(nullptr, nullptr);
    clear();
}

void PgPipeline::forget(const void *owner)
{
    for (Sent &s : m_sent)
        for (Waiting &w : s.waiting)
            if (w.owner == owner)
                w.answer = nullptr;
    for (Gathered &g : m_gathered)
        for (Waiting &w : g.waiting)
            if (w.owner == owner)
                w.answer = nullptr;
}

void PgPipeline::clear()
{
    m_sent.clear();
    m_gathered.clear();
    m_gatheredRows = 0;
    m_waitingRows = 0;
}

} // namespace korvan
