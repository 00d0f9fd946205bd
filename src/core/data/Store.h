#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>
#include <any>
#include <memory>
#include <unordered_map>

namespace korvan {

class Engine;
struct TableDef;
class TTable;
class Statement;

// The database that holds all tables, its one connection and its transactions: a file in a data
// directory (the default: one user, nothing to set up) or a PostgreSQL server shared by an office.
// Opening creates a missing database with the schema and the delivered contents, migrates an
// older one, and refuses a database that is not ours, a newer format, a second running program on
// the same directory and a directory that cannot be written. Opened for reading only, a file store
// takes no lock and writes nothing, so a read-only share or a backup can be read.
class Store : public QObject {
    Q_OBJECT
public:
    static constexpr int SchemaVersion = 5;
    static constexpr const char *FileName = "KorvanVkp1.sqlite";

    ~Store() override;

    // "Data" beside the executable when it exists or can be made and is writable (a portable
    // install), otherwise the user's application data folder followed by "Data". An installed
    // program (in the install prefix's bin or anywhere under /usr) never writes beside itself,
    // even when run by root: each user keeps their own data.
    static QString defaultDataDirectory();
    static QString dataDirectoryFor(const QString &programDirectory);

    enum class Access { ReadWrite, ReadOnly };
    // A data directory, or a server's address (postgresql://user@host:port/dbname ...): the PG*
    // environment variables and ~/.pgpass fill in what the address leaves out, as for any
    // PostgreSQL program. A server store is always opened for reading and writing.
    static std::unique_ptr<Store> open(const QString &location, Access access = Access::ReadWrite);
    static bool isServerAddress(const QString &location);
    // "scheme://...": an address, never a folder's name.
    static bool hasScheme(const QString &location);
    // The location as messages show it: a server's address without its password.
    static QString shownLocation(const QString &location);
    static constexpr const char *LockFileName = "KorvanVkp1.lock";
    // An in-memory store with the schema and the delivered contents (benchmarks, tests).
    static std::unique_ptr<Store> openMemory();

    QString dataDirectory() const { return m_directory; }
    QString filePath() const { return m_filePath; }
    bool inMemory() const { return m_filePath.isEmpty() && !onServer(); }
    bool onServer() const;
    // The file's path or the server's address (without a password), for messages.
    QString place() const;
    // What the store is, whatever way it was named (see Engine::identity).
    QString identity() const;
    Engine &engine() { return *m_engine; }
    bool readOnly() const { return m_readOnly; }

    // A prepared statement kept for the life of the store.
    Statement &prepared(const QString &sql);
    // Runs statements; an engine error becomes a KorvanError naming the file.
    void exec(const QString &sql);
    void execPrepared(const QString &sql);
    // A statement whose answer nobody reads: inside a transaction on a server it is sent without
    // waiting (Statement::sendAhead).
    void writeAhead(const QString &sql);
    // The first column of the first row, or null.
    QVariant scalar(const QString &sql);
    qint64 lastInsertId() const;
    // Held by a command that changes the project, against other users of a shared server.
    void lockProject(qint64 kod);
    [[noreturn]] void fail(const QString &what) const;

    // Transactions nest: the outermost is a real transaction, the inner ones savepoints.
    void begin();
    // A transaction that only reads, all of it from one snapshot although others write meanwhile
    // (inside another transaction, a savepoint of it).
    void beginReading();
    void commit();
    void rollback();
    int transactionDepth() const { return m_depth; }

    // The write of one row with its hooks (a cursor's post or delete). Alone it is a transaction
    // of its own. Inside a transaction it opens no savepoint: one per row was most of the cost of
    // a command that writes thousands of rows. A row that fails before anything was written
    // leaves nothing to undo; one that fails after writing leaves its transaction unable to
    // commit, so that the command is undone as a whole and never half written.
    struct RowWrite {
        bool ownTransaction = false;
        qint64 changesBefore = 0;
    };
    RowWrite beginRow();
    void commitRow(const RowWrite &row);
    void rollbackRow(const RowWrite &row);

    // A cursor wrote this row (or deleted it): the other cursors on the table that show or may
    // show it re-read their rows at their next use.
    void rowWritten(const TTable *writer, const QVector<QVariant> &row, bool newRow);
    // Moves on whenever any cursor moves, re-reads or writes: a cursor that saw the same epoch
    // last time knows that nothing it depends on has changed.
    quint64 epoch() const { return m_epoch; }
    void advanceEpoch() { ++m_epoch; }
    // Moves on when a transaction ends, committed or undone, and when other programs' changes
    // arrive: values read from the store since it last moved are still what the store holds, so a
    // window may keep what it shows until then and read nothing while the user only moves about.
    quint64 changeCount() const { return m_changes; }

    // On a shared server: learns which tables other programs committed changes to since the
    // last call, and has the cursors on them re-read their rows at their next use (a cursor
    // being edited keeps its buffer) and tell the windows bound to them. Sends nothing to the
    // server, so a window may call it from a timer; does nothing inside a command. True when
    // any cursor was marked.
    bool pollChanges();

    // Values a command reads again and again (a project's supply, a type's detuning): inside a
    // transaction they are read once and kept until it ends or their table is written through
    // forgetRemembered(table). Outside one nothing is kept: others may change them between commands.
    const std::any *remembered(const QString &table, qint64 kod) const;
    void remember(const QString &table, qint64 kod, std::any value);
    void forgetRemembered(const QString &table);

    QList<TTable *> cursorsOn(const TableDef *table) const;
    void registerCursor(TTable *cursor);
    void unregisterCursor(TTable *cursor);

    class Transaction;

private:
    Store() = default;
    void lockDirectory();
    void prepareSchema(bool allowCreate);
    void prepareSchemaLocked(bool allowCreate);
    void createSchema();
    void verifySchema();
    void migrate(int fromVersion);

    std::unique_ptr<Engine> m_engine;
    QString m_directory;
    QString m_filePath;
    int m_lockFd = -1; // held with flock(): the system frees it when the process ends
    bool m_readOnly = false;
    std::unordered_map<QString, std::unique_ptr<Statement>> m_statements;
    quint64 m_epoch = 1;
    quint64 m_changes = 1;
    QList<TTable *> m_cursors;
    int m_depth = 0;
    // The depth whose transaction holds the writes of a failed row, 0 when none does.
    int m_brokenDepth = 0;
    QHash<QString, QHash<qint64, std::any>> m_remembered;
};

// One command, one transaction: what the guard's scope wrote is committed by commit() and
// undone when the scope is left without it (an exception). Guards nest.
class Store::Transaction {
public:
    explicit Transaction(Store &store) : m_store(store) { m_store.begin(); }
    enum Reading { OnlyReading };
    Transaction(Store &store, Reading) : m_store(store) { m_store.beginReading(); }
    ~Transaction()
    {
        if (!m_done)
            m_store.rollback();
    }
    void commit()
    {
        m_store.commit();
        m_done = true;
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    Store &m_store;
    bool m_done = false;
};

} // namespace korvan
