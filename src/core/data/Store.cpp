#include "Store.h"

#include "Messages.h"
#include "Schema.h"
#include "Seeder.h"
#include "TTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUuid>

namespace korvan {

namespace {

bool writableDirectory(const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    QTemporaryFile probe(path + QStringLiteral("/.probe-XXXXXX"));
    return probe.open();
}

QString quoted(const QString &name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

} // namespace

Store::~Store()
{
    for (TTable *cursor : std::as_const(m_cursors))
        cursor->detachFromStore();
    m_statements.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QString Store::defaultDataDirectory()
{
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/Data");
    if (writableDirectory(beside))
        return beside;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Data");
}

std::unique_ptr<Store> Store::open(const QString &dataDirectory)
{
    std::unique_ptr<Store> store(new Store);
    const QString dir = QDir(dataDirectory).absolutePath();
    store->m_directory = dir;
    if (!QDir().mkpath(dir))
        throw KorvanError(QStringLiteral("Не удалось создать каталог данных «%1».").arg(QDir::toNativeSeparators(dir)));
    if (!writableDirectory(dir))
        throw KorvanError(QStringLiteral("Каталог данных «%1» недоступен для записи.").arg(QDir::toNativeSeparators(dir)));

    store->m_lock = std::make_unique<QLockFile>(dir + QStringLiteral("/KorvanVkp1.lock"));
    store->m_lock->setStaleLockTime(0);
    if (!store->m_lock->tryLock(0)) {
        if (store->m_lock->error() == QLockFile::LockFailedError)
            throw KorvanError(QStringLiteral("С каталогом данных «%1» уже работает другая копия программы. "
                                             "Закройте её и повторите запуск.")
                                  .arg(QDir::toNativeSeparators(dir)));
        throw KorvanError(QStringLiteral("Не удалось занять каталог данных «%1».").arg(QDir::toNativeSeparators(dir)));
    }

    store->m_filePath = dir + QLatin1Char('/') + QLatin1String(FileName);
    const QFileInfo info(store->m_filePath);
    if (info.exists() && !info.isWritable())
        throw KorvanError(QStringLiteral("Файл данных «%1» недоступен для записи.")
                              .arg(QDir::toNativeSeparators(store->m_filePath)));
    store->openConnection(store->m_filePath);
    store->prepareSchema(true);
    store->configureConnection();
    return store;
}

std::unique_ptr<Store> Store::openMemory()
{
    std::unique_ptr<Store> store(new Store);
    store->openConnection(QStringLiteral(":memory:"));
    store->prepareSchema(true);
    return store;
}

QSqlDatabase Store::database() const { return QSqlDatabase::database(m_connection, false); }

void Store::openConnection(const QString &databaseName)
{
    m_connection = QStringLiteral("korvan-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(databaseName);
    if (!db.open())
        fail(db.lastError().text());
    // A file that is not a database shows itself at the first read.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        throw KorvanError(QStringLiteral("Файл «%1» не является базой данных программы (%2). "
                                         "Файл оставлен без изменений.")
                              .arg(QDir::toNativeSeparators(databaseName), probe.lastError().databaseText()));
    probe.finish();
}

void Store::configureConnection()
{
    // Only once the file is known to be ours: switching the journal rewrites its header.
    if (!inMemory()) {
        exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        exec(QStringLiteral("PRAGMA synchronous=FULL"));
    }
}

void Store::prepareSchema(bool allowCreate)
{
    QSqlQuery q(database());
    q.exec(QStringLiteral("PRAGMA user_version"));
    check(q);
    q.next();
    const int version = q.value(0).toInt();
    q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table'"));
    check(q);
    q.next();
    const int tableCount = q.value(0).toInt();
    q.finish();

    if (version == 0 && tableCount == 0 && allowCreate) {
        createSchema();
        return;
    }
    if (version == 0)
        throw KorvanError(QStringLiteral("Файл «%1» не является базой данных программы: в нём другие таблицы. "
                                         "Файл оставлен без изменений.")
                              .arg(QDir::toNativeSeparators(m_filePath)));
    if (version > SchemaVersion)
        throw KorvanError(QStringLiteral("База данных «%1» создана более новой версией программы "
                                         "(формат %2, эта версия понимает формат %3). Файл оставлен без изменений.")
                              .arg(QDir::toNativeSeparators(m_filePath))
                              .arg(version)
                              .arg(SchemaVersion));
    if (version < SchemaVersion)
        migrate(version);
    verifySchema();
}

void Store::createSchema()
{
    Transaction tx(*this);
    for (const TableDef *t : allTables()) {
        QStringList columns;
        for (const FieldDef &f : t->fields)
            columns << quoted(QLatin1String(f.name)) + QLatin1Char(' ') + sqlType(f);
        exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(QLatin1String(t->name)), columns.join(QStringLiteral(", "))));
        for (const IndexDef &ix : t->indexes) {
            if (ix.parts.size() == 1 && QLatin1String(ix.parts[0].field) == QLatin1String("Kod"))
                continue; // the primary key is its own index
            QStringList parts;
            for (const IndexPart &p : ix.parts)
                parts << quoted(QLatin1String(p.field)) + (p.descending ? QStringLiteral(" DESC") : QString());
            // Index names are global in SQLite; the table's name keeps them apart.
            exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                     .arg(quoted(QLatin1String(t->name) + QLatin1Char(':') + QLatin1String(ix.name)),
                          quoted(QLatin1String(t->name)), parts.join(QStringLiteral(", "))));
        }
    }
    Seeder(*this).seedAll();
    exec(QStringLiteral("PRAGMA user_version=%1").arg(SchemaVersion));
    tx.commit();
}

void Store::verifySchema()
{
    QSqlQuery q(database());
    for (const TableDef *t : allTables()) {
        if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(QLatin1String(t->name)))))
            check(q);
        QStringList found;
        while (q.next())
            found << q.value(1).toString() + QLatin1Char(' ') + q.value(2).toString();
        QStringList expected;
        for (const FieldDef &f : t->fields)
            expected << QLatin1String(f.name) + QLatin1Char(' ') +
                            (f.type == FieldType::AutoInc ? QStringLiteral("INTEGER") : sqlType(f));
        if (found != expected)
            throw KorvanError(QStringLiteral("Таблица «%1» в файле «%2» не соответствует программе%3. "
                                             "Файл оставлен без изменений.")
                                  .arg(QLatin1String(t->name), QDir::toNativeSeparators(m_filePath),
                                       found.isEmpty() ? QStringLiteral(" (таблица отсутствует)") : QString()));
    }
}

void Store::migrate(int fromVersion)
{
    // Each step takes the file from version n to n + 1 inside one transaction, so an interrupted
    // migration leaves the user's data at the version it had.
    for (int v = fromVersion; v < SchemaVersion; ++v) {
        Transaction tx(*this);
        switch (v) {
        default:
            throw KorvanError(QStringLiteral("Неизвестный формат базы данных «%1» (версия %2).")
                                  .arg(QDir::toNativeSeparators(m_filePath))
                                  .arg(v));
        }
        exec(QStringLiteral("PRAGMA user_version=%1").arg(v + 1));
        tx.commit();
    }
}

QSqlQuery &Store::prepared(const QString &sql)
{
    auto it = m_statements.find(sql);
    if (it != m_statements.end())
        return *it->second;
    auto query = std::make_unique<QSqlQuery>(database());
    if (!query->prepare(sql))
        check(*query);
    return *m_statements.emplace(sql, std::move(query)).first->second;
}

void Store::exec(const QString &sql)
{
    QSqlQuery q(database());
    if (!q.exec(sql))
        check(q);
}

void Store::check(const QSqlQuery &query) const
{
    if (query.lastError().isValid())
        fail(query.lastError().text());
}

void Store::fail(const QString &what) const
{
    const QString file = inMemory() ? QStringLiteral("(в памяти)") : QDir::toNativeSeparators(m_filePath);
    throw KorvanError(QStringLiteral("Ошибка базы данных «%1»: %2").arg(file, what));
}

void Store::begin()
{
    if (m_depth == 0)
        exec(QStringLiteral("BEGIN IMMEDIATE"));
    else
        exec(QStringLiteral("SAVEPOINT sp%1").arg(m_depth));
    ++m_depth;
}

void Store::commit()
{
    Q_ASSERT(m_depth > 0);
    if (m_depth == 1) {
        QSqlQuery q(database());
        if (!q.exec(QStringLiteral("COMMIT"))) {
            const QString error = q.lastError().text();
            rollback();
            fail(error);
        }
    } else {
        exec(QStringLiteral("RELEASE sp%1").arg(m_depth - 1));
    }
    --m_depth;
}

void Store::rollback()
{
    Q_ASSERT(m_depth > 0);
    --m_depth;
    QSqlQuery q(database());
    if (m_depth == 0) {
        q.exec(QStringLiteral("ROLLBACK"));
    } else {
        q.exec(QStringLiteral("ROLLBACK TO sp%1").arg(m_depth));
        q.exec(QStringLiteral("RELEASE sp%1").arg(m_depth));
    }
    // What the cursors hold may no longer be in the file: every one re-reads its rows.
    for (const TableDef *t : allTables())
        ++m_generations[t];
    for (TTable *cursor : std::as_const(m_cursors))
        cursor->afterRollback();
}

void Store::registerCursor(TTable *cursor) { m_cursors.append(cursor); }
void Store::unregisterCursor(TTable *cursor) { m_cursors.removeOne(cursor); }

} // namespace korvan
