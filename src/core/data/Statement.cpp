#include "Statement.h"

#include "Store.h"

#include <sqlite3.h>

namespace korvan {

Statement::Statement(Store &store, sqlite3 *db, const QString &sql) : m_store(store), m_db(db)
{
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v3(db, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) != SQLITE_OK)
        m_store.fail(Store::engineError(db));
}

Statement::~Statement() { sqlite3_finalize(m_stmt); }

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    m_active = false;
}

void Statement::bind(int index, const QVariant &value)
{
    if (m_active)
        reset();
    const int i = index + 1;
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
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
        m_store.fail(Store::engineError(m_db));
}

bool Statement::next()
{
    m_active = true;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE) {
        reset();
        return false;
    }
    const QString error = Store::engineError(m_db);
    reset();
    m_store.fail(error);
}

void Statement::run()
{
    while (next()) {
    }
}

int Statement::columnCount() const { return sqlite3_column_count(m_stmt); }

QVariant Statement::column(int index) const
{
    switch (sqlite3_column_type(m_stmt, index)) {
    case SQLITE_NULL: return {};
    case SQLITE_INTEGER: return QVariant(qint64(sqlite3_column_int64(m_stmt, index)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(m_stmt, index));
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, index));
        return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, index));
    }
    }
}

} // namespace korvan
