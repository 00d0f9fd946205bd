#include "core/data/PgPipeline.h"

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

PgPipeline::InsertShape PgPipeline::InsertShape::of(const QByteArray &text, int parameters)
{
    // INSERT INTO "t" (...) VALUES ($1,$2,...,$n)[ RETURNING ...], the parameters in their order.
    InsertShape shape;
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
    m_sent.push_back({{std::move(waiting)}, false});
    ++m_waitingRows;
    return true;
}

bool PgPipeline::gather(const InsertShape &shape, const std::vector<QByteArray> &values, const std::vector<bool> &nulls,
                        Waiting waiting)
{
    if (!enter())
        return false;
    auto g = std::find_if(m_gathered.begin(), m_gathered.end(),
                          [&](const Gathered &x) { return x.shape.head == shape.head && x.shape.tail == shape.tail; });
    if (g == m_gathered.end()) {
        m_gathered.push_back({shape, {}, {}, {}, {}});
        g = m_gathered.end() - 1;
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

QByteArray PgPipeline::insertText(const InsertShape &shape, size_t rows)
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
            PQsendPrepare(m_conn, name.constData(), insertText(g.shape, rows).constData(), int(values.size()), nullptr);
        m_sent.push_back({{}, false});
    }
    sent =
        sent && PQsendQueryPrepared(m_conn, name.constData(), int(values.size()), values.data(), nullptr, nullptr, 0);
    m_sent.push_back({std::vector<Waiting>(std::make_move_iterator(g.waiting.begin() + qsizetype(first)),
                                           std::make_move_iterator(g.waiting.begin() + qsizetype(first + rows))),
                      true});
    return sent;
}

bool PgPipeline::sendAllGathered()
{
    for (Gathered &g : m_gathered)
        if (!sendGathered(g))
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
            for (size_t w = 0; answered && w < s.waiting.size(); ++w) {
                Answered a{std::move(s.waiting[w]), {}};
                const int row = s.rowEach ? int(w) : 0;
                if (row < rows)
                    for (int c = 0; c < columns; ++c)
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
