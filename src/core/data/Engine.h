#pragma once

#include "core/Messages.h"
#include "core/data/Statement.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

namespace korvan {

struct FieldDef;

// A server that wants a password none was given for, or that refused the one given: the program
// may ask the user for it and try again.
class PasswordNeeded : public KorvanError {
public:
    PasswordNeeded(const QString &message, bool refused) : KorvanError(message), m_refused(refused) {}
    bool refused() const { return m_refused; }

private:
    bool m_refused;
};

// An engine's failure, with the SQLSTATE the server gave (empty for the file engine) so that the
// callers can tell a conflict between users, which is worth trying again, from a real fault.
class EngineError : public KorvanError {
public:
    EngineError(const QString &message, const QByteArray &state, bool connectionLost = false)
        : KorvanError(message), m_state(state), m_connectionLost(connectionLost)
    {
    }
    const QByteArray &state() const { return m_state; }
    // A serialization failure or a deadlock: the command may simply be run again.
    bool retryable() const { return m_state == "40001" || m_state == "40P01"; }
    bool connectionLost() const { return m_connectionLost; }

private:
    QByteArray m_state;
    bool m_connectionLost;
};

// The SQL engine beneath the store: one connection, its statements and transactions, and the few
// things the two engines spell differently (types, the schema's version, triggers, catalogues).
// The store above it knows the tables; an engine knows only how to talk to its database.
class Engine {
public:
    virtual ~Engine() = default;

    // Where the data lives, as the user knows it: a file's path or a server's address.
    virtual QString place() const = 0;
    // "файл «…»" or "сервер «…»", for messages.
    virtual QString placeText() const = 0;
    // Ends a refusal: what was left alone.
    virtual QString leftUntouchedText() const = 0;
    virtual bool server() const { return false; }
    // What the database is, whatever its address or path says: two stores with the same identity
    // are one (a folder reached through a link, two spellings of one server's address).
    virtual QString identity() = 0;

    virtual std::unique_ptr<Statement> prepare(const QString &sql) = 0;
    // A statement run once and dropped: a server then neither keeps it nor needs telling to forget it.
    virtual std::unique_ptr<Statement> prepareOnce(const QString &sql) { return prepare(sql); }
    virtual void exec(const QString &sql) = 0;
    // For paths that clean up after a failure: an error here would hide the first one.
    virtual void execQuietly(const QString &sql) = 0;
    virtual QString beginSql() const = 0;
    // Opens a transaction that only reads, every statement of it from one snapshot of the data.
    virtual QString readingSql() const = 0;
    virtual qint64 lastInsertId() = 0;
    // Moves on with every write the engine may have made: a row whose write failed with the same
    // count as before it began left nothing behind. (A server aborts the whole transaction on any
    // failed statement, so there every statement sent counts.)
    virtual qint64 changeCount() = 0;
    // Appended to an ORDER BY term so that empty values sort as the file store sorts them:
    // first in ascending order, last in descending.
    virtual QString nullsOrder(bool descending) const
    {
        Q_UNUSED(descending);
        return {};
    }

    // The declared type of one of the program's fields, and the type the engine reports back.
    virtual QString columnType(const FieldDef &field) const = 0;
    virtual QString reportedType(const FieldDef &field) const = 0;
    enum class Value { Real, Integer, Text };
    // Column types of the tables that stand beside the program's own.
    virtual QString valueType(Value kind) const = 0;
    // "name type" of each column of a table in its order; empty when there is no such table.
    virtual QStringList columnsOf(const QString &table) = 0;
    virtual int tableCount() = 0;
    virtual int schemaVersion() = 0;
    virtual void setSchemaVersion(int version) = 0;
    // Rows of table whose column refers to an owner's row go when the owner's row is deleted.
    virtual void createDeleteTrigger(const QString &name, const QString &owner, const QString &ownerKey,
                                     const QString &table, const QString &column) = 0;
    // Called in the transaction that creates or migrates the schema: another program opening
    // the same database at the same moment waits until it is done.
    virtual void lockSchema() {}
    // A command that changes a project holds it until the end of the program; another user's
    // program that wants to change it meanwhile is refused with the holder's name. The file
    // store needs nothing of the kind: its directory lock keeps other programs out altogether.
    virtual void lockProject(qint64 kod) { Q_UNUSED(kod); }

    // The store's outermost transactions: started, about to commit, ended (committed or undone).
    // A server's engine reconnects a lost connection only between them, and tells the other
    // programs on the server which tables a transaction wrote when it commits.
    virtual void transactionStarted() {}
    virtual void beforeCommit() {}
    virtual void transactionEnded() {}
    // What other programs committed since the last call: the tables they wrote, or everything
    // (after a reconnection, whatever happened meanwhile went unheard). Sends nothing to the server.
    struct Changes {
        bool everything = false;
        QStringList tables;
        bool any() const { return everything || !tables.isEmpty(); }
    };
    virtual Changes takeChanges() { return {}; }

    // Reads the answers of what was sent ahead without throwing: a failure among them is kept,
    // and the transaction can then only be undone.
    virtual void settleAnswers() {}
    // Statements sent ahead (Statement::sendAhead) whose answers this owner no longer wants.
    virtual void forgetAnswers(const void *owner) { Q_UNUSED(owner); }
    // The key the next row inserted into the table will get, when the engine can tell it before
    // the row is sent (0 when it cannot); keyTaken tells it the key a row did get.
    virtual qint64 predictedKey(const QString &table) const
    {
        Q_UNUSED(table);
        return 0;
    }
    virtual void keyTaken(const QString &table, qint64 key)
    {
        Q_UNUSED(table);
        Q_UNUSED(key);
    }
    // Whether writes were sent that the server has not yet answered: a read now waits for the
    // server to finish them.
    virtual bool writesPending() const { return false; }
    // Moves on whenever a statement writes the table and whenever a transaction begins or ends,
    // so that rows read while it stays the same are still the rows the store holds (0: the
    // engine does not keep count, and nothing read may be kept).
    virtual quint64 tableState(const QString &table) const
    {
        Q_UNUSED(table);
        return 0;
    }

    [[noreturn]] void fail(const QString &what, const QByteArray &state = {}, bool connectionLost = false) const
    {
        throw EngineError(QStringLiteral("Ошибка базы данных %1: %2").arg(placeText(), what), state, connectionLost);
    }
};

} // namespace korvan
