#pragma once

#include "core/data/Engine.h"

#include "core/data/PgPipeline.h"
#include "core/data/Statement.h"

#include <QHash>
#include <algorithm>
#include <functional>
#include <vector>

struct pg_conn;
struct pg_result;

namespace korvan {

// The table an INSERT, UPDATE or DELETE statement writes ("" for any other statement).
QString writtenTable(const QString &sql);

// The shared store: a PostgreSQL server through libpq. The address goes to libpq as it is, so
// the PG* environment variables, ~/.pgpass and a service file work as in any PostgreSQL program;
// nothing of ours ever holds a password.
class PgEngine : public Engine {
public:
    // Connects; a server that cannot be reached is a message naming it.
    explicit PgEngine(const QString &address);
    ~PgEngine() override;

    // The address as it may be shown: a password written into it is left out.
    static QString shownAddress(const QString &address);
    // "?" placeholders become "$1", "$2" ... outside quoted text and names; "?NNN" becomes "$NNN",
    // and a "?" after it the next number, as the file engine reads them. count: the highest.
    static QByteArray numberedPlaceholders(const QString &sql, int *count);
    // user@host, the name the server shows for this connection (who holds a lock, for others).
    static QString clientName();

    QString place() const override { return m_shown; }
    QString placeText() const override;
    QString identity() override;
    QString leftUntouchedText() const override { return QStringLiteral("Данные на сервере оставлены без изменений."); }
    bool server() const override { return true; }

    std::unique_ptr<Statement> prepare(const QString &sql) override;
    std::unique_ptr<Statement> prepareOnce(const QString &sql) override;
    void exec(const QString &sql) override;
    void execQuietly(const QString &sql) override;
    QString beginSql() const override { return QStringLiteral("BEGIN"); }
    QString readingSql() const override { return QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"); }
    qint64 lastInsertId() override { return m_lastId; }
    qint64 changeCount() override { return m_statementsSent; }
    void statementSent() { ++m_statementsSent; }
    QString nullsOrder(bool descending) const override;

    QString columnType(const FieldDef &field) const override;
    QString reportedType(const FieldDef &field) const override;
    QString valueType(Value kind) const override;
    QStringList columnsOf(const QString &table) override;
    int tableCount() override;
    int schemaVersion() override;
    void setSchemaVersion(int version) override;
    void createDeleteTrigger(const QString &name, const QString &owner, const QString &ownerKey, const QString &table,
                             const QString &column) override;
    void lockSchema() override;
    void lockProject(qint64 kod) override;

    void forgetAnswers(const void *owner) override;
    void settleAnswers() override;
    qint64 predictedKey(const QString &table) const override;
    void keyTaken(const QString &table, qint64 key) override { m_nextKeys.insert(table, key + 1); }
    // A row went into the table by a statement whose key nobody told: the next key is unknown.
    void keysUnknown(const QString &table) { m_nextKeys.remove(table); }

    // Statements sent ahead (Statement::sendAhead): only inside a transaction, so that what they
    // wrote is undone with it when an answer read later tells of a failure.
    bool canSendAhead() const;
    void sendAhead(const QByteArray &name, const PgParameters &parameters, PgPipeline::Waiting waiting);
    // A statement prepared without waiting (types: the parameters' declared types, or empty); a
    // failure is found with the next answers read.
    void prepareAhead(const QByteArray &name, const QByteArray &text, const std::vector<unsigned> &types,
                      int parameters);
    // An insert of one row gathered with the others of its statement, sent as one.
    void gatherAhead(const PgPipeline::RowShape &shape, const PgParameters &parameters, PgPipeline::Waiting waiting);
    // Reads the answers of every statement sent ahead, then hands them over; throws the first
    // failure, after which the transaction can no longer commit.
    void readAnswers();
    // Runs a statement after what was sent ahead, in the same round trip, and returns its result
    // (or throws as readAnswers). text: run once, unnamed; otherwise the prepared statement name.
    pg_result *readAfterAnswers(const QByteArray &name, const QByteArray &text, const std::vector<unsigned> &types,
                                const PgParameters &parameters, int resultFormat);
    bool answersPending() const { return m_pipeline.pending(); }
    bool writesPending() const override { return answersPending(); }

    quint64 tableState(const QString &table) const override
    {
        return std::max(m_transactionClock, m_writeClocks.value(table, 0));
    }

    void transactionStarted() override
    {
        m_inTransaction = true;
        m_transactionClock = ++m_clock;
    }
    void beforeCommit() override;
    void transactionEnded() override;
    Changes takeChanges() override;

    // Before anything is sent: a connection lost between transactions is made again (the
    // statements prepared on the old one are prepared anew at their next use); one lost inside
    // a transaction fails the command, whose writes the server has already undone.
    void ensureConnected();
    // Whether a statement that failed on a lost connection may simply be sent again on a new
    // one: outside a transaction it wrote nothing that could be lost or doubled.
    bool resendable() const { return !m_inTransaction; }
    // Moves on with every new connection: a statement prepared on an older one is prepared again.
    int generation() const { return m_generation; }
    // A statement that writes this table was run: the programs listening hear of it at the commit.
    void wrote(const QString &table);
    // The server process of this connection (to tell its own notifications from others').
    int backendPid() const;
    // The one channel every program listens on; the payload names the tables, one a line.
    static constexpr const char *ChangesChannel = "korvan_changes";

    pg_conn *connection() const { return m_conn; }
    void setLastInsertId(qint64 id) { m_lastId = id; }
    QByteArray nextStatementName() { return "k" + QByteArray::number(++m_statementCount); }
    // Sends one request (ensureConnected first); outside a transaction a connection found lost
    // by it is made again and the request sent once more.
    pg_result *roundTrip(const std::function<pg_result *()> &request);
    // Throws the failure a result (or the connection) reports.
    [[noreturn]] void failWith(const pg_result *result) const;
    static constexpr const char *VersionTable = "store_version.db";
    // The first half of a project lock's key, the project's Kod being the second.
    static constexpr int ProjectLockClass = 4711;

private:
    // Drops the answers unread: the transaction that wrote them is being undone.
    void dropAnswers();
    // After a statement was handed to the pipeline (sent: libpq took it).
    void sentAhead(bool sent);
    void startSession();
    void reconnect();
    [[noreturn]] void failLost(const QString &why) const;

    pg_conn *m_conn = nullptr;
    bool m_inTransaction = false;
    int m_generation = 0;
    QStringList m_written;
    bool m_missedChanges = false;
    QString m_shown;
    qint64 m_lastId = 0;
    qint64 m_statementsSent = 0;
    int m_statementCount = 0;
    PgPipeline m_pipeline{m_conn, [this] { return nextStatementName(); }};
    // The next key of each table this transaction inserted into, as the server numbers them.
    QHash<QString, qint64> m_nextKeys;
    // Transactions left that predict no key: after a prediction failed, the command's next try
    // waits for every key.
    int m_unpredicted = 0;
    // An answer read late told of a failure: the transaction may only be undone.
    bool m_answerFailed = false;
    // tableState: one clock for every write and every transaction's start and end.
    quint64 m_clock = 0, m_transactionClock = 0;
    QHash<QString, quint64> m_writeClocks;
};

} // namespace korvan
