#include "core/data/SqliteEngine.h"

#include "core/data/Schema.h"
#include "core/data/Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QUrl>

#include <sqlite3.h>
#include <sys/stat.h>

namespace korvan {

namespace {

class SqliteStatement : public Statement {
public:
    SqliteStatement(SqliteEngine &engine, sqlite3 *db, const QString &sql) : m_engine(engine), m_db(db)
    {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v3(db, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) !=
            SQLITE_OK)
            m_engine.fail(m_engine.errorText());
    }
    ~SqliteStatement() override { sqlite3_finalize(m_stmt); }

    void reset() override
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        m_active = false;
    }

    void bind(int index, const QVariant &value) override
    {
        if (m_active)
            reset();
        const int i = index + 1;
        int rc = SQLITE_OK;
        // Numbers first and straight from the variant: a command binds a few million of them.
        const int type = value.typeId();
        if (type == QMetaType::Double) {
            rc = sqlite3_bind_double(m_stmt, i, *static_cast<const double *>(value.constData()));
        } else if (type == QMetaType::LongLong) {
            rc = sqlite3_bind_int64(m_stmt, i, *static_cast<const qlonglong *>(value.constData()));
        } else if (!value.isValid() || value.isNull()) {
            rc = sqlite3_bind_null(m_stmt, i);
        } else {
            switch (value.typeId()) {
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(m_stmt, i, value.toDouble());
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Bool:
                rc = sqlite3_bind_int64(m_stmt, i, value.toLongLong());
                break;
            default: {
                const QByteArray text = value.toString().toUtf8();
                rc = sqlite3_bind_text(m_stmt, i, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            }
            }
        }
        if (rc != SQLITE_OK)
            m_engine.fail(m_engine.errorText());
    }

    bool next() override
    {
        m_active = true;
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE) {
            reset();
            return false;
        }
        const QString error = m_engine.errorText();
        reset();
        m_engine.fail(error);
    }

    int columnCount() const override { return sqlite3_column_count(m_stmt); }

    QVariant column(int index) const override
    {
        switch (sqlite3_column_type(m_stmt, index)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return QVariant(qint64(sqlite3_column_int64(m_stmt, index)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(m_stmt, index));
        default: {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, index));
            return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, index));
        }
        }
    }

private:
    SqliteEngine &m_engine;
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    bool m_active = false;
};

QString quoted(const QString &name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

} // namespace

SqliteEngine::SqliteEngine(const QString &filePath, bool readOnly) : m_filePath(filePath)
{
    const QString databaseName = filePath.isEmpty() ? QStringLiteral(":memory:") : filePath;
    QByteArray name = databaseName.toUtf8();
    int flags = SQLITE_OPEN_NOMUTEX;
    if (readOnly) {
        // A directory nobody can write to holds a file nobody changes: the engine need not look
        // for other writers (it could not create its shared-memory file there anyway). Unless a
        // write-ahead log lies beside it: a writer that died after its commit, or a copy taken while
        // the program had the store open, keeps its last commands there, and reading without it
        // would show the state before them.
        const bool frozen = !QFileInfo(QFileInfo(databaseName).absolutePath()).isWritable();
        m_pendingLog = QFileInfo(databaseName + QStringLiteral("-wal")).size() > 0;
        name = QUrl::fromLocalFile(databaseName).toEncoded() + (frozen && !m_pendingLog ? "?immutable=1" : "?mode=ro");
        flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
    } else {
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    }
    // Before the library's first use: no statistics of its memory, which would take a lock around
    // every allocation of every statement run (the program's own allocator counts nothing either).
    static const bool configured = [] { return sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK; }();
    Q_UNUSED(configured);
    if (sqlite3_open_v2(name.constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        const QString error = errorText();
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        fail(error);
    }
    // A file that is not a database shows itself at the first read.
    if (sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const int code = sqlite3_extended_errcode(m_db) & 0xff;
        const QString shown = QDir::toNativeSeparators(databaseName);
        const QString error = errorText();
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        if (readOnly && m_pendingLog && code != SQLITE_NOTADB)
            throw KorvanError(QStringLiteral("Не удалось прочитать файл «%1» вместе с его журналом «%2»: %3. В журнале "
                                             "последние изменения, которые еще не перенесены в файл, и без него "
                                             "данные были бы устаревшими. Откройте каталог данных с правом записи "
                                             "(журнал будет перенесен в файл) и повторите.")
                                  .arg(shown, QDir::toNativeSeparators(databaseName + QStringLiteral("-wal")), error));
        if (code == SQLITE_NOTADB)
            throw KorvanError(QStringLiteral("Файл «%1» не является базой данных программы (%2). "
                                             "Файл оставлен без изменений.")
                                  .arg(shown, error));
        // Anything else is about the disk or the file's access, not about what is in it.
        const QStorageInfo disk(QFileInfo(databaseName).absolutePath());
        if (code == SQLITE_FULL || (disk.isValid() && disk.bytesAvailable() < 1024 * 1024))
            throw KorvanError(QStringLiteral("На диске с файлом «%1» нет места (свободно %2 байт). "
                                             "Освободите место и повторите. Файл оставлен без изменений.")
                                  .arg(shown, QString::number(disk.bytesAvailable())));
        throw KorvanError(QStringLiteral("Не удалось прочитать файл «%1»: %2").arg(shown, error));
    }
}

SqliteEngine::~SqliteEngine() { sqlite3_close_v2(m_db); }

void SqliteEngine::configure()
{
    // Only once the file is known to be ours: switching the journal rewrites its header.
    if (!m_filePath.isEmpty()) {
        exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        exec(QStringLiteral("PRAGMA synchronous=FULL"));
        // A whole command's pages stay in memory until its one commit.
        exec(QStringLiteral("PRAGMA cache_size=-65536"));
    }
}

QString SqliteEngine::placeText() const
{
    return QStringLiteral("«%1»").arg(m_filePath.isEmpty() ? QStringLiteral("(в памяти)")
                                                           : QDir::toNativeSeparators(m_filePath));
}

QString SqliteEngine::identity()
{
    struct stat info {};
    if (m_filePath.isEmpty() || ::stat(QFile::encodeName(m_filePath).constData(), &info) != 0)
        return QStringLiteral("sqlite:%1").arg(quintptr(m_db));
    return QStringLiteral("sqlite:%1:%2").arg(quint64(info.st_dev)).arg(quint64(info.st_ino));
}

std::unique_ptr<Statement> SqliteEngine::prepare(const QString &sql)
{
    return std::make_unique<SqliteStatement>(*this, m_db, sql);
}

void SqliteEngine::exec(const QString &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString text = QString::fromUtf8(error);
        sqlite3_free(error);
        fail(text);
    }
}

void SqliteEngine::execQuietly(const QString &sql)
{
    sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
}

qint64 SqliteEngine::lastInsertId() { return sqlite3_last_insert_rowid(m_db); }

qint64 SqliteEngine::changeCount() { return sqlite3_total_changes64(m_db); }

QString SqliteEngine::columnType(const FieldDef &field) const { return sqlType(field); }

QString SqliteEngine::reportedType(const FieldDef &field) const
{
    return field.type == FieldType::AutoInc ? QStringLiteral("INTEGER") : sqlType(field);
}

QString SqliteEngine::valueType(Value kind) const
{
    switch (kind) {
    case Value::Real:
        return QStringLiteral("REAL");
    case Value::Integer:
        return QStringLiteral("INTEGER");
    case Value::Text:
        return QStringLiteral("TEXT");
    }
    return {};
}

QStringList SqliteEngine::columnsOf(const QString &table)
{
    SqliteStatement q(*this, m_db, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)));
    QStringList found;
    while (q.next())
        found << q.column(1).toString() + QLatin1Char(' ') + q.column(2).toString();
    return found;
}

int SqliteEngine::tableCount()
{
    SqliteStatement q(*this, m_db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table'"));
    const int n = q.next() ? q.column(0).toInt() : 0;
    q.reset();
    return n;
}

int SqliteEngine::schemaVersion()
{
    SqliteStatement q(*this, m_db, QStringLiteral("PRAGMA user_version"));
    const int n = q.next() ? q.column(0).toInt() : 0;
    q.reset();
    return n;
}

void SqliteEngine::setSchemaVersion(int version) { exec(QStringLiteral("PRAGMA user_version=%1").arg(version)); }

void SqliteEngine::createDeleteTrigger(const QString &name, const QString &owner, const QString &ownerKey,
                                       const QString &table, const QString &column)
{
    exec(QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON %2 BEGIN DELETE FROM %3 WHERE %4=OLD.%5; END")
             .arg(quoted(name), quoted(owner), quoted(table), quoted(column), quoted(ownerKey)));
}

QString SqliteEngine::errorText() const
{
    const QString detail = QString::fromUtf8(sqlite3_errmsg(m_db));
    QString text;
    switch (sqlite3_extended_errcode(m_db) & 0xff) {
    case SQLITE_NOTADB:
        text = QStringLiteral("файл не является базой данных");
        break;
    case SQLITE_CORRUPT:
        text = QStringLiteral("файл базы данных повреждён");
        break;
    case SQLITE_FULL:
        text = QStringLiteral("на диске нет места");
        break;
    case SQLITE_READONLY:
        text = QStringLiteral("файл доступен только для чтения");
        break;
    case SQLITE_CANTOPEN:
        text = QStringLiteral("файл не удаётся открыть");
        break;
    case SQLITE_PERM:
    case SQLITE_AUTH:
        text = QStringLiteral("нет прав доступа к файлу");
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        text = QStringLiteral("файл занят другой программой");
        break;
    case SQLITE_IOERR:
        text = QStringLiteral("ошибка чтения или записи файла");
        break;
    default:
        return detail;
    }
    // The engine's own words stay beside ours: they help whoever looks into the file.
    return QStringLiteral("%1 (%2)").arg(text, detail);
}

} // namespace korvan
