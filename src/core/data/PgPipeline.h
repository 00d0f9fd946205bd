#pragma once

#include "core/data/Statement.h"

#include <QByteArray>
#include <QVariantList>
#include <array>
#include <functional>
#include <vector>

struct pg_conn;
struct pg_result;

namespace korvan {

// A column of a row of a server's result as the program holds it: null, qint64, double or QString.
// Either form of answer, text or the server's binary form.
QVariant pgValue(const pg_result *result, int row, int column);
// Whether every column of the result is of a type whose binary form pgValue reads: then a
// statement's later answers are asked for in it (a number's text costs the server its writing
// and the program its reading, for each value of each row).
bool pgBinaryReadable(const pg_result *result);

// The parameters of a statement as libpq takes them. A number bound to a parameter whose type the
// statement declares (a double precision or bigint column) goes in the server's binary form,
// which the server takes without parsing text: most of what the program writes is doubles, and
// reading each from text was a good part of the server's work on a row. Anything else goes as
// text, for the server to read by the parameter's type as it always did.
class PgParameters {
public:
    // Type identifiers of the server's built-in types (pg_type.oid), as every server has them.
    static constexpr unsigned Int8Type = 20, TextType = 25, Float8Type = 701;

    void resize(size_t count);
    size_t size() const { return m_bytes.size(); }
    // type: the parameter's declared type, 0 when the server infers it.
    void set(size_t index, const QVariant &value, unsigned type);
    void clear(); // every parameter null again
    void append(const PgParameters &other);
    // A whole number's parameter (a key) as a number.
    qint64 wholeNumber(size_t index) const;

    // The arrays libpq takes, of count parameters from first on; they point into this object.
    struct View {
        std::vector<const char *> values;
        std::vector<int> lengths, formats;
        int count() const { return int(values.size()); }
    };
    View view(size_t first, size_t count) const;
    View view() const { return view(0, size()); }

private:
    std::vector<QByteArray> m_bytes;
    std::vector<char> m_kind; // 'n' null, 't' text, 'b' binary
};

// What a command sends to the server without waiting for each answer (libpq's pipeline mode):
// prepared statements sent one by one, and rows of one insert or one update gathered and sent as
// one statement of many rows, whose per-statement cost on the server is paid once. Nothing here
// runs between the rows that are gathered, so the inserts of different tables may reach the
// server in another order than they were made (the store's tables refer to each other only by
// keys, which the server numbers per table); an update keeps its place among all other writes.
class PgPipeline {
public:
    // Whoever waits for an answer: the first row of its statement's answer, or for a gathered row
    // its own row of the insert's.
    struct Waiting {
        const void *owner = nullptr;
        qint64 expectedKey = 0;
        Statement::Answer answer;
    };
    struct Answered {
        Waiting waiting;
        QVariantList row;
    };
    // A statement that writes one row, split around the row's values so that many rows can be
    // written by one: an insert ("INSERT INTO t (a,b) VALUES " ... " RETURNING ..."), or an update
    // of a row by its key over its version, which becomes an update from a list of values. Empty
    // (not valid) when the statement is of another shape.
    struct RowShape {
        QByteArray head, tail;
        std::vector<QByteArray> casts; // each parameter's cast, empty for none
        // Each parameter's type (its column's), declared when the statement is prepared; empty
        // when a column is not known, and the server then infers them.
        std::vector<unsigned> types;
        int width = 0;
        // An update: the parameter that holds the row's key, and the answer's rows, which come in
        // any order, are matched to the rows by it.
        int keyParameter = -1;
        bool valid() const { return width > 0; }
        bool update() const { return keyParameter >= 0; }
        static RowShape insertOf(const QByteArray &text, int parameters);
        // UPDATE "t" SET "a"=$1,... WHERE "Kod"=$n AND xmin::text=COALESCE($m,xmin::text)
        // RETURNING xmin::text, as a cursor writes it.
        static RowShape updateOf(const QByteArray &text, int parameters);
    };

    // nameStatement gives a name for a statement prepared on the connection.
    PgPipeline(pg_conn *&connection, std::function<QByteArray()> nameStatement)
        : m_conn(connection), m_nameStatement(std::move(nameStatement))
    {
    }

    bool pending() const { return !m_sent.empty() || m_gatheredRows > 0; }
    // How many answers wait to be read: past a limit they are read, so that the server's replies
    // never fill the connection while the program is still sending.
    bool full() const { return m_waitingRows >= MaxWaitingRows; }

    // False when libpq refused (the connection is gone).
    bool send(const QByteArray &name, const PgParameters &parameters, Waiting waiting);
    // A statement whose answer the caller waits for, sent after the writes so that one round
    // trip answers them all: collect hands its whole result over in *result, failed or not, for
    // the caller to free. text: a statement run once, unnamed; otherwise name is prepared.
    bool sendRead(const QByteArray &name, const QByteArray &text, const std::vector<unsigned> &types,
                  const PgParameters &parameters, int resultFormat, pg_result **result);
    bool prepare(const QByteArray &name, const QByteArray &text, const std::vector<unsigned> &types, int parameters);
    bool gather(const RowShape &shape, const PgParameters &parameters, Waiting waiting);

    // Sends what is gathered and reads every answer, in the order the rows were made within each
    // statement. False when the connection was lost; *failure: the first failed statement's result
    // (the server ran nothing after it), for the caller to free.
    bool collect(std::vector<Answered> *answered, pg_result **failure);
    // Reads and drops every answer (the transaction is being undone).
    void drop();
    // The answers this owner waits for are no longer wanted.
    void forget(const void *owner);
    // The connection was made anew: nothing sent on the old one will answer.
    void clear();

private:
    static constexpr size_t MaxWaitingRows = 2000;
    // Rows gathered are sent in inserts of this many as soon as there are so many: the server
    // works on them while the program goes on. Fewer go at the next reading, in inserts of a power
    // of two rows each, so that every insert sent is one of a few statements prepared once (a
    // statement parsed for each count of rows cost more than the rows).
    static constexpr size_t BatchBits = 5;
    static constexpr size_t BatchRows = size_t(1) << BatchBits;

    struct Sent {
        std::vector<Waiting> waiting;
        bool rowEach = false;         // gathered rows: row i of the answer answers waiting i ...
        std::vector<qint64> keys;     // ... or, for an update, the row whose first column is keys[i]
        pg_result **result = nullptr; // a read's whole result goes here
    };
    struct Gathered {
        RowShape shape;
        // The inserts of 1, 2, 4 ... BatchRows rows, each prepared on the connection at its first use.
        std::array<QByteArray, BatchBits + 1> prepared;
        PgParameters values;
        std::vector<Waiting> waiting;
        std::vector<qint64> keys; // of an update's rows
    };
    bool enter();
    // Sends the gathered rows of every shape but this one (all when null); updates only, or all.
    bool sendOthers(const Gathered *except, bool updatesOnly);
    bool sendGathered(Gathered &gathered);
    bool sendRows(Gathered &gathered, size_t first, size_t bits);
    bool sendAllGathered();

    static QByteArray rowsText(const RowShape &shape, size_t rows);

    pg_conn *&m_conn;
    std::function<QByteArray()> m_nameStatement;
    std::vector<Sent> m_sent;
    std::vector<Gathered> m_gathered; // one per insert statement, in first use order
    size_t m_gatheredRows = 0;
    size_t m_waitingRows = 0;
};

} // namespace korvan
