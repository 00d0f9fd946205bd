#include "Store.h"
#include "data/Fields.h"

#include "EconomicsTables.h"
#include "Messages.h"
#include "ResonanceTables.h"
#include "Schema.h"
#include "Seeder.h"
#include "TTable.h"
#include "Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QStorageInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

#include <cerrno>
#include <cstring>

#include "Statement.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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
    sqlite3_close_v2(m_db);
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString Store::defaultDataDirectory()
{
    return dataDirectoryFor(QCoreApplication::applicationDirPath());
}

QString Store::dataDirectoryFor(const QString &programDirectory)
{
    const QString program = QDir::cleanPath(programDirectory);
    const bool installed = program == QDir::cleanPath(QStringLiteral(KORVAN_INSTALL_BINDIR)) ||
                           program.startsWith(QStringLiteral("/usr/"));
    const QString beside = program + QStringLiteral("/Data");
    if (!installed && writableDirectory(beside))
        return beside;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Data");
}

std::unique_ptr<Store> Store::open(const QString &dataDirectory, Access access)
{
    std::unique_ptr<Store> store(new Store);
    const QString dir = QDir(dataDirectory).absolutePath();
    store->m_directory = dir;
    store->m_filePath = dir + QLatin1Char('/') + QLatin1String(FileName);
    if (access == Access::ReadOnly) {
        if (!QFileInfo::exists(store->m_filePath))
            throw KorvanError(QStringLiteral("В каталоге данных «%1» нет файла данных «%2».")
                                  .arg(QDir::toNativeSeparators(dir), QLatin1String(FileName)));
        store->m_readOnly = true;
        store->openConnection(store->m_filePath, true);
        store->prepareSchema(false);
        return store;
    }
    if (!QDir().mkpath(dir))
        throw KorvanError(QStringLiteral("Не удалось создать каталог данных «%1».").arg(QDir::toNativeSeparators(dir)));
    if (!writableDirectory(dir))
        throw KorvanError(QStringLiteral("Каталог данных «%1» недоступен для записи.").arg(QDir::toNativeSeparators(dir)));
    store->lockDirectory();

    const QFileInfo info(store->m_filePath);
    if (info.exists() && !info.isWritable())
        throw KorvanError(QStringLiteral("Файл данных «%1» недоступен для записи.")
                              .arg(QDir::toNativeSeparators(store->m_filePath)));
    store->openConnection(store->m_filePath);
    store->prepareSchema(true);
    store->configureConnection();
    return store;
}

void Store::lockDirectory()
{
    // The lock is the system's lock on the file, not the file's contents: whatever a crash or a
    // power loss left in it, a lock whose holder is gone is free. The contents only say who holds it.
    const QString path = m_directory + QLatin1Char('/') + QLatin1String(LockFileName);
    const QString shown = QDir::toNativeSeparators(path);
    m_lockFd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_lockFd < 0)
        throw KorvanError(QStringLiteral("Не удалось открыть файл блокировки «%1»: %2.")
                              .arg(shown, QString::fromLocal8Bit(std::strerror(errno))));
    if (::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        QByteArray holder(256, '\0');
        const ssize_t n = ::pread(m_lockFd, holder.data(), size_t(holder.size()), 0);
        holder.resize(n > 0 ? n : 0);
        ::close(m_lockFd);
        m_lockFd = -1;
        if (error != EWOULDBLOCK)
            throw KorvanError(QStringLiteral("Не удалось занять файл блокировки «%1»: %2.")
                                  .arg(shown, QString::fromLocal8Bit(std::strerror(error))));
        const QStringList who = QString::fromUtf8(holder).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QString by;
        if (who.size() >= 2 && !who[0].trimmed().isEmpty())
            by = QStringLiteral(" (процесс %1 на компьютере «%2»)").arg(who[0].trimmed(), who[1].trimmed());
        throw KorvanError(QStringLiteral("С каталогом данных «%1» уже работает другая копия программы%2: "
                                         "файл блокировки «%3» занят. Закройте её и повторите запуск.")
                              .arg(QDir::toNativeSeparators(m_directory), by, shown));
    }
    const QByteArray who = QByteArray::number(qint64(::getpid())) + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
    // Who holds it is a courtesy for the next one refused; failing to write it changes nothing.
    if (::ftruncate(m_lockFd, 0) == 0) {
        const ssize_t written = ::pwrite(m_lockFd, who.constData(), size_t(who.size()), 0);
        Q_UNUSED(written);
    }
}

std::unique_ptr<Store> Store::openMemory()
{
    std::unique_ptr<Store> store(new Store);
    store->openConnection(QStringLiteral(":memory:"));
    store->prepareSchema(true);
    return store;
}

void Store::openConnection(const QString &databaseName, bool readOnly)
{
    QByteArray name = databaseName.toUtf8();
    int flags = SQLITE_OPEN_NOMUTEX;
    if (readOnly) {
        // A directory nobody can write to holds a file nobody changes: the engine need not look
        // for other writers (it could not create its shared-memory file there anyway).
        const bool frozen = !QFileInfo(QFileInfo(databaseName).absolutePath()).isWritable();
        name = QUrl::fromLocalFile(databaseName).toEncoded() + (frozen ? "?immutable=1" : "?mode=ro");
        flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
    } else {
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    }
    if (sqlite3_open_v2(name.constData(), &m_db, flags, nullptr) != SQLITE_OK)
        fail(engineError(m_db));
    // A file that is not a database shows itself at the first read.
    if (sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const int code = sqlite3_extended_errcode(m_db) & 0xff;
        const QString shown = QDir::toNativeSeparators(databaseName);
        if (code == SQLITE_NOTADB)
            throw KorvanError(QStringLiteral("Файл «%1» не является базой данных программы (%2). "
                                             "Файл оставлен без изменений.")
                                  .arg(shown, engineError(m_db)));
        // Anything else is about the disk or the file's access, not about what is in it.
        const QStorageInfo disk(QFileInfo(databaseName).absolutePath());
        if (code == SQLITE_FULL || (disk.isValid() && disk.bytesAvailable() < 1024 * 1024))
            throw KorvanError(QStringLiteral("На диске с файлом «%1» нет места (свободно %2 байт). "
                                             "Освободите место и повторите. Файл оставлен без изменений.")
                                  .arg(shown)
                                  .arg(disk.bytesAvailable()));
        throw KorvanError(QStringLiteral("Не удалось прочитать файл «%1»: %2").arg(shown, engineError(m_db)));
    }
}

void Store::configureConnection()
{
    // Only once the file is known to be ours: switching the journal rewrites its header.
    if (!inMemory()) {
        exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        exec(QStringLiteral("PRAGMA synchronous=FULL"));
        // A whole command's pages stay in memory until its one commit.
        exec(QStringLiteral("PRAGMA cache_size=-65536"));
    }
}

void Store::prepareSchema(bool allowCreate)
{
    const int version = scalar(QStringLiteral("PRAGMA user_version")).toInt();
    const int tableCount = scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table'")).toInt();

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
    // The tables of the first format come first: a migration builds on them and never changes them,
    // and a file that is not ours must be refused before anything is written to it.
    verifySchema();
    if (version < SchemaVersion)
        migrate(version);
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
            if (ix.parts.size() == 1 && QLatin1String(ix.parts[0].field) == fld::Kod)
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
    resonance_tables::create(*this);
    Seeder(*this).seedAll();
    createEconomicsTables(*this);
    exec(QStringLiteral("PRAGMA user_version=%1").arg(SchemaVersion));
    tx.commit();
}

void Store::verifySchema()
{
    for (const TableDef *t : allTables()) {
        Statement q(*this, m_db, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(QLatin1String(t->name))));
        QStringList found;
        while (q.next())
            found << q.column(1).toString() + QLatin1Char(' ') + q.column(2).toString();
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
        case 1:
            resonance_tables::create(*this);
            Seeder(*this).switchResonanceOnInFullReport();
            break;
        case 2:
            createEconomicsTables(*this);
            break;
        default:
            throw KorvanError(QStringLiteral("Неизвестный формат базы данных «%1» (версия %2).")
                                  .arg(QDir::toNativeSeparators(m_filePath))
                                  .arg(v));
        }
        exec(QStringLiteral("PRAGMA user_version=%1").arg(v + 1));
        tx.commit();
    }
}

Statement &Store::prepared(const QString &sql)
{
    auto it = m_statements.find(sql);
    if (it != m_statements.end())
        return *it->second;
    auto statement = std::make_unique<Statement>(*this, m_db, sql);
    return *m_statements.emplace(sql, std::move(statement)).first->second;
}

void Store::exec(const QString &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString text = QString::fromUtf8(error);
        sqlite3_free(error);
        fail(text);
    }
}

QVariant Store::scalar(const QString &sql)
{
    Statement q(*this, m_db, sql);
    return q.next() ? q.column(0) : QVariant();
}

qint64 Store::lastInsertId() const { return sqlite3_last_insert_rowid(m_db); }

QString Store::engineError(sqlite3 *db)
{
    const QString detail = QString::fromUtf8(sqlite3_errmsg(db));
    QString text;
    switch (sqlite3_extended_errcode(db) & 0xff) {
    case SQLITE_NOTADB: text = QStringLiteral("файл не является базой данных"); break;
    case SQLITE_CORRUPT: text = QStringLiteral("файл базы данных повреждён"); break;
    case SQLITE_FULL: text = QStringLiteral("на диске нет места"); break;
    case SQLITE_READONLY: text = QStringLiteral("файл доступен только для чтения"); break;
    case SQLITE_CANTOPEN: text = QStringLiteral("файл не удаётся открыть"); break;
    case SQLITE_PERM:
    case SQLITE_AUTH: text = QStringLiteral("нет прав доступа к файлу"); break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: text = QStringLiteral("файл занят другой программой"); break;
    case SQLITE_IOERR: text = QStringLiteral("ошибка чтения или записи файла"); break;
    default: return detail;
    }
    // The engine's own words stay beside ours: they help whoever looks into the file.
    return QStringLiteral("%1 (%2)").arg(text, detail);
}

void Store::fail(const QString &what) const
{
    const QString file = inMemory() ? QStringLiteral("(в памяти)") : QDir::toNativeSeparators(m_filePath);
    throw KorvanError(QStringLiteral("Ошибка базы данных «%1»: %2").arg(file, what));
}

void Store::execPrepared(const QString &sql) { prepared(sql).run(); }

static QString savepointSql(const char *verb, int depth)
{
    // One text per depth, so each statement is prepared once.
    static QHash<QPair<const char *, int>, QString> texts;
    auto it = texts.find({verb, depth});
    if (it == texts.end())
        it = texts.insert({verb, depth}, QStringLiteral("%1 sp%2").arg(QLatin1String(verb)).arg(depth));
    return *it;
}

void Store::begin()
{
    if (m_depth == 0)
        execPrepared(QStringLiteral("BEGIN IMMEDIATE"));
    else
        execPrepared(savepointSql("SAVEPOINT", m_depth));
    ++m_depth;
}

void Store::commit()
{
    Q_ASSERT(m_depth > 0);
    if (m_brokenDepth >= m_depth) {
        if (m_depth == 1) // the depth stays: the caller's guard rolls back
            throw KorvanError(QStringLiteral("Запись строки таблицы не удалась: все изменения команды отменены."));
        m_brokenDepth = m_depth - 1; // the savepoint's writes now belong to the enclosing one
    }
    if (m_depth == 1) {
        // On failure the depth stays: the caller's guard rolls back.
        execPrepared(QStringLiteral("COMMIT"));
    } else {
        execPrepared(savepointSql("RELEASE", m_depth - 1));
    }
    if (--m_depth == 0)
        for (TTable *cursor : std::as_const(m_cursors))
            cursor->flushSignals();
}

void Store::rollback()
{
    Q_ASSERT(m_depth > 0);
    if (m_brokenDepth >= m_depth)
        m_brokenDepth = 0; // undone with this savepoint or transaction
    --m_depth;
    // Errors are of no use here: a transaction SQLite has already undone is just as undone.
    const auto quiet = [this](const QString &sql) { sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr); };
    if (m_depth == 0) {
        quiet(QStringLiteral("ROLLBACK"));
    } else {
        quiet(QStringLiteral("ROLLBACK TO sp%1").arg(m_depth));
        quiet(QStringLiteral("RELEASE sp%1").arg(m_depth));
    }
    // What the cursors hold may no longer be in the file: every one re-reads its rows.
    advanceEpoch();
    for (TTable *cursor : std::as_const(m_cursors))
        cursor->afterRollback();
    if (m_depth == 0)
        for (TTable *cursor : std::as_const(m_cursors))
            cursor->flushSignals();
}

Store::RowWrite Store::beginRow()
{
    RowWrite row;
    row.ownTransaction = m_depth == 0;
    if (row.ownTransaction)
        begin();
    else
        row.changesBefore = sqlite3_total_changes64(m_db);
    return row;
}

void Store::commitRow(const RowWrite &row)
{
    if (row.ownTransaction)
        commit();
}

void Store::rollbackRow(const RowWrite &row)
{
    if (row.ownTransaction) {
        rollback();
        return;
    }
    if (sqlite3_total_changes64(m_db) == row.changesBefore)
        return; // nothing was written
    if (m_brokenDepth == 0)
        m_brokenDepth = m_depth;
    // The cursors re-read what the file holds until the command is undone.
    advanceEpoch();
    for (TTable *cursor : std::as_const(m_cursors))
        cursor->afterRollback();
}

void Store::rowWritten(const TTable *writer, const QVector<QVariant> &row)
{
    advanceEpoch();
    for (TTable *cursor : std::as_const(m_cursors))
        if (cursor != writer && &cursor->def() == &writer->def())
            cursor->otherCursorWrote(row);
}

QList<TTable *> Store::cursorsOn(const TableDef *table) const
{
    QList<TTable *> out;
    for (TTable *c : m_cursors)
        if (&c->def() == table)
            out << c;
    return out;
}

void Store::registerCursor(TTable *cursor) { m_cursors.append(cursor); }
void Store::unregisterCursor(TTable *cursor) { m_cursors.removeOne(cursor); }

} // namespace korvan
