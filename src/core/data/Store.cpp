#include "core/data/Store.h"
#include "core/data/Fields.h"

#include "core/data/AnalysisInputs.h"
#include "core/data/EconomicsTables.h"
#include "core/data/ReportFrontTables.h"
#include "core/data/PgEngine.h"
#include "core/data/ProjectResults.h"
#include "core/data/ResonanceTables.h"
#include "core/data/Schema.h"
#include "core/data/Seeder.h"
#include "core/data/SqliteEngine.h"
#include "core/data/TTable.h"
#include "core/Messages.h"
#include "core/Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSysInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

#include "core/data/Statement.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    m_engine.reset();
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString Store::defaultDataDirectory() { return dataDirectoryFor(QCoreApplication::applicationDirPath()); }

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

bool Store::isServerAddress(const QString &location)
{
    // A URI in any case of its scheme, or libpq's own "host=... dbname=..." form, told by its
    // first keyword: no folder name starts like that by chance.
    static const QRegularExpression server(
        QStringLiteral("^(?:postgres(?:ql)?://|\\s*(?:host|hostaddr|port|dbname|user|password|passfile|service|"
                       "sslmode|sslrootcert|sslcert|sslkey|connect_timeout|application_name|options|"
                       "target_session_attrs|require_auth|gssencmode|channel_binding)\\s*=)"),
        QRegularExpression::CaseInsensitiveOption);
    return server.match(location).hasMatch();
}

QString Store::shownLocation(const QString &location)
{
    return isServerAddress(location) || hasScheme(location) ? PgEngine::shownAddress(location) : location;
}

bool Store::hasScheme(const QString &location)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return scheme.match(location).hasMatch();
}

bool Store::onServer() const { return m_engine && m_engine->server(); }

QString Store::identity() const { return m_engine->identity(); }

QString Store::place() const { return m_engine ? m_engine->place() : m_filePath; }

std::unique_ptr<Store> Store::open(const QString &location, Access access)
{
    std::unique_ptr<Store> store(new Store);
    if (isServerAddress(location)) {
        store->m_engine = std::make_unique<PgEngine>(location);
        store->prepareSchema(true);
        return store;
    }
    // An address of something else would otherwise become a new folder of that name.
    if (hasScheme(location))
        throw KorvanError(QStringLiteral("«%1» не является ни каталогом данных, ни адресом сервера PostgreSQL "
                                         "(postgresql://пользователь@сервер/база или host=сервер dbname=база).")
                              .arg(PgEngine::shownAddress(location)));
    const QString &dataDirectory = location;
    const QString dir = QDir(dataDirectory).absolutePath();
    store->m_directory = dir;
    store->m_filePath = dir + QLatin1Char('/') + QLatin1String(FileName);
    if (access == Access::ReadOnly) {
        if (!QFileInfo::exists(store->m_filePath))
            throw KorvanError(QStringLiteral("В каталоге данных «%1» нет файла данных «%2».")
                                  .arg(QDir::toNativeSeparators(dir), QLatin1String(FileName)));
        if (QFileInfo(store->m_filePath).size() == 0)
            throw KorvanError(QStringLiteral("Файл данных «%1» пуст: хранилище в нем еще не создано.")
                                  .arg(QDir::toNativeSeparators(store->m_filePath)));
        store->m_readOnly = true;
        store->m_engine = std::make_unique<SqliteEngine>(store->m_filePath, true);
        store->prepareSchema(false);
        return store;
    }
    if (!QDir().mkpath(dir))
        throw KorvanError(QStringLiteral("Не удалось создать каталог данных «%1».").arg(QDir::toNativeSeparators(dir)));
    if (!writableDirectory(dir))
        throw KorvanError(
            QStringLiteral("Каталог данных «%1» недоступен для записи.").arg(QDir::toNativeSeparators(dir)));
    store->lockDirectory();

    const QFileInfo info(store->m_filePath);
    if (info.exists() && !info.isWritable())
        throw KorvanError(
            QStringLiteral("Файл данных «%1» недоступен для записи.").arg(QDir::toNativeSeparators(store->m_filePath)));
    auto engine = std::make_unique<SqliteEngine>(store->m_filePath, false);
    SqliteEngine &sqlite = *engine;
    store->m_engine = std::move(engine);
    store->prepareSchema(true);
    sqlite.configure();
    return store;
}

void Store::lockDirectory()
{
    // The lock is the system's lock on the file, not the file's contents: whatever a crash or a
    // power loss left in it, a lock whose holder is gone is free. The contents only say who holds it.
    const QString path = m_directory + QLatin1Char('/') + QLatin1String(LockFileName);
    const QString shown = QDir::toNativeSeparators(path);
    // Anyone who can write into a shared folder could put a link or a pipe there under the lock's
    // name: the lock is never followed through a link, and only a regular file of this user is
    // taken (it is written to).
    m_lockFd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (m_lockFd < 0) {
        const int error = errno;
        if (error == ELOOP)
            throw KorvanError(QStringLiteral("Файл блокировки «%1» является символической ссылкой: программа по ней не "
                                             "пойдет и ничего не запишет. Удалите ссылку и повторите запуск.")
                                  .arg(shown));
        throw KorvanError(QStringLiteral("Не удалось открыть файл блокировки «%1»: %2.")
                              .arg(shown, QString::fromLocal8Bit(std::strerror(error))));
    }
    struct stat info {};
    QString wrong;
    if (::fstat(m_lockFd, &info) != 0)
        wrong = QString::fromLocal8Bit(std::strerror(errno));
    else if (!S_ISREG(info.st_mode))
        wrong = QStringLiteral("это не обычный файл");
    else if (info.st_uid != ::geteuid())
        wrong = QStringLiteral("файл принадлежит другому пользователю");
    if (!wrong.isEmpty()) {
        ::close(m_lockFd);
        m_lockFd = -1;
        throw KorvanError(
            QStringLiteral("Файл блокировки «%1» не подходит: %2. Удалите его и повторите запуск.").arg(shown, wrong));
    }
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
    store->m_engine = std::make_unique<SqliteEngine>(QString(), false);
    store->prepareSchema(true);
    return store;
}

void Store::prepareSchema(bool allowCreate)
{
    if (m_engine->server()) {
        // Several programs may meet an empty database at once: one creates, the others wait and
        // then find its tables.
        Transaction tx(*this);
        m_engine->lockSchema();
        prepareSchemaLocked(allowCreate);
        tx.commit();
    } else {
        prepareSchemaLocked(allowCreate);
    }
}

void Store::prepareSchemaLocked(bool allowCreate)
{
    const int version = m_engine->schemaVersion();
    const int tableCount = m_engine->tableCount();

    if (version == 0 && tableCount == 0 && allowCreate) {
        createSchema();
        return;
    }
    if (version == 0)
        throw KorvanError(m_engine->server()
                              ? QStringLiteral("База данных на сервере «%1» не является базой данных программы: в ней "
                                               "другие таблицы. %2")
                                    .arg(m_engine->place(), m_engine->leftUntouchedText())
                              : QStringLiteral("Файл «%1» не является базой данных программы: в нём другие таблицы. %2")
                                    .arg(QDir::toNativeSeparators(m_filePath), m_engine->leftUntouchedText()));
    if (version > SchemaVersion)
        throw KorvanError(QStringLiteral("База данных %1 создана более новой версией программы "
                                         "(формат %2, эта версия понимает формат %3). %4")
                              .arg(m_engine->placeText(), QString::number(version), QString::number(SchemaVersion),
                                   m_engine->leftUntouchedText()));
    // The tables of the first format come first: a migration builds on them and never changes them,
    // and a file that is not ours must be refused before anything is written to it.
    verifySchema();
    if (version < SchemaVersion)
        migrate(version);
}

namespace {

// The analysis rows belong to their project: they go with it, and those of projects deleted
// before this rule are gone too.
void tieAnalysisRowsToProjects(Store &store)
{
    store.exec(QStringLiteral("DELETE FROM \"sel_ku.DB\" WHERE \"Kod0\" IS NULL OR \"Kod0\" NOT IN "
                              "(SELECT \"Kod\" FROM \"project0.db\")"));
    store.engine().createDeleteTrigger(QStringLiteral("sel_ku.DB:project"), QStringLiteral("project0.db"),
                                       QStringLiteral("Kod"), QStringLiteral("sel_ku.DB"), QStringLiteral("Kod0"));
    // A change of a catalogue type finds its variants and analysis rows by these.
    store.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS \"project2.db:KodKU1\" ON \"project2.db\" (\"KodKU1\")"));
    store.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS \"sel_ku.DB:KodKU1\" ON \"sel_ku.DB\" (\"KodKU1\")"));
}

} // namespace

void Store::createSchema()
{
    Transaction tx(*this);
    for (const TableDef *t : allTables()) {
        QStringList columns;
        for (const FieldDef &f : t->fields)
            columns << quoted(QLatin1String(f.name)) + QLatin1Char(' ') + m_engine->columnType(f);
        exec(QStringLiteral("CREATE TABLE %1 (%2)")
                 .arg(quoted(QLatin1String(t->name)), columns.join(QStringLiteral(", "))));
        for (const IndexDef &ix : t->indexes) {
            if (ix.parts.size() == 1 && QLatin1String(ix.parts[0].field) == fld::Kod)
                continue; // the primary key is its own index
            QStringList parts;
            for (const IndexPart &p : ix.parts)
                parts << quoted(QLatin1String(p.field)) + (p.descending ? QStringLiteral(" DESC") : QString());
            // Index names are global in both engines; the table's name keeps them apart.
            exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                     .arg(quoted(QLatin1String(t->name) + QLatin1Char(':') + QLatin1String(ix.name)),
                          quoted(QLatin1String(t->name)), parts.join(QStringLiteral(", "))));
        }
    }
    resonance_tables::create(*this);
    Seeder(*this).seedAll();
    createEconomicsTables(*this);
    createAnalysisInputTable(*this);
    tieAnalysisRowsToProjects(*this);
    createReportFrontTables(*this);
    m_engine->setSchemaVersion(SchemaVersion);
    tx.commit();
}

void Store::verifySchema()
{
    for (const TableDef *t : allTables()) {
        const QStringList found = m_engine->columnsOf(QLatin1String(t->name));
        QStringList expected;
        for (const FieldDef &f : t->fields)
            expected << QLatin1String(f.name) + QLatin1Char(' ') + m_engine->reportedType(f);
        if (found != expected)
            throw KorvanError(
                QStringLiteral("Таблица «%1» в %2 «%3» не соответствует программе%4. %5")
                    .arg(QLatin1String(t->name),
                         m_engine->server() ? QStringLiteral("базе данных на сервере") : QStringLiteral("файле"),
                         QDir::toNativeSeparators(m_engine->place()),
                         found.isEmpty() ? QStringLiteral(" (таблица отсутствует)") : QString(),
                         m_engine->leftUntouchedText()));
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
        case 3:
            // The losses in the modules became an energy (they grew with the number of periods
            // before), and results no longer wait for a recalculation: every stored project is
            // brought in line with the rules once.
            createAnalysisInputTable(*this);
            tieAnalysisRowsToProjects(*this);
            refreshAllProjectResults(*this);
            break;
        case 4:
            createReportFrontTables(*this);
            break;
        default:
            throw KorvanError(QStringLiteral("Неизвестный формат базы данных %1 (версия %2).")
                                  .arg(m_engine->placeText(), QString::number(v)));
        }
        m_engine->setSchemaVersion(v + 1);
        tx.commit();
    }
}

Statement &Store::prepared(const QString &sql)
{
    auto it = m_statements.find(sql);
    if (it != m_statements.end())
        return *it->second;
    auto statement = m_engine->prepare(sql);
    return *m_statements.emplace(sql, std::move(statement)).first->second;
}

void Store::exec(const QString &sql) { m_engine->exec(sql); }

QVariant Store::scalar(const QString &sql)
{
    const std::unique_ptr<Statement> q = m_engine->prepare(sql);
    QVariant out = q->next() ? q->column(0) : QVariant();
    q->reset();
    return out;
}

qint64 Store::lastInsertId() const { return m_engine->lastInsertId(); }

void Store::lockProject(qint64 kod) { m_engine->lockProject(kod); }

void Store::fail(const QString &what) const { m_engine->fail(what); }

void Store::execPrepared(const QString &sql) { prepared(sql).run(); }

void Store::writeAhead(const QString &sql) { prepared(sql).write(); }

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
    if (m_depth == 0) {
        execPrepared(m_engine->beginSql());
        m_engine->transactionStarted();
    } else
        writeAhead(savepointSql("SAVEPOINT", m_depth));
    ++m_depth;
}

void Store::beginReading()
{
    if (m_depth > 0) {
        begin();
        return;
    }
    execPrepared(m_engine->readingSql());
    m_engine->transactionStarted();
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
        m_engine->beforeCommit();
        execPrepared(QStringLiteral("COMMIT"));
        m_engine->transactionEnded();
    } else {
        writeAhead(savepointSql("RELEASE", m_depth - 1));
    }
    if (--m_depth == 0) {
        ++m_changes;
        m_remembered.clear();
        for (TTable *cursor : std::as_const(m_cursors))
            cursor->flushSignals();
    }
}

void Store::rollback()
{
    Q_ASSERT(m_depth > 0);
    if (m_brokenDepth >= m_depth)
        m_brokenDepth = 0; // undone with this savepoint or transaction
    --m_depth;
    // Errors are of no use here: a transaction the engine has already undone is just as undone.
    const auto quiet = [this](const QString &sql) { m_engine->execQuietly(sql); };
    m_remembered.clear(); // what was read inside may have been written and undone
    if (m_depth == 0) {
        ++m_changes;
        quiet(QStringLiteral("ROLLBACK"));
        m_engine->transactionEnded();
    } else {
        // What was sent before the savepoint still has to be checked; a failure among it is kept
        // for the commit to refuse.
        m_engine->settleAnswers();
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
        row.changesBefore = m_engine->changeCount();
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
    if (m_engine->changeCount() == row.changesBefore)
        return; // nothing was written
    if (m_brokenDepth == 0)
        m_brokenDepth = m_depth;
    // The cursors re-read what the file holds until the command is undone.
    advanceEpoch();
    for (TTable *cursor : std::as_const(m_cursors))
        cursor->afterRollback();
}

void Store::rowWritten(const TTable *writer, const QVector<QVariant> &row, bool newRow)
{
    advanceEpoch();
    for (TTable *cursor : std::as_const(m_cursors))
        if (cursor != writer && &cursor->def() == &writer->def())
            cursor->otherCursorWrote(row, newRow);
}

bool Store::pollChanges()
{
    // Never in the middle of a command: what it reads stays what it began with.
    if (m_depth > 0)
        return false;
    const Engine::Changes changes = m_engine->takeChanges();
    if (!changes.any())
        return false;
    ++m_changes;
    advanceEpoch();
    for (TTable *cursor : std::as_const(m_cursors))
        if (changes.everything || changes.tables.contains(cursor->tableName()))
            cursor->changedElsewhere();
    return true;
}

const std::any *Store::remembered(const QString &table, qint64 kod) const
{
    const auto t = m_remembered.constFind(table);
    if (t == m_remembered.constEnd())
        return nullptr;
    const auto v = t->constFind(kod);
    return v == t->constEnd() ? nullptr : &*v;
}

void Store::remember(const QString &table, qint64 kod, std::any value)
{
    if (m_depth > 0)
        m_remembered[table].insert(kod, std::move(value));
}

void Store::forgetRemembered(const QString &table) { m_remembered.remove(table); }

QList<TTable *> Store::cursorsOn(const TableDef *table) const
{
    QList<TTable *> out;
    for (TTable *c : m_cursors)
        if (&c->def() == table)
            out << c;
    return out;
}

void Store::registerCursor(TTable *cursor) { m_cursors.append(cursor); }
void Store::unregisterCursor(TTable *cursor)
{
    m_cursors.removeOne(cursor);
    m_engine->forgetAnswers(cursor);
}

} // namespace korvan
