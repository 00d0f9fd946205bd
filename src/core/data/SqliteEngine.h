#pragma once

#include "core/data/Engine.h"

struct sqlite3;

namespace korvan {

// The file store: one SQLite database file (or one in memory), through SQLite's C interface.
class SqliteEngine : public Engine {
public:
    // An empty path opens a database in memory. A file that is not a database, an unreadable
    // one and a full disk are refused here, before anything is written.
    SqliteEngine(const QString &filePath, bool readOnly);
    ~SqliteEngine() override;

    // Once the file is known to be ours: the journal, the syncing, the cache.
    void configure();

    QString place() const override { return m_filePath; }
    QString placeText() const override;
    QString identity() override;
    QString leftUntouchedText() const override { return QStringLiteral("Файл оставлен без изменений."); }

    std::unique_ptr<Statement> prepare(const QString &sql) override;
    void exec(const QString &sql) override;
    void execQuietly(const QString &sql) override;
    QString beginSql() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
    // A deferred transaction reads one snapshot from its first read on, and takes no write lock.
    QString readingSql() const override { return QStringLiteral("BEGIN"); }
    qint64 lastInsertId() override;
    qint64 changeCount() override;

    QString columnType(const FieldDef &field) const override;
    QString reportedType(const FieldDef &field) const override;
    QString valueType(Value kind) const override;
    QStringList columnsOf(const QString &table) override;
    int tableCount() override;
    int schemaVersion() override;
    void setSchemaVersion(int version) override;
    void createDeleteTrigger(const QString &name, const QString &owner, const QString &ownerKey, const QString &table,
                             const QString &column) override;

    // What SQLite says went wrong last, in Russian where the kind of failure is known.
    QString errorText() const;

private:
    sqlite3 *m_db = nullptr;
    QString m_filePath;
    bool m_pendingLog = false; // a write-ahead log with commits not yet in the file
};

} // namespace korvan
