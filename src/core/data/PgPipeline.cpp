#include "core/data/PgPipeline.h"

#include "core/data/Schema.h"

#include <QHash>
#include <QRegularExpression>

#include <libpq-fe.h>

#include <limits>

namespace korvan {

namespace {

// Type identifiers of the server's built-in types (pg_type.oid), as every server has them.
constexpr Oid BoolOid = 16, Int8Oid = 20, Int2Oid = 21, Int4Oid = 23, OidOid = 26, Float4Oid = 700, Float8Oid = 701,
              NumericOid = 1700;

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

} // namespace

QVariant pgValue(const PGresult *result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return {};
    const char *text = PQgetvalue(result, row, column);
    const int length = PQgetlength(result, row, column);
    switch (PQftype(result, column)) {
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
        const auto field = std::find_if(table->fields.begin(), table->fields.end(),
                                        [&](const FieldDef &f) { return a.captured(1) == QLatin1String(f.name); });
        if (field == table->fields.end() || a.captured(2).toInt() != ++number)
            return shape;
        shape.casts.push_back(field->type == FieldType::Float ? "::double precision"
                              : field->type == FieldType::Integer || field->type == FieldType::Boolean ? "::bigint"
                                                                                                       : "::text");
        sets += (number > 1 ? ",\"" : "\"") + a.captured(1).toUtf8() + "\"=v.c" + QByteArray::number(number);
    }
    if (number != set)
        return shape;
    shape.casts.push_back("::bigint"); // the key
    shape.casts.push_back("::text");   // the version read
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

bool PgPipeline::send(const QByteArray &name, const std::vector<const char *> &values, Waiting waiting)
{
    // What was gathered was made before: it goes first.
    if (!enter() || !sendAllGathered())
        return false;
    if (!PQsendQueryPrepared(m_conn, name.constData(), int(values.size()), values.data(), nullptr, nullptr, 0))
        return false;
    m_sent.push_back({{std::move(waiting)}, false, {}});
    ++m_waitingRows;
    return true;
}

bool PgPipeline::prepare(const QByteArray &name, const QByteArray &text, int parameters)
{
    if (!enter() || !PQsendPrepare(m_conn, name.constData(), text.constData(), parameters, nullptr))
        return false;
    m_sent.push_back({{}, false, {}});
    return true;
}

bool PgPipeline::gather(const RowShape &shape, const std::vector<QByteArray> &values, const std::vector<bool> &nulls,
                        Waiting waiting)
{
    if (!enter())
        return false;
    auto g = std::find_if(m_gathered.begin(), m_gathered.end(),
                          [&](const Gathered &x) { return x.shape.head == shape.head && x.shape.tail == shape.tail; });
    if (g == m_gathered.end()) {
        m_gathered.push_back({shape, {}, {}, {}, {}, {}});
        g = m_gathered.end() - 1;
    }
    // An update is written after everything made before it, and before anything made after it
    // but inserts: what it changes may have just been written.
    if (!sendOthers(&*g, !shape.update()))
        return false;
    if (shape.update()) {
        const qint64 key = values[size_t(shape.keyParameter)].toLongLong();
        // A row updated twice: its first update must be written before the second is gathered.
        if (std::find(g->keys.begin(), g->keys.end(), key) != g->keys.end() && !sendGathered(*g))
            return false;
        g->keys.push_back(key);
    }
    g->values.insert(g->values.end(), values.begin(), values.end());
    g->nulls.insert(g->nulls.end(), nulls.begin(), nulls.end());
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
    g.values.clear();
    g.nulls.clear();
    g.waiting.clear();
    g.keys.clear();
    return sent;
}

bool PgPipeline::sendRows(Gathered &g, size_t first, size_t bits)
{
    const size_t rows = size_t(1) << bits, width = size_t(g.shape.width);
    std::vector<const char *> values(rows * width);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = g.nulls[first * width + i] ? nullptr : g.values[first * width + i].constData();
    QByteArray &name = g.prepared[bits];
    bool sent = true;
    if (name.isEmpty()) {
        name = m_nameStatement();
        sent =
            PQsendPrepare(m_conn, name.constData(), rowsText(g.shape, rows).constData(), int(values.size()), nullptr);
        m_sent.push_back({{}, false, {}});
    }
    sent =
        sent && PQsendQueryPrepared(m_conn, name.constData(), int(values.size()), values.data(), nullptr, nullptr, 0);
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
        if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK) {
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
        g.values.clear();
        g.nulls.clear();
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
